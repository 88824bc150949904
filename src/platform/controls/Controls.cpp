#include "Controls.h"

#include "error/Error.h"
#include "hosting/ErrorReport.h"

#include <QKeyEvent>
#include <QRegularExpressionValidator>
#include <QToolTip>

namespace bryx {

TextBox::TextBox(QWidget* parent)
    : QLineEdit(parent)
{
    connect(this, &QLineEdit::textChanged, this, [this] { runHandler("Change", [this] { emit Change(); }); });
}

void TextBox::SetDigitsOnly(const QString& why)
{
    static const QRegularExpression digits(QStringLiteral("[0-9]*"));
    setValidator(new QRegularExpressionValidator(digits, this));
    connect(this, &QLineEdit::inputRejected, this,
            [this, why] { QToolTip::showText(mapToGlobal(QPoint(0, height())), why, this); });
}

void TextBox::keyPressEvent(QKeyEvent* event)
{
    const QString text = event->text();
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    // Only keys that type a character (or Backspace and Enter) go through the filter, as
    // key-press handlers have always seen them; navigation and shortcuts such as Ctrl+V pass
    // unfiltered.
    const bool typing = enter || event->key() == Qt::Key_Backspace
        || (text.size() == 1 && text.at(0).isPrint()
            && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)));
    if (typing) {
        int keyAscii = enter                    ? KeyAscii::Enter
            : event->key() == Qt::Key_Backspace ? KeyAscii::Backspace
                                                : text.at(0).unicode();
        runHandler("KeyPress", [&] { emit KeyPress(keyAscii); });
        if (keyAscii == KeyAscii::Discard) {
            event->accept();
            return;
        }
    }
    QLineEdit::keyPressEvent(event);
}

ComboBox::ComboBox(QWidget* parent)
    : QComboBox(parent)
{
    setEditable(false);
    connect(this, &QComboBox::activated, this,
            [this](int) { runHandler("Click", [this] { emit Click(); }); });
}

void ComboBox::SetListIndex(int index)
{
    if (index < -1 || index >= count())
        throw Error(
            ErrorNumber::InvalidPropertyValue,
            QStringLiteral("Invalid property value: list index %1 of a list of %2").arg(index).arg(count()));
    setCurrentIndex(index);
}

void ComboBox::Clear()
{
    clear();
    setCurrentIndex(-1);
}

void ComboBox::AddItem(const QString& item)
{
    const int chosen = currentIndex();
    addItem(item);
    setCurrentIndex(chosen); // adding chooses nothing
}

OptionButton::OptionButton(const QString& caption, int index, QWidget* parent)
    : QRadioButton(caption, parent)
    , m_index(index)
{
    connect(this, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            runHandler("Click", [this] { emit Click(m_index); });
    });
}

ListBox::ListBox(QWidget* parent)
    : QListWidget(parent)
{
    setSelectionMode(QAbstractItemView::SingleSelection);
    connect(this, &QListWidget::currentRowChanged, this,
            [this] { runHandler("Click", [this] { emit Click(); }); });
    connect(this, &QListWidget::itemDoubleClicked, this,
            [this] { runHandler("DblClick", [this] { emit DblClick(); }); });
}

void ListBox::SetListIndex(int index)
{
    setCurrentRow(index);
    if (index < 0)
        clearSelection();
}

TabControl::TabControl(QWidget* parent)
    : QTabWidget(parent)
{
    connect(this, &QTabWidget::currentChanged, this, [this](int shown) {
        const int previous = m_shown;
        m_shown = shown;
        runHandler("Click", [&] { emit Click(previous); });
    });
}

MenuItem::MenuItem(const QString& name, const QString& caption, QObject* parent)
    : QAction(caption, parent)
{
    setObjectName(name);
}

} // namespace bryx
