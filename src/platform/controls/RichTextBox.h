#pragma once

#include "ControlProperties.h"

#include <QPointer>
#include <QTextEdit>
#include <functional>

namespace bryx {

// The rich-text box of the application's forms: formatted text kept in a small HTML subset
// (see RichTextMarkup), so a stored "<i> </i>" shows as an italic blank. The user formats a
// selection with Ctrl+I, Ctrl+B and Ctrl+U; the clipboard commands carry plain text. In text
// mode the box holds plain text only. Validate runs when the box is about to lose the focus;
// a handler that sets cancel keeps the focus there.
class RichTextBox : public QTextEdit {
    Q_OBJECT
    BRYX_CONTROL_PROPERTIES
    Q_PROPERTY(QString Text READ Text WRITE SetText NOTIFY Change)
    Q_PROPERTY(QString PlainText READ PlainText WRITE SetPlainText)
    Q_PROPERTY(bool TextMode READ TextMode WRITE SetTextMode)
    Q_PROPERTY(bool MultiLine READ MultiLine WRITE SetMultiLine)
    Q_PROPERTY(bool Locked READ isReadOnly WRITE setReadOnly)
    Q_PROPERTY(QObject* ParentForm READ ParentForm WRITE SetParentForm)
public:
    explicit RichTextBox(QWidget* parent = nullptr);
    QString TypeName() const { return QStringLiteral("RichTextControl"); }

    QString Text() const;
    void SetText(const QString& markup);
    QString PlainText() const { return toPlainText(); }
    void SetPlainText(const QString& text);
    bool TextMode() const { return m_textMode; }
    void SetTextMode(bool plainOnly);
    bool MultiLine() const { return m_multiLine; }
    void SetMultiLine(bool multiLine);
    QObject* ParentForm() const { return m_parentForm; }
    void SetParentForm(QObject* form) { m_parentForm = form; }
    QString Tag() const { return m_tag; }
    void SetTag(const QString& tag) { m_tag = tag; }

    Q_INVOKABLE void DoCopy() { copy(); }
    Q_INVOKABLE void DoCut() { cut(); }
    Q_INVOKABLE void DoPaste() { paste(); }
    // The larger editor for this field: a modal form over the same text. OK writes the edited
    // text back (raising Change); Cancel leaves the box as it was. `field` names the field
    // being edited, shown in the editor's caption.
    Q_INVOKABLE void LaunchEditor(const QString& field);
    // Hands the text to the spelling checker connected to SpellCheckRequested, else to the
    // installed SpellingService; without either the user is told that none is installed.
    Q_INVOKABLE void CheckSpelling();

    // Toggles a style over the selection (or for what is typed next).
    void ToggleBold();
    void ToggleItalic();
    void ToggleUnderline();

signals:
    void Change();
    void Validate(bool& cancel);
    void SpellCheckRequested(bryx::RichTextBox* box);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void insertFromMimeData(const QMimeData* source) override;

private:
    void mergeFormat(const QTextCharFormat& format);
    void replaceContent(const std::function<void(QTextDocument&)>& fill);

    QString m_tag;
    QPointer<QObject> m_parentForm;
    bool m_textMode = false;
    bool m_multiLine = true;
    bool m_validating = false;
};

} // namespace bryx
