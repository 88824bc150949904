#include "SpellingCheck.h"

#include "SpellingDialog.h"
#include "SpellingDictionary.h"
#include "controls/RichTextBox.h"

#include <QRegularExpression>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace bryx::host {

namespace {

// A word: letters, with apostrophes and hyphens inside it.
const QRegularExpression WordPattern(QStringLiteral("\\p{L}(?:[\\p{L}'\\x{2019}-]*\\p{L})?"));

void replaceInBox(QTextDocument& document, qsizetype start, qsizetype length, const QString& replacement)
{
    QTextCursor cursor(&document);
    cursor.setPosition(int(start));
    cursor.setPosition(int(start + length), QTextCursor::KeepAnchor);
    cursor.insertText(replacement);
}

} // namespace

SpellingCheck::SpellingCheck(SpellingDictionary& dictionary, SpellingDialog& dialog)
    : m_dictionary(dictionary)
    , m_dialog(dialog)
{
}

SpellingCheck::Summary SpellingCheck::run(RichTextBox& box)
{
    Summary summary;
    QTextDocument& document = *box.document();
    QString text = document.toPlainText();
    qsizetype position = 0;
    while (true) {
        const QRegularExpressionMatch match = WordPattern.match(text, position);
        if (!match.hasMatch())
            break;
        const QString word = match.captured();
        const qsizetype start = match.capturedStart();
        position = match.capturedEnd();
        if (word.size() < 2 || m_ignoredAll.contains(word) || m_dictionary.isCorrect(word))
            continue;
        ++summary.misspelt;
        QString replacement = m_changeAll.value(word);
        if (replacement.isEmpty()) {
            const QTextBlock block = document.findBlock(int(start));
            const SpellingDialog::Action action =
                m_dialog.ask(word, block.text(), start - block.position(), m_dictionary.suggestions(word));
            switch (action) {
            case SpellingDialog::Action::Cancel:
                summary.cancelled = true;
                return summary;
            case SpellingDialog::Action::Ignore:
                ++summary.ignored;
                continue;
            case SpellingDialog::Action::IgnoreAll:
                ++summary.ignored;
                m_ignoredAll.insert(word);
                continue;
            case SpellingDialog::Action::Add:
                m_dictionary.addUserWord(word);
                ++summary.added;
                continue;
            case SpellingDialog::Action::ChangeAll:
                m_changeAll.insert(word, m_dialog.replacement());
                [[fallthrough]];
            case SpellingDialog::Action::Change:
                replacement = m_dialog.replacement();
                break;
            }
        }
        if (replacement.isEmpty() || replacement == word)
            continue;
        replaceInBox(document, start, word.size(), replacement);
        text.replace(start, word.size(), replacement);
        position = start + replacement.size();
        ++summary.changed;
    }
    return summary;
}

QString SpellingCheck::summaryText(const Summary& summary)
{
    if (summary.misspelt == 0)
        return QObject::tr("The spelling check is complete. No misspelt words were found.");
    return QObject::tr("The spelling check is %1. Words not in the dictionary: %2; changed: %3; ignored: %4; "
                       "added to the dictionary: %5.")
        .arg(summary.cancelled ? QObject::tr("cancelled") : QObject::tr("complete"))
        .arg(summary.misspelt)
        .arg(summary.changed)
        .arg(summary.ignored)
        .arg(summary.added);
}

} // namespace bryx::host
