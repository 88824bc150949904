#pragma once

#include <QString>
#include <QStringList>
#include <QVariantList>
#include <memory>
#include <vector>

class QSqlQuery;

namespace bryx::host {

class Database;

// Code lists, users, option categories and a sample of real names and references.
class SampleData {
public:
    // The code lists, org units, roles, users and option categories every database needs.
    static void loadReferenceTables(Database& db);
    // Real botanical, zoological and ecological names with references, links, established-name
    // links and a few audit rows.
    static void loadSampleNames(Database& db);

    // Rows of a tab-separated resource, without comment lines; throws on a short row.
    static std::vector<QStringList> readTable(const QString& resource, int columns);
    // The name as rich text: Latin names italic, except hybrid signs and rank words.
    static QString formattedName(const QString& name, const QString& nameType);
};

// Inserts rows through multi-row INSERT statements prepared once and reused: many rows per
// round trip on PostgreSQL, few on SQLite, whose cost per statement grows with the square of
// its parameter count.
class BatchInserter {
public:
    BatchInserter(Database& db, QString table, QStringList columns);
    ~BatchInserter() noexcept(false);
    void add(const QVariantList& row);
    void flush();

private:
    QString statement(int rows) const;
    void run(QSqlQuery& query);

    Database& m_db;
    QString m_table;
    QStringList m_columns;
    int m_rowsPerStatement;
    std::unique_ptr<QSqlQuery> m_fullBatch;
    QVariantList m_pending;
    int m_pendingRows = 0;
};

} // namespace bryx::host
