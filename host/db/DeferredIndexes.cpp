#include "DeferredIndexes.h"

#include "Database.h"

namespace bryx::host {

DeferredIndexes::DeferredIndexes(Database& db, const QStringList& indexes)
    : m_db(db)
{
    for (const QString& index : indexes) {
        const QVariant definition = db.scalar(
            QStringLiteral("SELECT sql FROM sqlite_master WHERE type = 'index' AND name = ?"), {index});
        if (definition.isNull())
            continue;
        m_indexes.emplace_back(index, definition.toString());
        db.exec(QStringLiteral("DROP INDEX %1").arg(index));
    }
}

void DeferredIndexes::rebuild()
{
    for (const auto& [name, definition] : m_indexes)
        m_db.exec(definition);
    m_indexes.clear();
}

} // namespace bryx::host
