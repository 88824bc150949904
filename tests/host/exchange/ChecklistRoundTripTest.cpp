#include "../TestDatabase.h"
#include "TestPackage.h"
#include "db/Database.h"
#include "db/NameGenerator.h"
#include "error/Error.h"
#include "exchange/ChecklistExporter.h"
#include "exchange/ChecklistImporter.h"
#include "support/QtPrinters.h"

#include <QDir>
#include <QMap>
#include <QSqlQuery>
#include <QSysInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace bryx;
using namespace bryx::host;

namespace {

QString text(const QVariant& value)
{
    return value.isNull() ? QStringLiteral("-") : value.toString();
}

// Every stored name as a user would compare two databases: its author, type, category, level,
// establishment, established name and publications, by name rather than by ID.
QStringList namesAsStored(Database& db)
{
    QMap<qint64, QStringList> publications;
    QSqlQuery links(db.sql());
    links.exec("SELECT x.scientific_name_id, r.reference_code, r.full_citation, r.publication_year, "
               "x.original_publication_ind, x.primary_reference_ind FROM scientific_name_reference x JOIN "
               "reference r "
               "ON r.reference_id = x.reference_id ORDER BY x.scientific_name_id, x.display_order");
    while (links.next())
        publications[links.value(0).toLongLong()]
            << QStringList {text(links.value(1)), text(links.value(2)), text(links.value(3)),
                            text(links.value(4)), text(links.value(5))}
                   .join('/');
    QSqlQuery names(db.sql());
    names.exec(
        "SELECT sn.scientific_name_id, sn.scientific_name, sn.author_name, nc.name_type_cd, "
        "nc.name_category_desc, cl.classification_level_name, e.nomenclaturally_est_desc, l.scientific_name, "
        "l.author_name, sn.relationship_to_establ_name, sn.placeholder_name_ind, "
        "sn.formatted_scientific_name "
        "FROM scientific_name sn LEFT JOIN d_name_category nc ON nc.d_name_category_id = "
        "sn.d_name_category_id "
        "LEFT JOIN d_classification_level cl ON cl.d_classification_level_id = sn.d_classification_level_id "
        "LEFT JOIN d_nomenclaturally_est e ON e.d_nomenclaturally_est_id = sn.d_nomenclaturally_est_id LEFT "
        "JOIN scientific_name l ON l.scientific_name_id = sn.nomenclaturally_est_sn_id");
    QStringList rows;
    while (names.next()) {
        QStringList row;
        for (int i = 1; i < 12; ++i)
            row << text(names.value(i));
        rows << row.join(" | ") + " | " + publications.value(names.value(0).toLongLong()).join("; ");
    }
    rows.sort();
    return rows;
}

QStringList referencesAsStored(Database& db)
{
    QSqlQuery query(db.sql());
    query.exec("SELECT reference_code, full_citation, publication_year FROM reference");
    QStringList rows;
    while (query.next())
        rows << text(query.value(0)) + " / " + text(query.value(1)) + " / " + text(query.value(2));
    rows.sort();
    return rows;
}

class ChecklistRoundTrip : public test::OnEachEngine { };

TEST_P(ChecklistRoundTrip, WhatIsExportedComesBackTheSameInBothFormats)
{
    test::TestDatabase source(GetParam(), true);
    auto db = source.openAsAdmin();
    // Quotes and an apostrophe where the writer must take care of them.
    db->exec(
        "UPDATE scientific_name SET relationship_to_establ_name = '\"Quoted\" first, then ''single''' WHERE "
        "relationship_to_establ_name IS NOT NULL AND d_nomenclaturally_est_id = 2");
    db->exec("UPDATE reference SET full_citation = '\"Anonymous\" 1999. A citation that starts with a quote' "
             "WHERE "
             "reference_code = 'MILL1768'");
    const QStringList expected = namesAsStored(*db);
    ASSERT_GT(expected.size(), 300);

    QTemporaryDir folder;
    for (const auto& [format, path] :
         {std::pair {ChecklistFormat::DarwinCoreArchive, folder.filePath("names.zip")},
          std::pair {ChecklistFormat::ColDP, folder.filePath("coldp")}}) {
        SCOPED_TRACE(path.toStdString());
        int lastPermille = -1;
        const ExportSummary exported =
            ChecklistExporter(*db).exportTo(path, format, [&](int permille, const QString&) {
                EXPECT_GE(permille, lastPermille);
                lastPermille = permille;
            });
        EXPECT_EQ(exported.names, expected.size());

        test::TestDatabase target(GetParam(), false);
        auto empty = target.open();
        const ImportSummary imported =
            ChecklistImporter(*empty, UserSession::load(*empty, "editor")).import(path, {});
        EXPECT_EQ(imported.imported, expected.size());
        EXPECT_EQ(imported.skippedRows, 0);
        EXPECT_EQ(namesAsStored(*empty), expected);
        // What a bulk load sets aside is back: the name index and key trigger, each name's key,
        // and the write-ahead log other readers rely on.
        if (GetParam() == Dialect::SQLite) {
            const QString schema = "SELECT group_concat(name) FROM (SELECT name FROM sqlite_master WHERE "
                                   "type IN ('index', 'trigger') ORDER BY name)";
            EXPECT_EQ(empty->scalar(schema), db->scalar(schema));
            EXPECT_EQ(empty
                          ->scalar("SELECT count(*) FROM scientific_name WHERE scientific_name_key IS NOT "
                                   "bryx_name_key(scientific_name)")
                          .toInt(),
                      0);
            EXPECT_EQ(empty->scalar("PRAGMA journal_mode").toString(), "wal");
            empty->exec(
                "INSERT INTO scientific_name (scientific_name_id, scientific_name) VALUES (-1, 'Aloë x')");
            EXPECT_EQ(
                empty->scalar("SELECT scientific_name_key FROM scientific_name WHERE scientific_name_id = -1")
                    .toString(),
                QString::fromUtf8("ALOË X"))
                << "the key trigger works again";
            // The text index holds every imported name, and the name added since.
            EXPECT_NO_THROW(empty->exec(
                "INSERT INTO scientific_name_fts (scientific_name_fts) VALUES ('integrity-check')"));
            EXPECT_EQ(empty
                          ->scalar("SELECT count(*) FROM scientific_name_fts WHERE scientific_name_key LIKE "
                                   "'%OË X%'")
                          .toInt(),
                      1);
            EXPECT_EQ(
                empty
                    ->scalar("SELECT count(*) FROM scientific_name_fts WHERE scientific_name_fts MATCH "
                             "'\"IES\"'")
                    .toInt(),
                empty->scalar("SELECT count(*) FROM scientific_name WHERE scientific_name_key LIKE '%IES%'")
                    .toInt());
        }
        if (format == ChecklistFormat::ColDP) {
            EXPECT_EQ(referencesAsStored(*empty), referencesAsStored(*db))
                << "publications linked to no name too";
        }
    }
}

TEST_P(ChecklistRoundTrip, ACancelledOrFailedExportLeavesNoArchiveBehind)
{
    test::TestDatabase source(GetParam(), false);
    auto db = source.open();
    NameGenerator::generate(*db, 10'000);
    QTemporaryDir folder;
    const QString target = folder.filePath("names.zip");
    int reports = 0;
    EXPECT_THROW(ChecklistExporter(*db).exportTo(target, ChecklistFormat::DarwinCoreArchive,
                                                 [&](int, const QString&) {
                                                     if (++reports == 2)
                                                         throw ExchangeCancelled();
                                                 }),
                 ExchangeCancelled);
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList())
        << "neither the archive nor its makings";

    // A folder package: the one there before stays whole through a cancelled export.
    const QString coldp = folder.filePath("coldp");
    ChecklistExporter(*db).exportTo(coldp, ChecklistFormat::ColDP);
    QFile usage(QDir(coldp).filePath("NameUsage.tsv"));
    const qint64 whole = usage.size();
    ASSERT_GT(whole, 100'000);
    db->exec("DELETE FROM scientific_name WHERE scientific_name_id % 2 = 0");
    reports = 0;
    EXPECT_THROW(ChecklistExporter(*db).exportTo(coldp, ChecklistFormat::ColDP,
                                                 [&](int, const QString&) {
                                                     if (++reports == 1)
                                                         throw ExchangeCancelled();
                                                 }),
                 ExchangeCancelled);
    EXPECT_EQ(usage.size(), whole) << "the earlier package as it was";
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList {"coldp"});

    // What an export killed outright left is cleared by the next one; a live one's is not.
    const QString abandoned = folder.filePath(".bryx-export-killed");
    QDir().mkpath(abandoned);
    QFile deadLock(QDir(abandoned).filePath("export.lock"));
    ASSERT_TRUE(deadLock.open(QIODevice::WriteOnly));
    deadLock.write("999999999\nbryx-db\n" + QSysInfo::machineHostName().toUtf8() + "\n");
    deadLock.close();
    ChecklistExporter(*db).exportTo(coldp, ChecklistFormat::ColDP);
    EXPECT_FALSE(QFileInfo::exists(abandoned));
    EXPECT_LT(usage.size(), whole) << "the new package in place";

    // A folder that holds other work is not replaced.
    test::writeFolder(folder.filePath("thesis"), {{"chapter1.odt", "words"}});
    EXPECT_TRUE(test::refusal([&] {
                    ChecklistExporter(*db).exportTo(folder.filePath("thesis"), ChecklistFormat::ColDP);
                }).contains("the folder holds chapter1.odt, which is not part of a checklist package"));
    EXPECT_TRUE(QFile::exists(folder.filePath("thesis/chapter1.odt")));

    const QString unwritable = folder.filePath("no/such/folder/names.zip");
    EXPECT_THROW(ChecklistExporter(*db).exportTo(unwritable, ChecklistFormat::ColDP), Error);
    EXPECT_FALSE(QFile::exists(unwritable));
}

INSTANTIATE_ON_EACH_ENGINE(ChecklistRoundTrip);

} // namespace
