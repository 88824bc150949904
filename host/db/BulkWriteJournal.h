#pragma once

namespace bryx::host {

class Database;

// For the length of one bulk write, a SQLite database that this connection has to itself keeps
// a rollback journal instead of its write-ahead log. A transaction of a million rows then
// writes its pages once, rather than to the log and again when the log is checkpointed; new
// pages at the end of the file need no journal at all. While another connection has the file
// open the switch is refused, and the write goes through the log as usual. The log comes back
// on every path, so other readers find the database as they left it.
class BulkWriteJournal {
public:
    explicit BulkWriteJournal(Database& db);
    ~BulkWriteJournal();
    BulkWriteJournal(const BulkWriteJournal&) = delete;
    BulkWriteJournal& operator=(const BulkWriteJournal&) = delete;

private:
    Database& m_db;
    bool m_switched = false;
};

} // namespace bryx::host
