#pragma once

#include <QString>
#include <QStringList>
#include <utility>
#include <vector>

namespace bryx::host {

class Database;

// Drops SQLite indexes for a bulk load inside a transaction and builds them again afterwards: one
// sort instead of a million inserts all over an index whose keys arrive in no order (a name
// index, say; an index on a code that arrives in bunches is cheaper kept). Indexes the
// database does not have are passed over. When the load fails before rebuild(), rolling the
// transaction back restores the indexes as they were.
class DeferredIndexes {
public:
    DeferredIndexes(Database& db, const QStringList& indexes);
    void rebuild();

private:
    Database& m_db;
    std::vector<std::pair<QString, QString>> m_indexes; // name, definition
};

} // namespace bryx::host
