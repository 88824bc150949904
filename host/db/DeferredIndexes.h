#pragma once

#include <QString>
#include <utility>
#include <vector>

namespace bryx::host {

class Database;

// Drops a table's plain indexes for a bulk load inside a transaction and builds them again
// afterwards: one sort per index instead of a million scattered inserts. Indexes that back a
// primary key or a unique constraint stay. When the load fails before rebuild(), rolling the
// transaction back restores the indexes as they were.
class DeferredIndexes {
public:
    DeferredIndexes(Database& db, const QString& table);
    void rebuild();

private:
    Database& m_db;
    std::vector<std::pair<QString, QString>> m_indexes; // name, definition
};

} // namespace bryx::host
