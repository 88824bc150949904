#include "../TestDatabase.h"
#include "SearchStatement.h"
#include "TestPackage.h"
#include "db/Database.h"
#include "error/Error.h"
#include "exchange/ChecklistImporter.h"
#include "exchange/DwcaMeta.h"
#include "exchange/DwcaRowReader.h"
#include "recordset/Recordset.h"
#include "services/SqlAppManager.h"
#include "support/QtPrinters.h"

#include <QSqlQuery>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace bryx;
using namespace bryx::host;
using bryx::test::PackageFiles;
using bryx::test::refusal;

namespace {

const QByteArray TaxonMeta = R"(<?xml version="1.0" encoding="UTF-8"?>
<archive xmlns="http://rs.tdwg.org/dwc/text/">
  <core encoding="UTF-8" fieldsTerminatedBy="\t" linesTerminatedBy="\n" fieldsEnclosedBy="" ignoreHeaderLines="1"
        rowType="http://rs.tdwg.org/dwc/terms/Taxon">
    <files><location>taxon.txt</location></files>
    <id index="0"/>
    <field index="1" term="http://rs.tdwg.org/dwc/terms/scientificName"/>
    <field index="2" term="http://rs.tdwg.org/dwc/terms/taxonRank"/>
    <field index="3" term="http://rs.tdwg.org/dwc/terms/acceptedNameUsageID"/>
    <field term="http://rs.tdwg.org/dwc/terms/kingdom" default="Plantae"/>
  </core>
</archive>)";

// A small good archive the bad cases each spoil in one place.
PackageFiles plainArchive(const QByteArray& rows)
{
    return {{"meta.xml", TaxonMeta},
            {"taxon.txt",
             "taxonID\tscientificName\ttaxonRank\tacceptedNameUsageID\n"
             "1\tAbies alba Mill.\tspecies\t\n"
                 + rows + "3\tAbies pectinata (Lam.) DC.\tspecies\t1\n"}};
}

// What an import may change, to show that a failed one changed nothing.
QStringList snapshot(Database& db)
{
    QStringList counts;
    for (const char* table : {"scientific_name", "reference", "scientific_name_reference", "audit_log",
                              "d_name_category", "d_classification_level", "d_nomenclaturally_est"})
        counts << QStringLiteral("%1=%2").arg(table).arg(
            db.scalar(QStringLiteral("SELECT count(*) FROM %1").arg(table)).toLongLong());
    return counts;
}

// One name as a user sees it in the editor: "name | author | type | category | level |
// establishment -> established name (relationship)".
QString described(Database& db, const QString& name)
{
    QSqlQuery query = db.query(
        "SELECT sn.author_name, nc.name_type_cd, nc.name_category_desc, cl.classification_level_name, "
        "e.nomenclaturally_est_desc, l.scientific_name, sn.relationship_to_establ_name FROM scientific_name "
        "sn "
        "LEFT JOIN d_name_category nc ON nc.d_name_category_id = sn.d_name_category_id LEFT JOIN "
        "d_classification_level cl ON cl.d_classification_level_id = sn.d_classification_level_id LEFT JOIN "
        "d_nomenclaturally_est e ON e.d_nomenclaturally_est_id = sn.d_nomenclaturally_est_id LEFT JOIN "
        "scientific_name l ON l.scientific_name_id = sn.nomenclaturally_est_sn_id WHERE sn.scientific_name = "
        "?",
        {name});
    if (!query.next())
        return QStringLiteral("(no %1)").arg(name);
    QStringList parts {name};
    for (int i = 0; i < 5; ++i)
        parts << query.value(i).toString();
    QString text = parts.join(QStringLiteral(" | "));
    if (!query.value(5).isNull())
        text += QStringLiteral(" -> ") + query.value(5).toString();
    if (!query.value(6).isNull())
        text += QStringLiteral(" (%1)").arg(query.value(6).toString());
    return text;
}

QStringList referencesOf(Database& db, const QString& name)
{
    QSqlQuery query = db.query(
        "SELECT r.reference_code, r.full_citation, r.publication_year, x.original_publication_ind FROM "
        "scientific_name_reference x JOIN reference r ON r.reference_id = x.reference_id JOIN "
        "scientific_name "
        "sn ON sn.scientific_name_id = x.scientific_name_id WHERE sn.scientific_name = ? ORDER BY "
        "x.display_order",
        {name});
    QStringList references;
    while (query.next())
        references << QStringLiteral("%1 %2 (%3)%4")
                          .arg(query.value(0).toString(), query.value(1).toString(),
                               query.value(2).toString(),
                               query.value(3).toString() == "Y" ? " original" : "");
    return references;
}

class ChecklistImport : public test::OnEachEngine {
protected:
    void SetUp() override
    {
        test::OnEachEngine::SetUp();
        if (IsSkipped())
            return;
        database = std::make_unique<test::TestDatabase>(GetParam(), withSample());
        db = database->open();
    }
    virtual bool withSample() const { return false; }

    ImportSummary import(const PackageFiles& files, ImportOptions options = {}, bool zipped = true)
    {
        const QString path = zipped ? folder.filePath("checklist.zip") : folder.filePath("checklist");
        QDir(path).removeRecursively();
        QFile::remove(path);
        zipped ? test::writeZip(path, files) : test::writeFolder(path, files);
        return ChecklistImporter(*db, UserSession::load(*db, "editor")).import(path, options);
    }
    // The import's refusal, checking that it left the database as it was.
    QString refused(const PackageFiles& files, ImportOptions options = {})
    {
        const QStringList before = snapshot(*db);
        const QString why = refusal([&] { import(files, options); });
        EXPECT_EQ(snapshot(*db), before) << "nothing half-imported";
        return why;
    }

    QTemporaryDir folder;
    std::unique_ptr<test::TestDatabase> database;
    std::unique_ptr<Database> db;
};

TEST_P(ChecklistImport, AMessyDarwinCoreArchiveIsReadAsItDeclaresItself)
{
    // Latin-1 data with CRLF line ends under an LF header, no quoting, a column the description
    // skips, a constant kingdom, a synonym before its accepted name, authorships only inside the
    // names, and a References extension in another encoding and order.
    const QByteArray meta = R"(<?xml version="1.0" encoding="UTF-8"?>
<archive xmlns="http://rs.tdwg.org/dwc/text/" metadata="eml.xml">
  <core encoding="ISO-8859-1" fieldsTerminatedBy="&#x9;" linesTerminatedBy="\r\n" fieldsEnclosedBy=""
        ignoreHeaderLines="1" rowType="http://rs.tdwg.org/dwc/terms/Taxon">
    <files><location>taxa.txt</location></files>
    <id index="0"/>
    <field index="0" term="http://rs.tdwg.org/dwc/terms/taxonID"/>
    <field index="2" term="http://rs.tdwg.org/dwc/terms/scientificName"/>
    <field index="3" term="http://rs.tdwg.org/dwc/terms/taxonRank"/>
    <field index="4" term="http://rs.tdwg.org/dwc/terms/acceptedNameUsageID"/>
    <field index="5" term="http://rs.tdwg.org/dwc/terms/taxonomicStatus"/>
    <field term="http://rs.tdwg.org/dwc/terms/kingdom" default="Plantae"/>
    <field index="6" term="http://rs.tdwg.org/dwc/terms/namePublishedIn"/>
  </core>
  <extension encoding="UTF-8" fieldsTerminatedBy="\t" linesTerminatedBy="\n" ignoreHeaderLines="1"
             rowType="http://rs.gbif.org/terms/1.0/Reference">
    <files><location>references.txt</location></files>
    <coreid index="0"/>
    <field index="1" term="http://purl.org/dc/terms/bibliographicCitation"/>
    <field index="2" term="http://purl.org/dc/terms/type"/>
  </extension>
</archive>)";
    const QByteArray taxa =
        "taxonID\tremarks\tscientificName\ttaxonRank\tacceptedNameUsageID\ttaxonomicStatus\t"
        "namePublishedIn\n"
        "s1\tx\tAbies pectinata (Lam.) DC.\tspecies\ta1\theterotypic synonym\t\r\n"
        "a1\t\tAbies alba Mill.\tspecies\t\taccepted\tMiller, P. 1768. The Gardeners Dictionary\r\n"
        "g1\t\tAbies Mill.\tgenus\t\taccepted\t\r\n"
        "g2\t\tPinus\tgenus\t\taccepted\t\r\n"
        "t1\t\tAbieteae\ttribe\t\taccepted\t\r\n"
        "e1\t\tIso\xEBtes lacustris L.\tspecies\t\taccepted\t\r\n";
    const QByteArray references =
        "coreid\tcitation\ttype\n"
        "e1\t\"Linnaeus, C. 1753. Species Plantarum; \"\"the\"\" first\"\toriginal\n"
        "a1\tTutin, T.G. et al. 1993. Flora Europaea, ed. 2\t\n"
        "s1\tDe Candolle, A.P. 1805. Flore française\toriginal\n"
        "a1\tMiller, P. 1768. The Gardeners Dictionary\toriginal\n"
        "a1\tMiller, P. 1759. The Gardeners Dictionary, ed. 7\toriginal\n";
    const QStringList levelsBefore = snapshot(*db);
    const ImportSummary summary = import(
        {{"meta.xml", meta}, {"taxa.txt", taxa}, {"references.txt", references}, {"eml.xml", "<eml/>"}});

    EXPECT_EQ(summary.format, "Darwin Core Archive");
    EXPECT_EQ(summary.namesRead, 6);
    EXPECT_EQ(summary.imported, 6);
    EXPECT_EQ(summary.skippedRows, 0);
    EXPECT_EQ(described(*db, "Abies pectinata"),
              "Abies pectinata | (Lam.) DC. | P | Vascular Plant | Species | Synonym -> Abies alba "
              "(heterotypic synonym)");
    EXPECT_EQ(described(*db, "Abies alba"), "Abies alba | Mill. | P | Vascular Plant | Species | Accepted");
    EXPECT_EQ(described(*db, "Abies"), "Abies | Mill. | P | Vascular Plant | Genus | Accepted");
    EXPECT_EQ(described(*db, "Pinus"), "Pinus |  | P | Vascular Plant | Genus | Accepted");
    EXPECT_EQ(described(*db, "Abieteae"), "Abieteae |  | P | Vascular Plant | Tribe | Accepted")
        << "a known rank the code list lacked is added to it";
    EXPECT_EQ(described(*db, QString::fromUtf8("Isoëtes lacustris")),
              QString::fromUtf8("Isoëtes lacustris | L. | P | Vascular Plant | Species | Accepted"));

    EXPECT_EQ(referencesOf(*db, "Abies alba"),
              QStringList({"TUTI1993 Tutin, T.G. et al. 1993. Flora Europaea, ed. 2 (1993)",
                           "MILL1768 Miller, P. 1768. The Gardeners Dictionary (1768) original",
                           "MILL1759 Miller, P. 1759. The Gardeners Dictionary, ed. 7 (1759)"}))
        << "the extension's order first; namePublishedIn and its extension row are one link; one original";
    EXPECT_EQ(referencesOf(*db, QString::fromUtf8("Isoëtes lacustris")),
              QStringList({"LINN1753 Linnaeus, C. 1753. Species Plantarum; \"the\" first (1753) original"}));
    EXPECT_EQ(summary.referencesAdded, 5);
    EXPECT_EQ(summary.linksAdded, 5);

    EXPECT_EQ(db->scalar("SELECT count(*) FROM audit_log WHERE user_name = 'editor' AND action = 'I' AND "
                         "table_name = 'SCIENTIFIC_NAME'")
                  .toInt(),
              6)
        << "every name in the audit trail as created by the importing user";
    EXPECT_EQ(db->scalar("SELECT count(*) FROM audit_log WHERE table_name IN ('REFERENCE', "
                         "'SCIENTIFIC_NAME_REFERENCE')")
                  .toInt(),
              10);
    EXPECT_EQ(
        db->scalar("SELECT count(*) FROM audit_log a WHERE NOT EXISTS (SELECT 1 FROM scientific_name sn "
                   "WHERE sn.scientific_name_id = a.primary_key) AND a.table_name = 'SCIENTIFIC_NAME'")
            .toInt(),
        0);
    EXPECT_EQ(
        db->scalar(
              "SELECT count(*) FROM scientific_name WHERE rec_create_user = 'editor' AND org_unit_id = 1")
            .toInt(),
        6);
}

TEST_P(ChecklistImport, CommaSeparatedFoldersWithQuotesAndAnAuthorshipColumn)
{
    const QByteArray meta = R"(<archive xmlns="http://rs.tdwg.org/dwc/text/">
  <core fieldsTerminatedBy="," ignoreHeaderLines="1" rowType="http://rs.tdwg.org/dwc/terms/Taxon">
    <files><location>taxon.csv</location></files>
    <id index="0"/>
    <field index="1" term="http://rs.tdwg.org/dwc/terms/scientificName"/>
    <field index="2" term="http://rs.tdwg.org/dwc/terms/scientificNameAuthorship"/>
    <field index="3" term="http://rs.tdwg.org/dwc/terms/taxonRank"/>
    <field index="4" term="http://rs.tdwg.org/dwc/terms/nomenclaturalCode"/>
    <field index="5" term="http://rs.tdwg.org/dwc/terms/class"/>
    <field index="6" term="http://rs.tdwg.org/dwc/terms/namePublishedIn"/>
    <field index="7" term="http://rs.tdwg.org/dwc/terms/originalNameUsageID"/>
  </core>
</archive>)";
    const QByteArray taxa =
        "id,name,author,rank,code,class,publishedIn,basionym\n"
        "1,\"Vulpes vulpes (Linnaeus, 1758)\",\"(Linnaeus, 1758)\",species,ICZN,Mammalia,,2\n"
        "2,\"Canis vulpes Linnaeus, 1758\",\"Linnaeus, 1758\",species,ICZN,Mammalia,"
        "\"Linnaeus, C. 1758. Systema Naturae,\nvol. 1\",\n"
        "3,Carabus (Procrustes) coriaceus,\"Linnaeus, 1758\",subspecies,ICZN,Insecta,,\n"
        "4,Temperate Flooded & Swamp Forest,,formation,ICPN,,,\n"
        "5,Fagion sylvaticae,Luquet 1926,alliance,ICPN,,,99\n"
        "6,Canis lupus,\"Linnaeus, 1758\",species,ICZN,Mammalia,\"Notes\\N 2\\\\x\tfolio\r1758\r\nend\",\n";
    const ImportSummary summary = import({{"meta.xml", meta}, {"taxon.csv", taxa}}, {}, false);
    EXPECT_EQ(summary.imported, 6);
    EXPECT_EQ(
        described(*db, "Vulpes vulpes"),
        "Vulpes vulpes | (Linnaeus, 1758) | A | Vertebrate Animal | Species |  -> Canis vulpes (Basionym)");
    EXPECT_EQ(described(*db, "Carabus (Procrustes) coriaceus"),
              "Carabus (Procrustes) coriaceus | Linnaeus, 1758 | A | Invertebrate Animal | Subspecies | ");
    EXPECT_EQ(described(*db, "Temperate Flooded & Swamp Forest"),
              "Temperate Flooded & Swamp Forest |  | C | Terrestrial Community | Formation | ")
        << "with an authorship column, a name is not split";
    EXPECT_EQ(described(*db, "Fagion sylvaticae"),
              "Fagion sylvaticae | Luquet 1926 | C | Terrestrial Community | Alliance | ")
        << "a basionym outside the checklist is no link";
    EXPECT_EQ(referencesOf(*db, "Canis vulpes"),
              QStringList({"LINN1758 Linnaeus, C. 1758. Systema Naturae,\nvol. 1 (1758) original"}));
    EXPECT_EQ(referencesOf(*db, "Canis lupus"),
              QStringList({"NOTE1758 Notes\\N 2\\\\x\tfolio\n1758\nend (1758) original"}))
        << "backslashes and tabs are stored as written and line breaks as lines, on either engine";
}

TEST_P(ChecklistImport, ColdpPackagesInEitherLayout)
{
    const PackageFiles usage = {
        {"metadata.yaml", "title: A small checklist\n"},
        {"NameUsage.tsv",
         "col:ID\tcol:parentID\tcol:status\tcol:scientificName\tcol:authorship\tcol:rank\tcol:code\t"
         "col:kingdom\tcol:nameReferenceID\tcol:referenceID\n"
         "10\t\taccepted\tPicea abies\t(L.) H.Karst.\tspecies\tbotanical\tPlantae\tr1\tr2\n"
         "11\t10\tsynonym\tPinus abies\tL.\tspecies\tbotanical\tPlantae\tr2\t\n"
         "12\t\taccepted\tPicea\tA.Dietr.\tgenus\tbotanical\tPlantae\t\t\n"},
        {"Reference.tsv",
         "ID\tcitation\tyear\n"
         "r1\tKarsten, H. 1881. Deutsche Flora\t1881\n"
         "r2\tLinnaeus, C. 1753. Species Plantarum\t1753\n"
         "r3\tNot linked to any name. 1999\t\n"}};
    const ImportSummary summary = import(usage);
    EXPECT_EQ(summary.format, "ColDP");
    EXPECT_EQ(summary.imported, 3);
    EXPECT_EQ(described(*db, "Pinus abies"),
              "Pinus abies | L. | P | Vascular Plant | Species | Synonym -> Picea abies");
    EXPECT_EQ(referencesOf(*db, "Picea abies"),
              QStringList({"r1 Karsten, H. 1881. Deutsche Flora (1881) original",
                           "r2 Linnaeus, C. 1753. Species Plantarum (1753)"}));
    EXPECT_EQ(summary.referencesAdded, 3) << "a package's publications come in, linked or not";

    auto second = std::make_unique<test::TestDatabase>(GetParam(), false);
    db = second->open();
    const PackageFiles split = {{"Name.tsv",
                                 "ID\tscientificName\tauthorship\trank\tcode\treferenceID\n"
                                 "n1\tPicea abies\t(L.) H.Karst.\tspecies\tICN\tr1\n"
                                 "n2\tPinus abies\tL.\tspecies\tICN\t\n"
                                 "n3\tAstacus astacus\t(Linnaeus, 1758)\tspecies\tICZN\t\n"},
                                {"Taxon.tsv",
                                 "ID\tnameID\tparentID\tkingdom\tphylum\n"
                                 "t1\tn1\t\tPlantae\tTracheophyta\n"
                                 "t3\tn3\t\tAnimalia\tArthropoda\n"},
                                {"Synonym.tsv",
                                 "ID\ttaxonID\tnameID\tstatus\n"
                                 "s1\tt1\tn2\thomotypic synonym\n"},
                                {"Reference.tsv",
                                 "ID\tcitation\n"
                                 "r1\tKarsten, H. 1881. Deutsche Flora\n"}};
    EXPECT_EQ(import(split).imported, 3);
    EXPECT_EQ(described(*db, "Pinus abies"),
              "Pinus abies | L. | P | Vascular Plant | Species | Synonym -> Picea abies (homotypic synonym)");
    EXPECT_EQ(described(*db, "Astacus astacus"),
              "Astacus astacus | (Linnaeus, 1758) | A | Invertebrate Animal | Species | Accepted");
    EXPECT_EQ(referencesOf(*db, "Picea abies"),
              QStringList({"r1 Karsten, H. 1881. Deutsche Flora (1881) original"}));

    // Comma-separated tables quote what holds a comma; a reference without a whole citation is
    // put together from its parts.
    auto third = std::make_unique<test::TestDatabase>(GetParam(), false);
    db = third->open();
    const PackageFiles csv = {{"NameUsage.csv",
                               "ID,status,scientificName,authorship,rank,code,nameReferenceID\n"
                               "u1,accepted,Vulpes vulpes,\"(Linnaeus, 1758)\",species,ICZN,b1\n"},
                              {"Reference.csv",
                               "ID,author,year,title\n"
                               "b1,\"Linnaeus, C.\",1758,Systema Naturae\n"}};
    EXPECT_EQ(import(csv).imported, 1);
    EXPECT_EQ(described(*db, "Vulpes vulpes"),
              "Vulpes vulpes | (Linnaeus, 1758) | A | Invertebrate Animal | Species | Accepted");
    EXPECT_EQ(referencesOf(*db, "Vulpes vulpes"),
              QStringList({"b1 Linnaeus, C. 1758. Systema Naturae (1758) original"}));
}

TEST_P(ChecklistImport, ColdpAsPublishedDefaultsFileNamesInAnyCaseAndAuthorsByTheirIds)
{
    const PackageFiles files = {
        {"data/default.yaml",
         "# what every row would repeat\nName:\n  code: zoological  # ICZN\n"
         "Reference:\n  \"col:year\": '1900'\n"},
        {"data/name.tsv",
         "ID\tscientificName\trank\tcombinationAuthorshipID\tcombinationAuthorshipYear\tbasionymAuthorshipID"
         "\t"
         "basionymAuthorshipYear\tcode\n"
         "n1\tSalticus scenicus\tspecies\ta1\t1757\t\t\t\n"
         "n2\tEvarcha arcuata\tspecies\ta2,a3\t1992\ta4\t1757\t\n"
         "n3\tPinus\tgenus\ta5\t\t\t\tbotanical\n"},
        {"data/author.tsv",
         "ID\tgiven\tfamily\tabbreviationBotany\n"
         "a1\tCarl\tClerck\t\na2\t\tSmith\t\na3\t\tJones\t\na4\t\tClerck\t\na5\tCarl\tLinnaeus\tL.\n"}};
    const ImportSummary summary = import(files);
    EXPECT_EQ(summary.format, "ColDP");
    EXPECT_EQ(summary.imported, 3);
    EXPECT_EQ(described(*db, "Salticus scenicus"),
              "Salticus scenicus | Clerck, 1757 | A | Invertebrate Animal | Species | ");
    EXPECT_EQ(described(*db, "Evarcha arcuata"),
              "Evarcha arcuata | (Clerck, 1757) Smith & Jones, 1992 | A | Invertebrate Animal | Species | ");
    EXPECT_EQ(described(*db, "Pinus"), "Pinus | L. | P | Vascular Plant | Genus | ")
        << "a row's own code before the default";
}

TEST_P(ChecklistImport, BadRowsAreRefusedByFileAndLineOrSkippedWithTheirReasons)
{
    struct Case {
        QByteArray rows;
        const char* error;
        const char* reason;
    };
    const Case cases[] = {
        {"2\tAbies nordmanniana\tblah\t\n", "taxon.txt, line 3: the rank \"blah\" is unknown",
         "the rank \"blah\" is unknown"},
        {"1\tAbies nordmanniana\tspecies\t\n", "taxon.txt, line 3: the ID \"1\" is used already on line 2",
         "the ID \"1\" is used already on line 2"},
        {"2\tAbies nordmanniana\tspecies\t99\n",
         "taxon.txt, line 3: the accepted name \"99\" is not in the checklist",
         "the accepted name \"99\" is not in the checklist"},
        {"2\t\tspecies\t\n", "taxon.txt, line 3: the row has no name and no genus",
         "the row has no name and no genus"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(refused(plainArchive(c.rows)), c.error);
        ImportOptions skipping;
        skipping.skipBadRows = true;
        const ImportSummary summary = import(plainArchive(c.rows), skipping);
        ASSERT_EQ(summary.skipped.size(), 1u) << c.error;
        EXPECT_EQ(summary.skipped.front().origin.text(), "taxon.txt, line 3");
        EXPECT_EQ(summary.skipped.front().reason, c.reason);
        EXPECT_EQ(summary.imported, 2) << c.error;
        // Starting afresh rewrites the trail, which only the administrator may.
        const auto admin = std::make_unique<Database>(database->adminUrl(), Database::Access::ReadWrite);
        admin->exec("DELETE FROM audit_log");
        admin->exec("UPDATE scientific_name SET nomenclaturally_est_sn_id = NULL");
        admin->exec("DELETE FROM scientific_name");
    }

    // A skipped accepted name takes its synonyms with it, each with its reason.
    ImportOptions skipping;
    skipping.skipBadRows = true;
    const ImportSummary chained = import(plainArchive("2\tAbies nordmanniana\tspecies\t99\n"
                                                      "4\tAbies excelsa\tspecies\t2\n"),
                                         skipping);
    EXPECT_EQ(chained.imported, 2) << "Abies alba and its synonym Abies pectinata";
    ASSERT_EQ(chained.skippedRows, 2);
    EXPECT_EQ(chained.skipped.back().reason, "the accepted name \"2\" is not in the checklist");

    // A row skipped for its name is not skipped a second time for the publication it gives.
    const QByteArray published = R"(<archive xmlns="http://rs.tdwg.org/dwc/text/">
  <core fieldsTerminatedBy="\t" fieldsEnclosedBy="" ignoreHeaderLines="1" rowType="http://rs.tdwg.org/dwc/terms/Taxon">
    <files><location>taxon.txt</location></files>
    <id index="0"/>
    <field index="1" term="http://rs.tdwg.org/dwc/terms/scientificName"/>
    <field index="2" term="http://rs.tdwg.org/dwc/terms/taxonRank"/>
    <field index="3" term="http://rs.tdwg.org/dwc/terms/namePublishedIn"/>
    <field term="http://rs.tdwg.org/dwc/terms/kingdom" default="Plantae"/>
  </core>
</archive>)";
    const ImportSummary once = import({{"meta.xml", published},
                                       {"taxon.txt",
                                        "id\tname\trank\tpublished\n"
                                        "1\tAbies alba Mill.\tblah\tMiller, P. 1768. Dict.\n"
                                        "2\tAbies nordmanniana\tbleh\tSpach 1842. Hist.\n"
                                        "3\tPicea abies\tspecies\t\n"}},
                                      skipping);
    EXPECT_EQ(once.namesRead, 3);
    EXPECT_EQ(once.skippedRows, 2) << "each row once";
    EXPECT_EQ(once.skipped.front().reason, "the rank \"blah\" is unknown") << "the first reason";
}

TEST_P(ChecklistImport, RowsAndDescriptionsAreReadAsPublishedArchivesWriteThem)
{
    // Trailing empty fields dropped, a row with a field too many, a column declared with an
    // empty index whose default applies, an ID element without an index on an extension of a
    // kind this program does not read, and a References extension whose file is missing.
    const QByteArray meta = R"(<archive xmlns="http://rs.tdwg.org/dwc/text/">
  <core fieldsTerminatedBy="\t" fieldsEnclosedBy="" ignoreHeaderLines="1" rowType="http://rs.tdwg.org/dwc/terms/Taxon">
    <files><location>taxon.txt</location></files>
    <id index="0"/>
    <field index="1" term="http://rs.tdwg.org/dwc/terms/scientificName"/>
    <field index="2" term="http://rs.tdwg.org/dwc/terms/taxonRank"/>
    <field index="3" term="http://rs.tdwg.org/dwc/terms/acceptedNameUsageID"/>
    <field index="4" term="http://rs.tdwg.org/dwc/terms/taxonomicStatus"/>
    <field index="" term="http://rs.tdwg.org/dwc/terms/kingdom" default="Animalia"/>
  </core>
  <extension rowType="http://rs.gbif.org/terms/1.0/VernacularName">
    <files><location>vernacular.txt</location></files>
    <coreid/>
    <field index="1" term="http://rs.tdwg.org/dwc/terms/vernacularName"/>
  </extension>
  <extension rowType="http://rs.gbif.org/terms/1.0/Reference">
    <files><location>references.txt</location></files>
    <coreid index="0"/>
    <field index="1" term="http://purl.org/dc/terms/bibliographicCitation"/>
  </extension>
</archive>)";
    const QByteArray taxa = "id\tname\trank\taccepted\tstatus\n"
                            "1\tBalaena mysticetus Linnaeus, 1758\tspecies\n"
                            "2\tBalaena\n"
                            "3\tBalaena glacialis Müller, 1776\tspecies\t\taccepted\textra\n"
                            "4\tBalaena mysticeta\tspecies\t1\n";
    const ImportSummary summary = import({{"meta.xml", meta}, {"taxon.txt", taxa}});
    EXPECT_EQ(summary.namesRead, 4);
    EXPECT_EQ(summary.imported, 4);
    EXPECT_EQ(summary.skippedRows, 0);
    EXPECT_EQ(described(*db, "Balaena mysticetus"),
              "Balaena mysticetus | Linnaeus, 1758 | A | Invertebrate Animal | Species | ");
    EXPECT_EQ(described(*db, "Balaena"), "Balaena |  | A | Invertebrate Animal |  | ")
        << "a row of two fields is a name without rank";
    EXPECT_EQ(described(*db, "Balaena mysticeta"),
              "Balaena mysticeta |  | A | Invertebrate Animal | Species | Synonym -> Balaena mysticetus");
    const QString said = summary.describe(10);
    EXPECT_TRUE(
        said.contains("warning: rows with more fields than the header (the extra fields are not read): 1\n"
                      "    taxon.txt, line 4: 6 fields where the header has 5"))
        << said.toStdString();
    EXPECT_TRUE(said.contains("warning: extensions this program does not read: 1\n"
                              "    meta.xml, line 11: VernacularName (vernacular.txt)"))
        << said.toStdString();
    EXPECT_TRUE(said.contains("warning: extension files missing from the archive: 1"
                              "\n    meta.xml, line 16: references.txt is not in the archive"))
        << said.toStdString();
}

// A spider checklist as data papers publish it: no code, no kingdom, a family column on some
// rows, a tree by parentNameUsageID with children before their parents, and names in parts.
const QByteArray TreeMeta = R"(<archive xmlns="http://rs.tdwg.org/dwc/text/">
  <core fieldsTerminatedBy="\t" fieldsEnclosedBy="" ignoreHeaderLines="1" rowType="http://rs.tdwg.org/dwc/terms/Taxon">
    <files><location>taxon.txt</location></files>
    <id index="0"/>
    <field index="0" term="http://rs.tdwg.org/dwc/terms/taxonID"/>
    <field index="1" term="http://rs.tdwg.org/dwc/terms/parentNameUsageID"/>
    <field index="2" term="http://rs.tdwg.org/dwc/terms/scientificName"/>
    <field index="3" term="http://rs.tdwg.org/dwc/terms/taxonRank"/>
    <field index="4" term="http://rs.tdwg.org/dwc/terms/family"/>
    <field index="5" term="http://rs.tdwg.org/dwc/terms/genus"/>
    <field index="6" term="http://rs.tdwg.org/dwc/terms/specificEpithet"/>
    <field index="7" term="http://rs.tdwg.org/dwc/terms/infraspecificEpithet"/>
    <field index="8" term="http://rs.tdwg.org/dwc/terms/scientificNameAuthorship"/>
  </core>
</archive>)";

TEST_P(ChecklistImport, NameTypesComeFromTheClassificationTheParentsOrTheUsersChoice)
{
    const QByteArray taxa = "id\tparent\tname\trank\tfamily\tgenus\tepithet\tinfra\tauthor\n"
                            "s2\tg1\t\tsubspecies\t\tAraneus\tdiadematus\tstellatus\tWalckenaer, 1802\n"
                            "s1\tg1\tAraneus diadematus Clerck, 1757\tspecies\t\t\t\t\t\n"
                            "g1\tf1\tAraneus\tgenus\n"
                            "f1\t\tAraneidae\tfamily\n"
                            "x1\t\tZelotes\tgenus\n"
                            "p1\t\tQuercus robur\tspecies\tFagaceae\n"
                            "b1\t\t\tspecies\n";
    const PackageFiles files {{"meta.xml", TreeMeta}, {"taxon.txt", taxa}};
    EXPECT_EQ(refused(files), "taxon.txt, line 8: the row has no name and no genus");

    ImportOptions skipping;
    skipping.skipBadRows = true;
    const ImportSummary summary = import(files, skipping);
    EXPECT_EQ(summary.namesRead, 7);
    EXPECT_EQ(summary.imported, 5);
    EXPECT_EQ(described(*db, "Araneus diadematus stellatus"),
              "Araneus diadematus stellatus | Walckenaer, 1802 | A | Invertebrate Animal | Subspecies | ")
        << "an atomised name of a zoological parent chain has no subspecies marker";
    EXPECT_EQ(described(*db, "Araneus diadematus"),
              "Araneus diadematus | Clerck, 1757 | A | Invertebrate Animal | Species | ")
        << "the authorship column empty on the row: split from the name";
    EXPECT_EQ(described(*db, "Araneus"), "Araneus |  | A | Invertebrate Animal | Genus | ");
    EXPECT_EQ(described(*db, "Quercus robur"), "Quercus robur |  | P | Vascular Plant | Species | ");
    EXPECT_EQ(described(*db, "Zelotes"), "(no Zelotes)");
    ASSERT_EQ(summary.skipped.size(), 2u);
    EXPECT_EQ(summary.skipped[0].origin.text(), "taxon.txt, line 8");
    EXPECT_EQ(summary.skipped[1].origin.text(), "taxon.txt, line 6");
    EXPECT_EQ(summary.skipped[1].reason,
              "nothing on the row or above it tells whether the name is botanical, "
              "zoological or a community; choose a name type for the import");
    EXPECT_TRUE(summary.describe(0).contains(
        "name types from: the higher classification 2, the parent or accepted name 3"))
        << summary.describe(0).toStdString();

    // The user's choice types what nothing else does, and nothing else.
    auto second = std::make_unique<test::TestDatabase>(GetParam(), false);
    db = second->open();
    skipping.nameType = QChar(u'A');
    const ImportSummary chosen = import(files, skipping);
    EXPECT_EQ(chosen.imported, 6);
    EXPECT_EQ(described(*db, "Zelotes"), "Zelotes |  | A | Invertebrate Animal | Genus | ");
    EXPECT_EQ(described(*db, "Quercus robur"), "Quercus robur |  | P | Vascular Plant | Species | ");

    // A package none of whose names says its type is refused in one sentence.
    ImportOptions untyped;
    untyped.skipBadRows = true;
    EXPECT_EQ(refused({{"meta.xml", TreeMeta},
                       {"taxon.txt",
                        "id\tparent\tname\trank\tfamily\tgenus\tepithet\tinfra\tauthor\n1\t\tZelotes\n2\t1\tZ"
                        "elotes x\n"}},
                      untyped),
              "No row says whether its names are botanical, zoological or ecological communities; choose a "
              "name type for the import.");
}

TEST_P(ChecklistImport, ASingleSpreadsheetIsReadByTheTermsItsHeaderNames)
{
    // As a spreadsheet program saves it: a byte order mark, terms in any case and with a
    // namespace, semicolons, quotes around a cell that holds one, Windows line ends.
    const QByteArray csv = "\xEF\xBB\xBF"
                           "TaxonID;dwc:ScientificName;SCIENTIFICNAMEAUTHORSHIP;taxonRank;Family\r\n"
                           "1;Salmo trutta;Linnaeus, 1758;species;Salmonidae\r\n"
                           "2;\"Salmo trutta fario\";\"Linnaeus; 1758\";subspecies;Salmonidae\r\n"
                           "3;Thymallus thymallus (Linnaeus, 1758);;species;Salmonidae\r\n";
    const ImportSummary zipped = import({{"fishes/fish-list.csv", csv}});
    EXPECT_EQ(zipped.format, "Spreadsheet");
    EXPECT_EQ(zipped.imported, 3);
    EXPECT_EQ(described(*db, "Salmo trutta fario"),
              "Salmo trutta fario | Linnaeus; 1758 | A | Vertebrate Animal | Subspecies | ");
    EXPECT_EQ(described(*db, "Thymallus thymallus"),
              "Thymallus thymallus | (Linnaeus, 1758) | A | Vertebrate Animal | Species | ");

    // A bare tab-separated file, no ID column, an unquoted quote inside a name.
    auto second = std::make_unique<test::TestDatabase>(GetParam(), false);
    db = second->open();
    const QString bare = folder.filePath("plants.tsv");
    test::writeFolder(folder.path(),
                      {{"plants.tsv",
                        "scientificName\tkingdom\n"
                        "Abies alba Mill.\tPlantae\n"
                        "\"Abies\" hybrid\tPlantae\n"}});
    const ImportSummary tsv = ChecklistImporter(*db, UserSession::load(*db, "editor")).import(bare, {});
    EXPECT_EQ(tsv.imported, 2);
    EXPECT_EQ(described(*db, "Abies alba"), "Abies alba | Mill. | P | Vascular Plant |  | ");

    // Not UTF-8: said with what to do.
    test::writeFolder(folder.path(),
                      {{"latin.csv", "scientificName,kingdom\nIso\xEBtes lacustris L.,Plantae\n"}});
    EXPECT_EQ(
        refusal([&] {
            ChecklistImporter(*db, UserSession::load(*db, "editor")).import(folder.filePath("latin.csv"), {});
        }),
        "latin.csv, line 2: the text is not valid UTF-8 (save the file as UTF-8)");
}

TEST_P(ChecklistImport, HostileRowsAreEachPassedOverWithAReasonOrKeptByARule)
{
    ImportOptions skipping;
    skipping.skipBadRows = true;
    const QByteArray longCitation = "Miller, P. 1768. " + QByteArray(2500, 'x');
    static const char nulRow[] = "2\tAbies no\0rdmanniana\tspecies\t\n\0"
                                 "4\tAbies\tgenus\t\n";
    PackageFiles files = plainArchive(QByteArray(nulRow, sizeof nulRow - 1));
    const ImportSummary nul = import(files, skipping);
    ASSERT_EQ(nul.skipped.size(), 2u) << "in a name, and in an ID";
    EXPECT_EQ(nul.skipped[0].reason, "the row holds a NUL character, which no name or citation may");
    EXPECT_EQ(nul.skipped[1].origin.text(), "taxon.txt, line 4");
    EXPECT_EQ(nul.imported, 2);

    auto second = std::make_unique<test::TestDatabase>(GetParam(), false);
    db = second->open();
    const PackageFiles coldp = {{"NameUsage.tsv",
                                 "ID\tparentID\tstatus\tscientificName\tauthorship\trank\tcode\treferenceID\n"
                                 "1\t\taccepted\tPicea abies\t(L.) H.Karst.\tspecies\tbotanical\tr1\n"
                                 "2\t2\tsynonym\tPinus abies\tL.\tspecies\tbotanical\t\n"
                                 "3\t4\tsynonym\tPinus excelsa\tLam.\tspecies\tbotanical\t\n"
                                 "4\t3\tsynonym\tPicea excelsa\t(Lam.) Link\tspecies\tbotanical\t\n"},
                                {"Reference.tsv",
                                 "ID\tcitation\n"
                                 "r1\t"
                                     + longCitation + "\n"}};
    const ImportSummary links = import(coldp, skipping);
    EXPECT_EQ(links.imported, 1);
    ASSERT_EQ(links.skipped.size(), 3u);
    EXPECT_EQ(links.skipped[0].reason, "the name is given as its own accepted name");
    EXPECT_EQ(links.skipped[1].reason, "the accepted name \"4\" is itself a synonym of this name");
    EXPECT_EQ(links.skipped[2].reason, "the accepted name \"3\" is itself a synonym of this name");
    EXPECT_EQ(db->scalar("SELECT length(full_citation) FROM reference").toInt(), 2000);
    EXPECT_TRUE(
        links.describe(0).contains("warning: citations longer than 2000 characters (kept to their first "
                                   "2000): 1\n    Reference.tsv, line 2: 2517 characters"))
        << links.describe(0).toStdString();

    // A folder package does not follow a link out of itself.
    QTemporaryDir outside;
    test::writeFolder(outside.path(), {{"secret.txt", "taxonID\tscientificName\n1\tSecretus secretus\n"}});
    const QString package = folder.filePath("linked");
    test::writeFolder(package, {{"meta.xml", TaxonMeta}});
    ASSERT_TRUE(QFile::link(outside.filePath("secret.txt"), QDir(package).filePath("taxon.txt")));
    EXPECT_TRUE(refusal([&] {
                    ChecklistImporter(*db, UserSession::load(*db, "editor")).import(package, {});
                }).endsWith("meta.xml names the data file taxon.txt, which the archive does not hold"));
}

TEST_P(ChecklistImport, ANameTypedByItsParentTakesItsParentsCategoryWhenItNamesNoGroupOfItsOwn)
{
    const QByteArray taxa = "id\tparent\tname\trank\tfamily\tgenus\tepithet\tinfra\tauthor\n"
                            "s1\tg1\tEubalaena glacialis (Müller, 1776)\tspecies\n"
                            "g1\tf1\tEubalaena Gray, 1864\tgenus\n"
                            "f1\t\tBalaenidae Gray, 1821\tfamily\n"
                            "s2\tg2\tAraneus diadematus Clerck, 1757\tspecies\n"
                            "g2\t\tAraneus Clerck, 1757\tgenus\tAraneidae\n";
    EXPECT_EQ(import({{"meta.xml", TreeMeta}, {"taxon.txt", taxa}}).imported, 5);
    EXPECT_EQ(described(*db, "Eubalaena glacialis"),
              "Eubalaena glacialis | (Müller, 1776) | A | Vertebrate Animal | Species | ");
    EXPECT_EQ(described(*db, "Eubalaena"), "Eubalaena | Gray, 1864 | A | Vertebrate Animal | Genus | ");
    EXPECT_EQ(described(*db, "Araneus diadematus"),
              "Araneus diadematus | Clerck, 1757 | A | Invertebrate Animal | Species | ");
}

TEST_P(ChecklistImport, HostilePackagesAreRefusedQuicklyWithTheLimitTheyPassed)
{
    // Nested far past any real description: refused at the limit, not parsed to the end.
    QByteArray deep = "<archive><core>";
    for (int i = 0; i < 200'000; ++i)
        deep += "<x>";
    EXPECT_EQ(refused({{"meta.xml", deep}, {"taxon.txt", ""}}),
              "meta.xml, line 1: the description is nested deeper than 32 elements");

    PackageFiles huge = plainArchive("");
    huge["meta.xml"] = QByteArray(DwcaMeta::MaxBytes + 10, '\0');
    EXPECT_EQ(refused(huge),
              "meta.xml, line 1: the description is larger than 4 MiB, far more than any "
              "archive needs");

    PackageFiles overflow = plainArchive("");
    overflow["meta.xml"].replace("index=\"3\"", "index=\"2147483647\"");
    EXPECT_EQ(refused(overflow),
              "meta.xml, line 9: index=\"2147483647\" is past the last column this "
              "program reads (9999)");

    // A line without an end: the reader stops at the limit of one field.
    PackageFiles endless = plainArchive("");
    endless["taxon.txt"] += QByteArray(DwcaRowReader::MaxFieldLength + 10, '\0');
    EXPECT_EQ(refused(endless),
              "taxon.txt, line 4: a field is longer than 1048576 characters, the most one "
              "field may hold");
    PackageFiles tabs = plainArchive("");
    tabs["taxon.txt"] += QByteArray(DwcaRowReader::MaxRowLength + 10, '\t');
    EXPECT_EQ(refused(tabs),
              "taxon.txt, line 4: the row is longer than 4194304 characters, the most one "
              "row may hold");
}

TEST_P(ChecklistImport, BrokenPackagesAreRefusedAndChangeNothing)
{
    PackageFiles invalid = plainArchive("2\tAbies nordmanniana\tspecies\t\n");
    invalid["taxon.txt"].replace("nordmanniana", "nordmann\xC3\x28");
    EXPECT_EQ(refused(invalid),
              "taxon.txt, line 3: the text is not valid UTF-8 (declare its encoding in meta.xml)");

    PackageFiles missing = plainArchive("");
    missing.erase("taxon.txt");
    missing["other.txt"] = "x";
    EXPECT_TRUE(
        refused(missing).endsWith("meta.xml names the data file taxon.txt, which the archive does not hold"));

    const QString damaged = folder.filePath("damaged.zip");
    QFile file(damaged);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("PK\x03\x04 this is not the rest of a zip archive");
    file.close();
    const QStringList before = snapshot(*db);
    const QString why =
        refusal([&] { ChecklistImporter(*db, UserSession::load(*db, "editor")).import(damaged, {}); });
    EXPECT_TRUE(why.contains("damaged.zip")) << why.toStdString();
    EXPECT_EQ(snapshot(*db), before);

    EXPECT_TRUE(refused({{"readme.pdf", "hello"}}).contains("is neither a Darwin Core Archive"));
    EXPECT_EQ(
        refused({{"readme.txt", "hello"}}),
        "readme.txt, line 1: the header names no scientificName or genus column (a spreadsheet's first row "
        "names its columns by their Darwin Core terms)");

    // A viewer may not import.
    test::writeZip(folder.filePath("good.zip"), plainArchive(""));
    Database asViewer(database->urlFor("viewer"), Database::Access::ReadWrite);
    EXPECT_EQ(refusal([&] {
                  ChecklistImporter(asViewer, UserSession::load(asViewer, "viewer"))
                      .import(folder.filePath("good.zip"), {});
              }),
              "User \"viewer\" may not add names to " + asViewer.url().display());
}

TEST_P(ChecklistImport, ACancelLeavesTheDatabaseAsItWas)
{
    QByteArray rows;
    for (int i = 10; i < 20'000; ++i)
        rows += QByteArray::number(i) + "\tAbies x" + QByteArray::number(i) + "\tspecies\t\n";
    const QStringList before = snapshot(*db);
    ImportOptions options;
    int calls = 0;
    options.progress = [&](int permille, const QString&) {
        if (++calls == 2 && permille < 1000)
            throw ExchangeCancelled();
    };
    EXPECT_THROW(import(plainArchive(rows), options), ExchangeCancelled);
    EXPECT_EQ(snapshot(*db), before);
    if (GetParam() == Dialect::SQLite) {
        EXPECT_EQ(db->scalar("PRAGMA journal_mode").toString(), "wal")
            << "other readers get the write-ahead log back after a cancel";
    }
    EXPECT_EQ(import(plainArchive("")).imported, 2) << "the next import finds its staging tables free";
}

TEST_P(ChecklistImport, ReadersOnOtherConnectionsSeeTheImportWhenItEnds)
{
    const std::unique_ptr<Database> reader = database->open(Database::Access::ReadOnly);
    const qint64 before = reader->scalar("SELECT count(*) FROM scientific_name").toLongLong();
    EXPECT_EQ(import(plainArchive("2\tAbies nordmanniana\tspecies\t\n")).imported, 3);
    EXPECT_EQ(reader->scalar("SELECT count(*) FROM scientific_name").toLongLong(), before + 3);
    if (GetParam() == Dialect::SQLite) {
        EXPECT_EQ(db->scalar("PRAGMA journal_mode").toString(), "wal");
    }
}

// The search panel puts a category text into its statement between straight quotes as it is,
// so the import stores a checklist's straight quote as the typographic apostrophe: the category
// stays searchable and a text made to break out of the statement is only a name.
TEST_P(ChecklistImport, CategoryTextsWithQuotesAreStoredSoThatTheSearchFindsThemAndNothingElseRuns)
{
    const QByteArray meta = R"(<archive xmlns="http://rs.tdwg.org/dwc/text/">
  <core fieldsTerminatedBy="\t" ignoreHeaderLines="1" rowType="http://rs.tdwg.org/dwc/terms/Taxon">
    <files><location>taxon.txt</location></files>
    <id index="0"/>
    <field index="1" term="http://rs.tdwg.org/dwc/terms/scientificName"/>
    <field index="2" term="http://rs.tdwg.org/dwc/terms/taxonRank"/>
    <field index="3" term="http://bryx.invalid/terms/nameCategory"/>
    <field term="http://rs.tdwg.org/dwc/terms/kingdom" default="Plantae"/>
  </core>
</archive>)";
    const QByteArray taxa = "id\tname\trank\tcategory\n"
                            "1\tAbies alba Mill.\tspecies\tMurray's Plants\n"
                            "2\tPicea abies (L.) H.Karst.\tspecies\tx'; DELETE FROM audit_log; --\n";
    EXPECT_EQ(import({{"meta.xml", meta}, {"taxon.txt", taxa}}).imported, 2);
    EXPECT_EQ(described(*db, "Abies alba"), "Abies alba | Mill. | P | Murray\u2019s Plants | Species | ");
    const qint64 trail = db->scalar("SELECT count(*) FROM audit_log").toLongLong();
    ASSERT_GT(trail, 0);

    auto viewer = database->appManagerFor("viewer");
    for (const auto& [typed, found] : {std::pair {"Murray\u2019s Plants", "Abies alba"},
                                       std::pair {"x\u2019; DELETE FROM audit_log; --", "Picea abies"}}) {
        QString sql = BuildSearchSQL({0, QString::fromUtf8(typed), {}, -1, {}, {}});
        const auto result = viewer->CallGetQueryRSXML(sql);
        ASSERT_EQ(result->RecordCount(), 1) << sql.toStdString();
        EXPECT_EQ(result->Fields("Scientific_Name").Value().toString(), QString(found));
    }
    EXPECT_EQ(db->scalar("SELECT count(*) FROM audit_log").toLongLong(), trail);
}

INSTANTIATE_ON_EACH_ENGINE(ChecklistImport);

class ChecklistImportOnSample : public ChecklistImport {
protected:
    bool withSample() const override { return true; }
};

TEST_P(ChecklistImportOnSample, NamesAlreadyStoredAreLeftAloneOrUpdatedOnRequest)
{
    // Abies alba Mill. is a species in the sample; the checklist makes it a variety and adds a
    // synonym of it.
    const PackageFiles files = {{"meta.xml", TaxonMeta},
                                {"taxon.txt",
                                 "taxonID\tscientificName\ttaxonRank\tacceptedNameUsageID\n"
                                 "1\tAbies alba Mill.\tvariety\t\n"
                                 "2\tAbies pectinata (Lam.) DC.\tspecies\t1\n"}};
    const int32_t abiesAlba = database->nameId("Abies alba", "Mill.");
    const ImportSummary kept = import(files);
    EXPECT_EQ(kept.alreadyPresent, 1);
    EXPECT_EQ(kept.imported, 1);
    EXPECT_EQ(described(*db, "Abies pectinata"),
              "Abies pectinata | (Lam.) DC. | P | Vascular Plant | Species | Synonym -> Abies alba")
        << "a link to a stored name";
    EXPECT_EQ(db->scalar("SELECT nomenclaturally_est_sn_id FROM scientific_name WHERE scientific_name = "
                         "'Abies pectinata'")
                  .toInt(),
              abiesAlba);
    EXPECT_EQ(
        db->scalar(
              "SELECT classification_level_name FROM d_classification_level l JOIN scientific_name sn ON "
              "sn.d_classification_level_id = l.d_classification_level_id WHERE scientific_name_id = ?",
              {abiesAlba})
            .toString(),
        "Species");

    ImportOptions updating;
    updating.update = true;
    const ImportSummary updated = import(files, updating);
    EXPECT_EQ(updated.updated, 2) << "Abies alba, and Abies pectinata from the first import";
    EXPECT_EQ(
        db->scalar(
              "SELECT classification_level_name FROM d_classification_level l JOIN scientific_name sn ON "
              "sn.d_classification_level_id = l.d_classification_level_id WHERE scientific_name_id = ?",
              {abiesAlba})
            .toString(),
        "Variety");
    EXPECT_EQ(
        db->scalar("SELECT count(*) FROM audit_log WHERE primary_key = ? AND action = 'U' AND column_name = "
                   "'d_classification_level_id' AND old_value = '2' AND audit_log_column_id IS NOT NULL",
                   {abiesAlba})
            .toInt(),
        1)
        << "the change is in the name's audit trail with the old value";
    EXPECT_EQ(db->scalar("SELECT row_version FROM scientific_name WHERE scientific_name_id = ?", {abiesAlba})
                  .toInt(),
              2);
}

INSTANTIATE_ON_EACH_ENGINE(ChecklistImportOnSample);

} // namespace
