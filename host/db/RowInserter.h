#pragma once

#include <QString>
#include <QStringList>
#include <QVariantList>
#include <memory>

namespace bryx::host {

class Database;

// Inserts rows into one table as fast as the engine allows: on SQLite one prepared statement
// stepped once per row through SQLite's own interface, without the Qt SQL layer's work per
// value; on PostgreSQL through COPY. Errors name the table.
class RowInserter {
public:
    virtual ~RowInserter() = default;
    virtual void add(const QVariantList& row) = 0;
    // Writes what is still buffered.
    virtual void flush() = 0;

    static std::unique_ptr<RowInserter> open(Database& db, const QString& table, const QStringList& columns);
};

} // namespace bryx::host
