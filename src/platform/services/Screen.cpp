#include "Screen.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QKeyEvent>
#include <QUrl>
#include <QWidget>

namespace bryx {

namespace {

std::unique_ptr<DesktopServices>& installed()
{
    static std::unique_ptr<DesktopServices> services;
    return services;
}

struct KeyStroke {
    int key;
    Qt::KeyboardModifiers modifiers;
};

// "^C" is Ctrl+C, "+x" Shift+x, "%x" Alt+x, "{F1}" a named key; other characters stand for
// themselves.
QList<KeyStroke> parseKeys(const QString& keys)
{
    QList<KeyStroke> strokes;
    Qt::KeyboardModifiers modifiers;
    for (qsizetype i = 0; i < keys.size(); ++i) {
        const QChar c = keys.at(i);
        if (c == QLatin1Char('^')) {
            modifiers |= Qt::ControlModifier;
            continue;
        }
        if (c == QLatin1Char('+')) {
            modifiers |= Qt::ShiftModifier;
            continue;
        }
        if (c == QLatin1Char('%')) {
            modifiers |= Qt::AltModifier;
            continue;
        }
        int key = c.toUpper().unicode();
        if (c == QLatin1Char('{')) {
            const qsizetype close = keys.indexOf(QLatin1Char('}'), i);
            const QString name = keys.mid(i + 1, close - i - 1).toUpper();
            i = close;
            if (name.startsWith(QLatin1Char('F')) && name.size() > 1)
                key = Qt::Key_F1 + name.mid(1).toInt() - 1;
            else if (name == QLatin1String("ENTER"))
                key = Qt::Key_Return;
            else if (name == QLatin1String("ESC"))
                key = Qt::Key_Escape;
            else if (name == QLatin1String("TAB"))
                key = Qt::Key_Tab;
            else if (name == QLatin1String("DEL") || name == QLatin1String("DELETE"))
                key = Qt::Key_Delete;
        }
        strokes << KeyStroke {key, modifiers};
        modifiers = {};
    }
    return strokes;
}

} // namespace

DesktopServices& DesktopServices::current()
{
    static QtDesktopServices builtIn;
    return installed() ? *installed() : builtIn;
}

std::unique_ptr<DesktopServices> DesktopServices::install(std::unique_ptr<DesktopServices> services)
{
    auto previous = std::move(installed());
    installed() = std::move(services);
    return previous;
}

void QtDesktopServices::setMousePointer(int pointer)
{
    if (pointer == m_pointer)
        return;
    if (m_pointer != MousePointer::Default)
        QApplication::restoreOverrideCursor();
    if (pointer == MousePointer::Hourglass)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    m_pointer = pointer;
}

void QtDesktopServices::doEvents()
{
    QApplication::processEvents();
}

void QtDesktopServices::sendKeys(const QString& keys)
{
    QWidget* target = QApplication::focusWidget();
    if (!target)
        return;
    for (const KeyStroke& stroke : parseKeys(keys)) {
        const QString text = stroke.modifiers & (Qt::ControlModifier | Qt::AltModifier) || stroke.key > 0xffff
            ? QString()
            : QString(QChar(stroke.key)).toLower();
        QKeyEvent press(QEvent::KeyPress, stroke.key, stroke.modifiers, text);
        QApplication::sendEvent(target, &press);
        QKeyEvent release(QEvent::KeyRelease, stroke.key, stroke.modifiers, text);
        QApplication::sendEvent(target, &release);
    }
}

void QtDesktopServices::showModal(QDialog& dialog)
{
    dialog.exec();
}

void QtDesktopServices::showHelp(const QString& helpFile, int context)
{
    QUrl url = QUrl::fromLocalFile(helpFile);
    if (context != 0)
        url.setFragment(QStringLiteral("topic-%1").arg(context));
    QDesktopServices::openUrl(url);
}

} // namespace bryx
