// The spelling check of rich-text fields with Hunspell's English dictionary and the words of
// the stored names, in bryx-host's details windows and on its own.
#include "../../support/QtPrinters.h"
#include "DetailsWindowFixture.h"
#include "db/Database.h"
#include "error/Error.h"
#include "spelling/NameVocabulary.h"
#include "spelling/SpellingDialog.h"
#include "spelling/SpellingDictionary.h"

#include <QFile>
#include <QListWidget>
#include <QTemporaryDir>

using namespace bryx;
using namespace bryx::host;
using namespace bryx::test;

namespace {

SpellingDictionary englishWith(const QString& userWords)
{
    return SpellingDictionary(SpellingDictionary::systemAffixFile(),
                              SpellingDictionary::systemDictionaryFile(), userWords);
}

} // namespace

TEST(SpellingDictionary, KnowsEnglishAndTheNamesAndKeepsTheUsersWords)
{
    QTemporaryDir folder;
    const QString userWords = folder.filePath("config/words.txt");
    {
        SpellingDictionary dictionary = englishWith(userWords);
        EXPECT_TRUE(dictionary.isCorrect("specimen"));
        EXPECT_FALSE(dictionary.isCorrect("colected"));
        EXPECT_TRUE(dictionary.suggestions("colected").contains("collected"));
        EXPECT_FALSE(dictionary.isCorrect("albba"));
        dictionary.addVocabulary({"Abies", "alba", "nordmanniana"});
        EXPECT_TRUE(dictionary.isCorrect("alba"));
        EXPECT_TRUE(dictionary.isCorrect("nordmanniana"));
        EXPECT_TRUE(dictionary.suggestions("albba").contains("alba")) << "suggested from the names";
        EXPECT_FALSE(dictionary.isCorrect("Zwergstrauchheide"));
        dictionary.addUserWord("Zwergstrauchheide");
        EXPECT_TRUE(dictionary.isCorrect("Zwergstrauchheide"));
    }
    SpellingDictionary later = englishWith(userWords);
    EXPECT_TRUE(later.isCorrect("Zwergstrauchheide")) << "the user's word outlives the session";
    EXPECT_FALSE(later.isCorrect("nordmanniana")) << "the names' words are read anew each session";
    EXPECT_THROW(SpellingDictionary("/nowhere/xx.aff", "/nowhere/xx.dic", userWords), bryx::Error);
}

TEST(NameVocabulary, TakesEveryWordOfANameOnce)
{
    EXPECT_EQ(NameVocabulary::wordsOf("Abies alba subsp. borisii-regis"),
              QStringList({"Abies", "alba", "subsp", "borisii-regis"}));
    EXPECT_EQ(NameVocabulary::wordsOf("Isoëtes × hickeyi f. 2"), QStringList({"Isoëtes", "hickeyi"}));
}

class Spelling : public DetailsWindowFixture {
protected:
    // The comments box of a name, with this text, and the focus in it.
    RichTextBox& commentsOf(ComponentWindow& details, const QString& text)
    {
        control<TabControl>(details, "tabScientificName").SetTab(3);
        QApplication::processEvents();
        auto& comments = control<RichTextBox>(details, "ctrNameComments");
        comments.SetPlainText(text);
        QApplication::setActiveWindow(details.window());
        comments.setFocus();
        QApplication::processEvents();
        return comments;
    }
};

TEST_P(Spelling, EnglishMistakesAndAMisspeltEpithetAreFoundAndTheNamesWordsAreNot)
{
    auto window = start(appManager);
    ComponentWindow* details = openFromList(*window, five, 1);
    ASSERT_NE(details, nullptr);
    RichTextBox& comments =
        commentsOf(*details,
                   "Teh specimen of Abies albba was colected near the lake; it was colected again "
                   "in 1901 by Picea abies collectors.");
    QStringList asked;
    desktop.whileShown = [&](QDialog& shown) {
        auto& dialog = dynamic_cast<SpellingDialog&>(shown);
        const QString word = dialog.findChild<QTextEdit*>("txtContext")->toPlainText();
        QStringList suggestions;
        for (int row = 0; row < dialog.lstSuggestions()->count(); ++row)
            suggestions << dialog.lstSuggestions()->item(row)->text();
        const QString shownWord = [&] {
            for (const char* candidate : {"Teh", "albba", "colected"}) {
                if (dialog.txtContext()->toHtml().contains(QString(">%1<").arg(candidate)))
                    return QString(candidate);
            }
            return QString();
        }();
        asked << shownWord;
        if (shownWord == "Teh") {
            EXPECT_EQ(suggestions.value(0), "The")
                << "the letters in order first: " << suggestions.join(", ").toStdString();
            dialog.txtChangeTo()->setText("The");
            dialog.findChild<CommandButton*>("cmdChange")->click();
        } else if (shownWord == "albba") {
            EXPECT_TRUE(suggestions.contains("alba"))
                << "suggested from the stored names: " << suggestions.join(", ").toStdString();
            dialog.lstSuggestions()->setCurrentRow(int(suggestions.indexOf("alba")));
            dialog.findChild<CommandButton*>("cmdChange")->click();
        } else if (shownWord == "colected") {
            EXPECT_TRUE(word.contains("colected near the lake")) << "shown in its sentence";
            dialog.txtChangeTo()->setText("collected");
            dialog.findChild<CommandButton*>("cmdChangeAll")->click();
        } else {
            ADD_FAILURE() << "asked about an unexpected word in: " << word.toStdString();
            dialog.findChild<CommandButton*>("cmdCancel")->click();
        }
    };
    menuItem(*details, "mnuToolsSpellcheck").trigger();
    EXPECT_EQ(asked, QStringList({"Teh", "albba", "colected"}))
        << "the epithets and genera of stored names pass";
    EXPECT_EQ(comments.PlainText(),
              "The specimen of Abies alba was collected near the lake; it was collected again "
              "in 1901 by Picea abies collectors.");
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.shown()[0].prompt,
              "The spelling check is complete. Words not in the dictionary: 4; "
              "changed: 4; ignored: 0; added to the dictionary: 0.");
    save(*details);
    EXPECT_EQ(stored(idOf("Abies alba"), "scientific_name_com").toString(), comments.PlainText())
        << "the corrected text is the field's";
}

TEST_P(Spelling, IgnoreAllAsksOnceAndAWordAddedIsKnownFromThenOn)
{
    auto window = start(appManager);
    ComponentWindow* details = openFromList(*window, five, 1);
    ASSERT_NE(details, nullptr);
    RichTextBox& comments = commentsOf(*details, "Seen by qzxv and qzxv; the plot is Brennwald.");
    QStringList asked;
    desktop.whileShown = [&](QDialog& shown) {
        auto& dialog = dynamic_cast<SpellingDialog&>(shown);
        const bool first = asked.isEmpty();
        asked << dialog.txtContext()->toHtml();
        dialog.findChild<CommandButton*>(first ? "cmdIgnoreAll" : "cmdAdd")->click();
    };
    menuItem(*details, "mnuToolsSpellcheck").trigger();
    EXPECT_EQ(asked.size(), 2) << "qzxv once, then Brennwald";
    EXPECT_EQ(comments.PlainText(), "Seen by qzxv and qzxv; the plot is Brennwald.");
    EXPECT_EQ(messages.shown().back().prompt,
              "The spelling check is complete. Words not in the dictionary: 2; "
              "changed: 0; ignored: 1; added to the dictionary: 1.");
    asked.clear();
    menuItem(*details, "mnuToolsSpellcheck").trigger();
    EXPECT_EQ(asked.size(), 1) << "Brennwald is the user's word now; qzxv was ignored for that check only";
}

INSTANTIATE_ON_EACH_ENGINE(Spelling);
