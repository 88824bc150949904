#include "curation/DuplicateRules.h"

#include "../../support/QtPrinters.h"

#include <gtest/gtest.h>

using namespace bryx::host;

namespace {

struct AuthorPair {
    const char* left;
    const char* right;
    bool sameAtSave; // the save's duplicate test (case only)
    bool equivalent; // the equivalent-author rule
};

// Authors as published checklists write one person, and as they write two.
const AuthorPair Authors[] = {
    {"L.", "L.", true, true},
    {"Mill.", "MILL.", true, true},
    {"Günther", "GÜNTHER", true, true}, // Unicode case at save
    {"Günther", "Gunther", false, true}, // a diacritic folded
    {"Delile", "Délile", false, true},
    {"L. f.", "L.f.", false, true}, // spaces around initials
    {"M.T. Lucas", "M. T. Lucas", false, true},
    {"Hook. & Arn.", "Hook. et Arn.", false, true},
    {"Hook. & Arn.", "Hook.&Arn.", false, true},
    {"Hook. and Arn.", "Hook. et Arn.", false, true},
    {"Linnaeus, 1758", "Linnaeus 1758", false, true},
    {"(Linnaeus, 1758)", "(Linnaeus 1758)", false, true},
    {"(L.) Mill.", "L. Mill.", false, false}, // the basionym author stays in brackets
    {"(L.) Mill.", "Mill.", false, false},
    {"Mill.", "Michx.", false, false},
    {"L.", "", false, false},
    {"Linnaeus, 1758", "Linnaeus, 1759", false, false},
    {"Hook. & Arn.", "Arn. & Hook.", false, false}, // the order of authors is not folded
    {"DC.", "D.C.", false, true},
};

} // namespace

TEST(DuplicateRules, AuthorsPairAtSaveOnlyByCaseAndAsEquivalentByTheirWritingToo)
{
    for (const AuthorPair& pair : Authors) {
        const QString left = QString::fromUtf8(pair.left);
        const QString right = QString::fromUtf8(pair.right);
        EXPECT_EQ(DuplicateRules::authorKey(left) == DuplicateRules::authorKey(right), pair.sameAtSave)
            << pair.left << " / " << pair.right;
        EXPECT_EQ(DuplicateRules::equivalentAuthorKey(left) == DuplicateRules::equivalentAuthorKey(right),
                  pair.equivalent)
            << pair.left << " / " << pair.right;
    }
    EXPECT_EQ(DuplicateRules::nameKey(QString::fromUtf8("Æsculus çeltica")),
              DuplicateRules::nameKey(QString::fromUtf8("æSCULUS ÇELTICA")))
        << "names compare upper-cased the Unicode way";
}

TEST(DuplicateRules, SpellingsPairByOneEditLatinEndingsAndHybridSigns)
{
    EXPECT_EQ(DuplicateRules::spellingWords(QString::fromUtf8("Salix ×rubens")),
              QStringList({"SALIX", "RUBENS"}));
    EXPECT_EQ(DuplicateRules::spellingWords(QString::fromUtf8("× Salix rubens")),
              QStringList({"SALIX", "RUBENS"}));
    EXPECT_EQ(DuplicateRules::spellingWords("Salix x rubens"), QStringList({"SALIX", "RUBENS"}));
    EXPECT_EQ(DuplicateRules::spellingWords("Xanthium strumarium"), QStringList({"XANTHIUM", "STRUMARIUM"}))
        << "a genus beginning with X is no hybrid sign";

    const std::pair<const char*, const char*> sameStem[] = {{"albus", "alba"},
                                                            {"alba", "album"},
                                                            {"viridis", "viride"},
                                                            {"smithii", "smithi"},
                                                            {"caerulea", "cerulea"}};
    for (const auto& [left, right] : sameStem)
        EXPECT_EQ(DuplicateRules::epithetStem(left), DuplicateRules::epithetStem(right))
            << left << " / " << right;
    const std::pair<const char*, const char*> otherStem[] = {
        {"alba", "albis"}, {"viridis", "viridus"}, {"smithii", "smitha"}, {"alba", "arbuscula"}};
    for (const auto& [left, right] : otherStem)
        EXPECT_NE(DuplicateRules::epithetStem(left), DuplicateRules::epithetStem(right))
            << left << " / " << right;

    EXPECT_TRUE(DuplicateRules::oneEditApart("ALBA", "ALBA"));
    EXPECT_TRUE(DuplicateRules::oneEditApart("ALBA", "ALPA")); // substitution
    EXPECT_TRUE(DuplicateRules::oneEditApart("ALBA", "ALBAA")); // insertion at the end
    EXPECT_TRUE(DuplicateRules::oneEditApart("ALBA", "ABA")); // deletion inside
    EXPECT_TRUE(DuplicateRules::oneEditApart("NORDMANIANA", "NORDMANNIANA"));
    EXPECT_FALSE(DuplicateRules::oneEditApart("ALBA", "LABA")); // a swap is two edits
    EXPECT_FALSE(DuplicateRules::oneEditApart("ALBA", "ALBANA"));
    EXPECT_FALSE(DuplicateRules::oneEditApart("ALBA", "OLBO"));
}
