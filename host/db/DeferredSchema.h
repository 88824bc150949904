#pragma once

#include <QString>
#include <QStringList>
#include <utility>
#include <vector>

namespace bryx::host {

class Database;

// Drops SQLite indexes and triggers for a bulk load inside a transaction and creates them again
// afterwards. An index is then built by one sort instead of a million inserts all over it in no
// order (a name index, say; an index on a code that arrives in bunches is cheaper kept). A
// trigger is passed over where the load writes what it would write itself. Objects the
// database does not have are passed over. When the load fails before restore(), rolling the
// transaction back brings them back as they were.
class DeferredSchema {
public:
    DeferredSchema(Database& db, const QStringList& objects);
    void restore();

private:
    Database& m_db;
    std::vector<std::pair<QString, QString>> m_objects; // name, definition
};

} // namespace bryx::host
