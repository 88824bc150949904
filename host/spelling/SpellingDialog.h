#pragma once

#include "controls/Form.h"

class QListWidget;
class QTextEdit;

namespace bryx {
class CommandButton;
class TextBox;
} // namespace bryx

namespace bryx::host {

// The spelling dialog ("Spelling"): the word not found, shown in its sentence, the
// suggestions, and what to do with it. One question per display; the answer is read after
// the dialog hides.
class SpellingDialog : public Form {
    Q_OBJECT
public:
    enum class Action { Ignore, IgnoreAll, Add, Change, ChangeAll, Cancel };

    explicit SpellingDialog(QWidget* parent = nullptr);

    // Asks about `word`, which starts at `wordStart` in `context`.
    Action ask(const QString& word, const QString& context, qsizetype wordStart,
               const QStringList& suggestions);
    // The text to put in the word's place after Change or Change All.
    QString replacement() const;

    QTextEdit* txtContext() const { return m_context; }
    QListWidget* lstSuggestions() const { return m_suggestions; }
    TextBox* txtChangeTo() const { return m_changeTo; }

private:
    void answer(Action action);

    Action m_action = Action::Cancel;
    QTextEdit* m_context;
    QListWidget* m_suggestions;
    TextBox* m_changeTo;
    CommandButton* m_cmdChange;
    CommandButton* m_cmdChangeAll;
};

} // namespace bryx::host
