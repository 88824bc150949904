#include "BulkWriteJournal.h"

#include "Database.h"
#include "error/Error.h"

namespace bryx::host {

namespace {

QString journalMode(Database& db, const QString& pragma)
{
    return db.scalar(pragma).toString().toLower();
}

} // namespace

BulkWriteJournal::BulkWriteJournal(Database& db)
    : m_db(db)
{
    if (db.dialect() != Dialect::SQLite
        || journalMode(db, QStringLiteral("PRAGMA journal_mode")) != QLatin1String("wal"))
        return;
    try {
        // SQLite answers the mode it is in: still "wal" (or "database is locked") while
        // another connection holds the file.
        m_switched =
            journalMode(db, QStringLiteral("PRAGMA journal_mode = DELETE")) == QLatin1String("delete");
    } catch (const Error&) {
        m_switched = false;
    }
}

BulkWriteJournal::~BulkWriteJournal()
{
    if (!m_switched)
        return;
    try {
        m_db.exec(QStringLiteral("PRAGMA journal_mode = WAL"));
    } catch (const Error&) {
        // The next connection to open the file asks for the log again; the data is safe
        // either way.
    }
}

} // namespace bryx::host
