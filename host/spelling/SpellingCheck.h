#pragma once

#include <QHash>
#include <QSet>
#include <QString>

namespace bryx {
class RichTextBox;
}

namespace bryx::host {

class SpellingDialog;
class SpellingDictionary;

// One spelling check of one rich-text box: word after word, each word the dictionary does not
// know is put to the user, and the answer applied in the box (keeping the text's formatting).
class SpellingCheck {
public:
    struct Summary {
        int misspelt = 0;
        int changed = 0;
        int ignored = 0;
        int added = 0;
        bool cancelled = false;
    };

    SpellingCheck(SpellingDictionary& dictionary, SpellingDialog& dialog);

    Summary run(RichTextBox& box);
    // What the user reads at the end.
    static QString summaryText(const Summary& summary);

private:
    SpellingDictionary& m_dictionary;
    SpellingDialog& m_dialog;
    QSet<QString> m_ignoredAll;
    QHash<QString, QString> m_changeAll;
};

} // namespace bryx::host
