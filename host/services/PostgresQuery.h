#pragma once

#include <QString>
#include <memory>

namespace bryx {
class Recordset;
}

namespace bryx::host {

class Database;
struct ReadPolicy;

// Runs one reading statement on a PostgreSQL connection with libpq, straight into a
// recordset. The text goes through the extended protocol, which the server refuses to run
// with more than one command in it, inside a transaction of its own that is read-only, has
// standard_conforming_strings on, the policy's role and a statement timeout, and is always
// rolled back: nothing the statement sets outlives it.
namespace PostgresQuery {

std::shared_ptr<Recordset> run(Database& db, const QString& sql, const ReadPolicy& policy);

} // namespace PostgresQuery

} // namespace bryx::host
