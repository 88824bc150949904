#include "DeferredIndexes.h"

#include "Database.h"

#include <QSqlQuery>

namespace bryx::host {

DeferredIndexes::DeferredIndexes(Database& db, const QString& table)
    : m_db(db)
{
    QSqlQuery query(db.sql());
    query.prepare(
        db.dialect() == Dialect::SQLite
            ? QStringLiteral("SELECT name, sql FROM sqlite_master WHERE type = 'index' AND tbl_name = ? "
                             "AND sql IS NOT NULL AND sql NOT LIKE 'CREATE UNIQUE%'")
            : QStringLiteral("SELECT i.relname, pg_get_indexdef(i.oid) FROM pg_index x JOIN pg_class i ON "
                             "i.oid = x.indexrelid JOIN pg_class t ON t.oid = x.indrelid WHERE t.relname = ? "
                             "AND t.relnamespace = current_schema()::regnamespace AND NOT x.indisunique"));
    query.addBindValue(table);
    query.exec();
    while (query.next())
        m_indexes.emplace_back(query.value(0).toString(), query.value(1).toString());
    for (const auto& [name, definition] : m_indexes)
        db.exec(QStringLiteral("DROP INDEX %1").arg(name));
}

void DeferredIndexes::rebuild()
{
    for (const auto& [name, definition] : m_indexes)
        m_db.exec(definition);
    m_indexes.clear();
}

} // namespace bryx::host
