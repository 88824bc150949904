#include "DeferredSchema.h"

#include "Database.h"

namespace bryx::host {

DeferredSchema::DeferredSchema(Database& db, const QStringList& objects)
    : m_db(db)
{
    for (const QString& name : objects) {
        QSqlQuery found = db.query(
            QStringLiteral(
                "SELECT type, sql FROM sqlite_master WHERE type IN ('index', 'trigger') AND name = ?"),
            {name});
        if (!found.next() || found.value(1).isNull())
            continue;
        const QString type = found.value(0).toString().toUpper();
        m_objects.emplace_back(name, found.value(1).toString());
        // SQLite will not drop what an unfinished statement still reads.
        found.finish();
        db.exec(QStringLiteral("DROP %1 %2").arg(type, name));
    }
}

void DeferredSchema::restore()
{
    for (const auto& [name, definition] : m_objects)
        m_db.exec(definition);
    m_objects.clear();
}

} // namespace bryx::host
