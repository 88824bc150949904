#pragma once

#include <QString>
#include <memory>

namespace bryx {
class Recordset;
}

namespace bryx::host {

class Database;

// The read path of the host: one SELECT, answered as a recordset with field types and sizes
// taken from the database. Anything that is not exactly one reading statement is refused
// before it reaches the database, and the connection it runs on is read-only besides.
class QueryRecordset {
public:
    // Throws bryx::Error when the text is not one SELECT (or WITH ... SELECT) statement.
    static void requireSingleSelect(const QString& sql);
    static std::shared_ptr<Recordset> run(Database& db, const QString& sql);
};

} // namespace bryx::host
