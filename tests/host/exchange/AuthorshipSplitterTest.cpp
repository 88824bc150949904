#include "exchange/AuthorshipSplitter.h"

#include "exchange/ChecklistVocabulary.h"
#include "support/QtPrinters.h"

#include <QFile>
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

TEST(AuthorshipSplitter, TheAuthorshipIsSplitOffWhereverTheChecklistPutIt)
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
        const NameAndAuthor split = AuthorshipSplitter::split(c.written, c.authorship);
        EXPECT_EQ(split.name, QString::fromUtf8(c.name)) << c.written;
        EXPECT_EQ(split.author, QString::fromUtf8(c.author)) << c.written;
    }
}

namespace {

struct TableRow {
    QString written;
    NameAndAuthor expected;
};

// Rows of "written<TAB>name<TAB>authorship"; lines starting with '#' are comments.
std::vector<TableRow> readTable(const QString& path)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    std::vector<TableRow> rows;
    for (const QByteArray& line : file.readAll().split('\n')) {
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        const QList<QByteArray> cells = line.split('\t');
        EXPECT_EQ(cells.size(), 3) << line.toStdString();
        rows.push_back({QString::fromUtf8(cells.value(0)),
                        {QString::fromUtf8(cells.value(1)), QString::fromUtf8(cells.value(2))}});
    }
    return rows;
}

// The sample's names written with their authorships, as a checklist without an authorship
// column gives them. A formation's name has capitalised words and no authorship, which no rule
// can tell from one; the import does not split those (their type says community).
std::vector<TableRow> sampleNames()
{
    std::vector<TableRow> rows;
    for (const char* table : {"botanical", "zoological", "ecological", "accented"}) {
        QFile file(QStringLiteral(":/bryx/sample/names_%1.tsv").arg(QLatin1String(table)));
        EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << table;
        for (const QByteArray& line : file.readAll().split('\n')) {
            const QList<QByteArray> cells = line.split('\t');
            if (line.startsWith('#') || cells.size() < 4 || cells[3].isEmpty())
                continue;
            const QString name = QString::fromUtf8(cells[2]);
            const QString author = QString::fromUtf8(cells[3]);
            rows.push_back({name + QLatin1Char(' ') + author, {name, author}});
        }
    }
    return rows;
}

} // namespace

TEST(AuthorshipSplitter, APublishedNameOfEveryKindIsTakenApartRight)
{
    const std::vector<TableRow> table = readTable(QStringLiteral(BRYX_AUTHORSHIP_TABLE));
    ASSERT_GT(table.size(), 300u);
    for (const TableRow& row : table) {
        const NameAndAuthor split = AuthorshipSplitter::split(row.written, {});
        EXPECT_EQ(split.name, row.expected.name) << row.written.toStdString();
        EXPECT_EQ(split.author, row.expected.author) << row.written.toStdString();
    }
}

TEST(AuthorshipSplitter, TheSamplesNamesComeApartAsTheyWereStored)
{
    const std::vector<TableRow> names = sampleNames();
    ASSERT_GT(names.size(), 350u);
    for (const TableRow& row : names) {
        const NameAndAuthor split = AuthorshipSplitter::split(row.written, {});
        EXPECT_EQ(split.name + QStringLiteral(" | ") + split.author,
                  row.expected.name + QStringLiteral(" | ") + row.expected.author);
    }
}

TEST(AuthorshipSplitter, WithAnAuthorshipColumnTheNameIsTakenAsWritten)
{
    EXPECT_EQ(AuthorshipSplitter::withoutRepeated("Temperate Flooded & Swamp Forest", "").name,
              "Temperate Flooded & Swamp Forest");
    EXPECT_EQ(AuthorshipSplitter::withoutRepeated("Abies alba Mill.", "Mill.").name, "Abies alba");
    EXPECT_EQ(AuthorshipSplitter::withoutRepeated("Abies alba Mill.", "Miller").name, "Abies alba Mill.")
        << "only a literal repeat is taken off";
    EXPECT_EQ(AuthorshipSplitter::withoutRepeated("Mill.", "Mill.").name, "Mill.") << "never the whole name";
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
    EXPECT_EQ(ChecklistVocabulary::categoryOf(u'A', "", "", "", {"", "Balaenidae"}), "Vertebrate Animal")
        << "a family of vertebrates";
    EXPECT_EQ(ChecklistVocabulary::categoryOf(u'A', "Animalia", "Arthropoda", "Insecta"),
              "Invertebrate Animal");

    EXPECT_EQ(ChecklistVocabulary::establishmentOf("heterotypic synonym"), "Synonym");
    EXPECT_EQ(ChecklistVocabulary::establishmentOf("proParteSynonym"), "Synonym");
    EXPECT_EQ(ChecklistVocabulary::establishmentOf("misapplied"), "Misapplied");
    EXPECT_EQ(ChecklistVocabulary::establishmentOf("ACCEPTED"), "Accepted");
    EXPECT_EQ(ChecklistVocabulary::establishmentOf("doubtful"), "Accepted");
    EXPECT_EQ(ChecklistVocabulary::establishmentOf(""), "");
}
