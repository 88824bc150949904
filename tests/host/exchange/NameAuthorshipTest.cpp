#include "exchange/NameAuthorship.h"

#include "exchange/ChecklistVocabulary.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

using namespace bryx::host;

namespace {

struct Split {
    const char* written;
    const char* authorship;
    const char* name;
    const char* author;
};

} // namespace

TEST(NameAuthorship, TheAuthorshipIsSplitOffWhereverTheChecklistPutIt)
{
    const Split cases[] = {
        // only in the name
        {"Abies alba Mill.", "", "Abies alba", "Mill."},
        {"Vulpes vulpes (Linnaeus, 1758)", "", "Vulpes vulpes", "(Linnaeus, 1758)"},
        {"Abies grandis (Douglas ex D.Don) Lindl.", "", "Abies grandis", "(Douglas ex D.Don) Lindl."},
        {"Abies Mill.", "", "Abies", "Mill."},
        {"Pinus", "", "Pinus", ""},
        {"Fagion sylvaticae Luquet 1926", "", "Fagion sylvaticae", "Luquet 1926"},
        {"Quercus × rosacea Bechst.", "", "Quercus × rosacea", "Bechst."},
        {"× Triticosecale rimpaui Wittm.", "", "× Triticosecale rimpaui", "Wittm."},
        {"Picea abies subsp. obovata (Ledeb.) Domin", "", "Picea abies subsp. obovata", "(Ledeb.) Domin"},
        {"Carabus (Procrustes) coriaceus Linnaeus, 1758", "", "Carabus (Procrustes) coriaceus",
         "Linnaeus, 1758"},
        {"Acer palmatum 'Bloodgood' Hort.", "", "Acer palmatum 'Bloodgood'", "Hort."},
        {"ACER SP.", "", "ACER SP.", ""},
        {"Abies alba de Candolle", "", "Abies alba", "de Candolle"},
        {"Helix aspersa d'Orbigny, 1837", "", "Helix aspersa", "d'Orbigny, 1837"},
        {"  Abies   alba  Mill. ", "", "Abies alba", "Mill."},
        // repeated at the end, or in another form
        {"Abies alba Mill.", "Mill.", "Abies alba", "Mill."},
        {"Abies alba Miller", "Mill.", "Abies alba", "Mill."},
        // only in its column
        {"Abies alba", "Mill.", "Abies alba", "Mill."},
    };
    for (const Split& c : cases) {
        const NameAndAuthor split = splitAuthorship(c.written, c.authorship);
        EXPECT_EQ(split.name, QString::fromUtf8(c.name)) << c.written;
        EXPECT_EQ(split.author, QString::fromUtf8(c.author)) << c.written;
    }
}

TEST(NameAuthorship, WithAnAuthorshipColumnTheNameIsTakenAsWritten)
{
    EXPECT_EQ(withoutRepeatedAuthorship("Temperate Flooded & Swamp Forest", "").name,
              "Temperate Flooded & Swamp Forest");
    EXPECT_EQ(withoutRepeatedAuthorship("Abies alba Mill.", "Mill.").name, "Abies alba");
    EXPECT_EQ(withoutRepeatedAuthorship("Abies alba Mill.", "Miller").name, "Abies alba Mill.")
        << "only a literal repeat is taken off";
    EXPECT_EQ(withoutRepeatedAuthorship("Mill.", "Mill.").name, "Mill.") << "never the whole name";
}

TEST(ChecklistVocabulary, RanksCodesAndStatusesAsChecklistsWriteThem)
{
    for (const char* word : {"species", "SPECIES", "sp.", "Species"})
        EXPECT_EQ(ChecklistVocabulary::rankOf(word)->levelName, "Species") << word;
    for (const char* word : {"subsp.", "ssp.", "subspecies"})
        EXPECT_EQ(ChecklistVocabulary::rankOf(word)->levelName, "Subspecies") << word;
    EXPECT_EQ(ChecklistVocabulary::rankOf("forma")->levelName, "Form");
    EXPECT_EQ(ChecklistVocabulary::rankOf("infraspecific_name"), std::nullopt);
    EXPECT_EQ(ChecklistVocabulary::rankOf("unranked"), std::nullopt);
    EXPECT_TRUE(ChecklistVocabulary::rankOf("variety")->lowerLevel);
    EXPECT_FALSE(ChecklistVocabulary::rankOf("genus")->lowerLevel);
    EXPECT_LT(ChecklistVocabulary::rankOf("family")->order, ChecklistVocabulary::rankOf("genus")->order);

    EXPECT_EQ(ChecklistVocabulary::categoryOf(u'P', "Fungi", "", ""), "Fungus");
    EXPECT_EQ(ChecklistVocabulary::categoryOf(u'P', "Plantae", "Bryophyta", ""), "Nonvascular Plant");
    EXPECT_EQ(ChecklistVocabulary::categoryOf(u'A', "Animalia", "", "Aves"), "Vertebrate Animal");
    EXPECT_EQ(ChecklistVocabulary::categoryOf(u'A', "", "", "Elasmobranchii"), "Vertebrate Animal");
    EXPECT_EQ(ChecklistVocabulary::categoryOf(u'A', "Animalia", "Arthropoda", "Insecta"),
              "Invertebrate Animal");

    EXPECT_EQ(ChecklistVocabulary::establishmentOf("heterotypic synonym"), "Synonym");
    EXPECT_EQ(ChecklistVocabulary::establishmentOf("proParteSynonym"), "Synonym");
    EXPECT_EQ(ChecklistVocabulary::establishmentOf("misapplied"), "Misapplied");
    EXPECT_EQ(ChecklistVocabulary::establishmentOf("ACCEPTED"), "Accepted");
    EXPECT_EQ(ChecklistVocabulary::establishmentOf("doubtful"), "Accepted");
    EXPECT_EQ(ChecklistVocabulary::establishmentOf(""), "");
}
