#pragma once

#include "../TestDatabase.h"
#include "data/SqlScientificNameRecord.h"
#include "db/Database.h"
#include "services/SqlAppManager.h"
#include "services/UserSession.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <gtest/gtest.h>

namespace bryx::test {

// A sample database on each engine, a connection as its editor, and names and links made to
// order for the curation tools.
class CurationFixture : public OnEachEngine {
protected:
    void SetUp() override
    {
        OnEachEngine::SetUp();
        if (IsSkipped())
            return;
        database = std::make_unique<TestDatabase>(GetParam());
        appManager = database->appManagerFor(QStringLiteral("editor"));
        db = database->open();
        editor = host::UserSession::load(*db, QStringLiteral("editor"));
        botanical = db->scalar("SELECT min(d_name_category_id) FROM d_name_category WHERE name_type_cd = 'P'")
                        .toInt();
        zoological =
            db->scalar("SELECT min(d_name_category_id) FROM d_name_category WHERE name_type_cd = 'A'")
                .toInt();
        references.clear();
        QSqlQuery rows = db->query("SELECT reference_id FROM reference ORDER BY reference_id", {},
                                   host::Database::Reading::Buffered);
        while (rows.next())
            references.push_back(rows.value(0).toInt());
    }

    // The sample's viewer, as that login's own connection reads it.
    host::UserSession viewer() const
    {
        host::Database asViewer(database->urlFor("viewer"), host::Database::Access::ReadOnly);
        return host::UserSession::load(asViewer, "viewer");
    }
    int32_t addName(const QString& name, const QString& author, int category = 0, QVariant established = {})
    {
        const int32_t id = db->nextId();
        db->exec(
            "INSERT INTO scientific_name (scientific_name_id, scientific_name, formatted_scientific_name, "
            "author_name, d_name_category_id, nomenclaturally_est_sn_id, rec_last_mod_user) VALUES (?, ?, ?, "
            "?, "
            "?, ?, 'editor')",
            {id, name, name, author.isEmpty() ? QVariant() : QVariant(author),
             category ? category : botanical, established});
        return id;
    }
    int32_t link(int32_t name, int referenceIndex, bool original = false, int order = 0)
    {
        const int32_t id = db->nextId();
        db->exec("INSERT INTO scientific_name_reference (scientific_name_reference_id, scientific_name_id, "
                 "reference_id, original_publication_ind, display_order) VALUES (?, ?, ?, ?, ?)",
                 {id, name, references.at(size_t(referenceIndex)), original ? "Y" : "N", order});
        return id;
    }
    QVariant stored(int32_t id, const char* column) const
    {
        return db->scalar(QStringLiteral("SELECT %1 FROM scientific_name WHERE scientific_name_id = ?")
                              .arg(QLatin1String(column)),
                          {id});
    }
    bool exists(int32_t id) const { return !stored(id, "scientific_name_id").isNull(); }
    // The references a name is linked to, in ID order, with its original publications marked "*".
    QStringList linksOf(int32_t id) const
    {
        QSqlQuery rows =
            db->query("SELECT reference_id, original_publication_ind FROM scientific_name_reference "
                      "WHERE scientific_name_id = ? ORDER BY reference_id",
                      {id}, host::Database::Reading::Buffered);
        QStringList found;
        while (rows.next())
            found << rows.value(0).toString() + (rows.value(1).toString() == "Y" ? "*" : "");
        return found;
    }
    // From now on the engine fails every `event` ("INSERT", "DELETE") on `table`, as a full disk
    // or a lost server would, with the message "injected failure".
    void injectFailure(const char* event, const char* table) const
    {
        auto admin = database->openAsAdmin();
        if (GetParam() == host::Dialect::SQLite) {
            admin->exec(
                QStringLiteral("CREATE TRIGGER injected_failure BEFORE %1 ON %2 BEGIN SELECT RAISE(ABORT, "
                               "'injected failure'); END")
                    .arg(QLatin1String(event), QLatin1String(table)));
            return;
        }
        admin->exec("CREATE FUNCTION injected_failure() RETURNS trigger LANGUAGE plpgsql AS $$ BEGIN RAISE "
                    "EXCEPTION 'injected failure'; END $$");
        admin->exec(
            QStringLiteral("CREATE TRIGGER injected_failure BEFORE %1 ON %2 FOR EACH ROW EXECUTE FUNCTION "
                           "injected_failure()")
                .arg(QLatin1String(event), QLatin1String(table)));
    }
    // What a user saves in the details window: one field, through the record object.
    void saveField(int32_t id, const QString& field, const QVariant& value)
    {
        host::SqlScientificNameRecord record;
        record.Connect(appManager->GetServerName(), appManager->GetServerType());
        record.Retrieve(id, {}, {});
        record.setValue(field, value);
        record.SetModifiedBy("editor");
        ASSERT_TRUE(record.Save()) << record.lastRefusal().toStdString();
    }
    void saveAuthor(int32_t id, const QString& author) { saveField(id, "AuthorName", author); }
    // The names and links as stored, every row and column but the save's own bookkeeping (the
    // row version and who saved last), for comparing a database before and after.
    QStringList contents() const
    {
        QStringList lines;
        for (const char* sql :
             {"SELECT * FROM scientific_name ORDER BY scientific_name_id",
              "SELECT * FROM scientific_name_reference ORDER BY scientific_name_reference_id"}) {
            QSqlQuery rows = db->query(sql, {}, host::Database::Reading::Buffered);
            while (rows.next()) {
                QStringList values;
                const QSqlRecord record = rows.record();
                for (int i = 0; i < record.count(); ++i) {
                    const QString column = record.fieldName(i).toLower();
                    if (column == "row_version" || column.startsWith("rec_last_mod"))
                        continue;
                    values << column + "=" + (rows.value(i).isNull() ? "NULL" : rows.value(i).toString());
                }
                lines << values.join("|");
            }
        }
        return lines;
    }

    std::unique_ptr<TestDatabase> database;
    std::shared_ptr<host::SqlAppManager> appManager;
    std::unique_ptr<host::Database> db;
    host::UserSession editor;
    int botanical = 0;
    int zoological = 0;
    std::vector<int32_t> references;
};

} // namespace bryx::test
