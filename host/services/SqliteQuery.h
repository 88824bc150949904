#pragma once

#include <QString>
#include <chrono>
#include <memory>

namespace bryx {
class Recordset;
}

namespace bryx::host {

class Database;

// Runs one reading statement on an SQLite connection with the C interface, straight into a
// recordset: the engine prepares exactly one statement, refuses one that would write, and is
// interrupted when the statement runs longer than `timeout`.
namespace SqliteQuery {

std::shared_ptr<Recordset> run(Database& db, const QString& sql, std::chrono::milliseconds timeout);

} // namespace SqliteQuery

} // namespace bryx::host
