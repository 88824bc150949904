#include "RichTextBox.h"

#include "Form.h"
#include "RichTextMarkup.h"
#include "hosting/ErrorReport.h"
#include "services/MessageBox.h"
#include "services/Screen.h"
#include "services/SpellingService.h"

#include <QDialogButtonBox>
#include <QKeyEvent>
#include <QMetaMethod>
#include <QMimeData>
#include <QVBoxLayout>

namespace bryx {

RichTextBox::RichTextBox(QWidget* parent)
    : QTextEdit(parent)
{
    setAcceptRichText(false);
    setTabChangesFocus(true);
    connect(this, &QTextEdit::textChanged, this, [this] { runHandler("Change", [this] { emit Change(); }); });
}

QString RichTextBox::Text() const
{
    return m_textMode ? toPlainText() : RichTextMarkup::fromDocument(*document());
}

void RichTextBox::SetText(const QString& markup)
{
    if (m_textMode) {
        SetPlainText(markup);
        return;
    }
    replaceContent([&](QTextDocument& document) { RichTextMarkup::toDocument(markup, document); });
}

void RichTextBox::SetPlainText(const QString& text)
{
    replaceContent([&](QTextDocument& document) {
        document.clear();
        QTextCursor(&document).insertText(text, QTextCharFormat());
    });
}

void RichTextBox::replaceContent(const std::function<void(QTextDocument&)>& fill)
{
    {
        const QSignalBlocker quiet(document());
        fill(*document());
        // New text starts unformatted; QTextEdit would carry the old cursor's format over.
        setCurrentCharFormat(QTextCharFormat());
        moveCursor(QTextCursor::End);
    }
    // The document's own signal was held back so Change fires once for the whole assignment.
    emit textChanged();
}

void RichTextBox::SetTextMode(bool plainOnly)
{
    if (plainOnly && !m_textMode)
        SetPlainText(toPlainText());
    m_textMode = plainOnly;
}

void RichTextBox::SetMultiLine(bool multiLine)
{
    m_multiLine = multiLine;
    setLineWrapMode(multiLine ? QTextEdit::WidgetWidth : QTextEdit::NoWrap);
    setVerticalScrollBarPolicy(multiLine ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
}

void RichTextBox::LaunchEditor(const QString& field)
{
    Form editor(window());
    editor.SetCaption(field.isEmpty() ? tr("Text Editor") : tr("Text Editor - %1").arg(field));
    auto* text = new RichTextBox(&editor);
    text->setObjectName(QStringLiteral("ctrEditor"));
    text->SetTextMode(m_textMode);
    text->SetText(Text());
    text->setReadOnly(isReadOnly());
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &editor);
    auto* layout = new QVBoxLayout(&editor);
    layout->addWidget(text);
    layout->addWidget(buttons);
    bool accepted = false;
    connect(buttons, &QDialogButtonBox::accepted, &editor, [&] {
        accepted = true;
        editor.hide();
    });
    connect(buttons, &QDialogButtonBox::rejected, &editor, &QWidget::hide);
    editor.resize(640, 420);
    editor.ShowModal();
    if (accepted && !isReadOnly())
        SetText(text->Text());
}

void RichTextBox::CheckSpelling()
{
    if (isSignalConnected(QMetaMethod::fromSignal(&RichTextBox::SpellCheckRequested)))
        emit SpellCheckRequested(this);
    else if (SpellingService* checker = SpellingService::current())
        checker->checkSpelling(*this);
    else
        MsgBox(tr("No spelling checker is installed on this computer."), MsgBoxStyle::Information);
}

void RichTextBox::ToggleBold()
{
    QTextCharFormat format;
    format.setFontWeight(currentCharFormat().fontWeight() >= QFont::Bold ? QFont::Normal : QFont::Bold);
    mergeFormat(format);
}

void RichTextBox::ToggleItalic()
{
    QTextCharFormat format;
    format.setFontItalic(!currentCharFormat().fontItalic());
    mergeFormat(format);
}

void RichTextBox::ToggleUnderline()
{
    QTextCharFormat format;
    format.setFontUnderline(!currentCharFormat().fontUnderline());
    mergeFormat(format);
}

void RichTextBox::mergeFormat(const QTextCharFormat& format)
{
    if (m_textMode || isReadOnly())
        return;
    mergeCurrentCharFormat(format); // the selection, or what is typed next
}

void RichTextBox::keyPressEvent(QKeyEvent* event)
{
    if (event->modifiers() == Qt::ControlModifier) {
        switch (event->key()) {
        case Qt::Key_B:
            ToggleBold();
            return;
        case Qt::Key_I:
            ToggleItalic();
            return;
        case Qt::Key_U:
            ToggleUnderline();
            return;
        default:
            break;
        }
    }
    if (!m_multiLine && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)) {
        // A one-line box leaves Enter to the form (its default button).
        event->ignore();
        return;
    }
    QTextEdit::keyPressEvent(event);
}

void RichTextBox::focusOutEvent(QFocusEvent* event)
{
    if (!m_validating) {
        bool cancel = false;
        m_validating = true;
        runHandler("Validate", [&] { emit Validate(cancel); });
        m_validating = false;
        if (cancel) {
            setFocus(Qt::OtherFocusReason);
            return;
        }
    }
    QTextEdit::focusOutEvent(event);
}

void RichTextBox::insertFromMimeData(const QMimeData* source)
{
    // Pasted text takes the format at the cursor; a one-line box keeps one line.
    QString text = source->text();
    if (!m_multiLine)
        text.replace(QLatin1Char('\n'), QLatin1Char(' ')).remove(QLatin1Char('\r'));
    textCursor().insertText(text);
}

} // namespace bryx
