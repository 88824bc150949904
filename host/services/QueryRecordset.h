#pragma once

#include "db/DatabaseUrl.h"

#include <QString>
#include <chrono>
#include <memory>

namespace bryx {
class Recordset;
}

namespace bryx::host {

class Database;

// How a statement may run: as which server role and for how long at most.
struct ReadPolicy {
    static constexpr std::chrono::milliseconds DefaultTimeout {30000};

    // PostgreSQL: the role a component's statement runs as (SET LOCAL ROLE), which may read
    // the views and code lists and nothing else. Empty: the login's own rights, for the
    // host's own statements.
    QString role;
    // A statement still running after this long is stopped, on either engine.
    std::chrono::milliseconds timeout = DefaultTimeout;
};

// The read path of the host: one SELECT, answered as a recordset with field types and sizes
// taken from the database. Whatever the text, the engine itself runs at most one statement
// and only a reading one: SQLite prepares one statement on a connection opened read-only and
// refuses any that would write; PostgreSQL gets the text through the extended protocol (which
// takes one command), inside a read-only transaction with the policy's role and timeout and
// standard_conforming_strings on. The check here before it comes first only to refuse
// clearly and at once.
class QueryRecordset {
public:
    // Throws bryx::Error when the text is not one SELECT (or WITH ... SELECT) statement, read
    // as the engine's lexer reads it.
    static void requireSingleSelect(const QString& sql, Dialect dialect);
    static std::shared_ptr<Recordset> run(Database& db, const QString& sql, const ReadPolicy& policy);
};

} // namespace bryx::host
