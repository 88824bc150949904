#include "exchange/NameTypeRules.h"

#include "exchange/ChecklistRecords.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

using namespace bryx;
using namespace bryx::host;

namespace {

struct Row {
    const char* code = "";
    const char* kingdom = "";
    const char* phylum = "";
    const char* className = "";
    const char* order = "";
    const char* family = "";
    const char* higher = "";
    const char* name = "";
    const char* rank = "";
};

ChecklistName nameOf(const Row& row)
{
    ChecklistName name;
    name.nomenclaturalCode = QString::fromUtf8(row.code);
    name.kingdom = QString::fromUtf8(row.kingdom);
    name.phylum = QString::fromUtf8(row.phylum);
    name.className = QString::fromUtf8(row.className);
    name.order = QString::fromUtf8(row.order);
    name.family = QString::fromUtf8(row.family);
    name.higherClassification = QString::fromUtf8(row.higher);
    name.scientificName = QString::fromUtf8(row.name);
    name.rank = QString::fromUtf8(row.rank);
    return name;
}

// "P by the kingdom", "refused: ...", or "undecided".
QString decided(const Row& row)
{
    const NameTypeRules::Finding finding = NameTypeRules::fromRow(nameOf(row));
    if (!finding.refusal.isEmpty())
        return QStringLiteral("refused: ") + finding.refusal;
    if (!finding.type)
        return QStringLiteral("undecided");
    return QStringLiteral("%1 by %2").arg(*finding.type).arg(finding.rule);
}

} // namespace

TEST(NameTypeRules, TheRowsOwnWordsDecideInTheirOrder)
{
    struct Case {
        Row row;
        const char* expected;
    } cases[] = {
        {{.code = "ICZN", .kingdom = "Plantae"}, "A by the nomenclatural code"},
        {{.code = "icnafp"}, "P by the nomenclatural code"},
        {{.code = "ICPN"}, "C by the nomenclatural code"},
        {{.code = "ICNP", .kingdom = "Animalia"}, "A by the kingdom"},
        {{.kingdom = "Metazoa"}, "A by the kingdom"},
        {{.kingdom = "Protozoa"}, "A by the kingdom"},
        {{.kingdom = "Chromista"}, "P by the kingdom"},
        {{.kingdom = "Fungi", .className = "Insecta"}, "P by the kingdom"},
        {{.kingdom = "Bacteria", .family = "Canidae"},
         "refused: the kingdom Bacteria is of bacteria, which this database has no name type for"},
        {{.kingdom = "Viruses"},
         "refused: the kingdom Viruses is of viruses, which this database has no name type for"},
        {{.code = "ICVCN"},
         "refused: the nomenclatural code ICVCN is for viruses, which this database has no name type for"},
        {{.kingdom = "Incertae sedis", .phylum = "Chordata"}, "A by the higher classification"},
        {{.className = "Magnoliopsida"}, "P by the higher classification"},
        {{.order = "Araneae"}, "A by the higher classification"},
        {{.family = "Balaenopteridae"}, "A by the higher classification"},
        {{.family = "Rosaceae Juss."}, "P by the higher classification"},
        {{.family = "Compositae"}, "P by the higher classification"},
        {{.higher = "Animalia | Chordata | Mammalia | Cetacea"}, "A by the higher classification"},
        {{.higher = "Life;Plantae;Tracheophyta"}, "P by the higher classification"},
        {{.name = "Balaenidae", .rank = "family"}, "A by the higher classification"},
        {{.name = "Animalia"}, "A by the higher classification"},
        {{.name = "Fagaceae Dumort.", .rank = "FAMILY"}, "P by the higher classification"},
        {{.name = "Aceraceae", .rank = "genus"}, "undecided"},
        {{.name = "Abies alba Mill.", .rank = "species"}, "undecided"},
        {{.family = "Ida"}, "undecided"},
        {{}, "undecided"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(decided(c.row), QString::fromUtf8(c.expected)) << c.expected;

    EXPECT_EQ(NameTypeRules::typeNamed("Botanical"), QChar(u'P'));
    EXPECT_EQ(NameTypeRules::typeNamed("zoological"), QChar(u'A'));
    EXPECT_EQ(NameTypeRules::typeNamed("ecological"), QChar(u'C'));
    EXPECT_EQ(NameTypeRules::typeNamed("fungal"), std::nullopt);
}

TEST(NameParts, AnAtomisedRowIsWrittenAsTheNameItGives)
{
    auto assembled = [](NameParts parts, bool zoological = false) { return parts.assembled(zoological); };
    EXPECT_EQ(assembled({.genus = "Abies", .specific = "alba"}), "Abies alba");
    EXPECT_EQ(
        assembled({.genus = "Abies", .specific = "alba", .infraspecific = "apennina", .rank = "subspecies"}),
        "Abies alba subsp. apennina");
    EXPECT_EQ(
        assembled(
            {.genus = "Canis", .specific = "lupus", .infraspecific = "familiaris", .rank = "subspecies"},
            true),
        "Canis lupus familiaris")
        << "a zoological subspecies has no marker";
    EXPECT_EQ(
        assembled({.genus = "Salix", .specific = "alba", .infraspecific = "vitellina", .rank = "VARIETY"}),
        "Salix alba var. vitellina");
    EXPECT_EQ(assembled({.genus = "Salix",
                         .specific = "alba",
                         .infraspecific = "vitellina",
                         .rank = "infraspecific",
                         .verbatimRank = "ssp."}),
              "Salix alba subsp. vitellina")
        << "the marker as written, in its usual spelling";
    EXPECT_EQ(assembled({.genus = "Calathus", .infrageneric = "Lindrothius", .specific = "kurnakovi"}),
              "Calathus (Lindrothius) kurnakovi");
    EXPECT_EQ(assembled({.genus = "Calathus", .infrageneric = "(Lindrothius)"}), "Calathus (Lindrothius)");
    EXPECT_EQ(assembled({.uninomial = "Pinaceae"}), "Pinaceae");
    EXPECT_EQ(assembled({.specific = "alba"}), "") << "no genus, no name";

    ChecklistName row;
    row.parts = {.genus = "Vulpes", .specific = "vulpes", .infraspecific = "crucigera", .rank = "subspecies"};
    row.authorship = QStringLiteral(" (Bechstein,  1789) ");
    row.kingdom = QStringLiteral("Animalia");
    EXPECT_EQ(row.nameAndAuthor().name, "Vulpes vulpes crucigera") << "the row's kingdom says zoological";
    EXPECT_EQ(row.nameAndAuthor().author, "(Bechstein, 1789)");
}
