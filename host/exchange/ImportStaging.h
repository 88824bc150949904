#pragma once

#include "ChecklistRecords.h"
#include "ImportCodeLists.h"
#include "db/RowInserter.h"

#include <functional>
#include <memory>

namespace bryx::host {

class Database;
struct ImportSummary;

// Receives a package's rows, maps each onto the code lists, and stages it in temporary tables
// of the import's transaction (import_name, import_reference, import_link), from which the
// import then writes the database's own tables a whole table at a time. A row that cannot be
// mapped is refused with its file and line, or passed over when bad rows are to be skipped.
class ImportStaging : public ChecklistSink {
public:
    using Progress = std::function<void(qint64 done, qint64 total)>;

    ImportStaging(Database& db, ImportSummary& summary, bool skipBadRows, Progress progress);
    // Creates the staging tables; they last as long as the transaction on PostgreSQL, and are
    // dropped by dropTables on SQLite.
    static void createTables(Database& db);
    static void dropTables(Database& db);

    void name(const ChecklistName& name) override;
    void reference(const ChecklistReference& reference) override;
    void link(const ChecklistLink& link) override;
    void badRow(const RowOrigin& origin, const QString& reason) override;
    void progress(qint64 done, qint64 total) override;
    // Writes what is still buffered.
    void flush();

    qint64 lastSequence() const { return m_sequence; }

private:
    Database& m_db;
    ImportSummary& m_summary;
    bool m_skipBadRows;
    Progress m_progress;
    ImportCodeLists m_codes;
    // Held apart so that a failed import does not flush them while it unwinds.
    std::unique_ptr<RowInserter> m_names;
    std::unique_ptr<RowInserter> m_references;
    std::unique_ptr<RowInserter> m_links;
    qint64 m_sequence = 0;
    // New names take their IDs as they are staged, from blocks reserved as they are needed.
    int32_t m_nextId = 0;
    int32_t m_idsLeft = 0;
    qint64 m_linkSequence = 0;
};

} // namespace bryx::host
