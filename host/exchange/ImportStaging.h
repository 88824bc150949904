#pragma once

#include "ChecklistRecords.h"
#include "ImportCodeLists.h"
#include "db/RowInserter.h"

#include <QVariant>
#include <functional>
#include <memory>
#include <optional>

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
    // The staging tables for the length of one import. On PostgreSQL they are temporary tables
    // that go with the transaction. On SQLite they live in a scratch database of their own,
    // attached before the transaction and let go after it: dropping tables of a million rows
    // would free their pages one by one.
    class Tables {
    public:
        explicit Tables(Database& db);
        ~Tables();
        Tables(const Tables&) = delete;
        Tables& operator=(const Tables&) = delete;
        // Creates the tables, inside the import's transaction.
        void create();
        // Creates an index on one of them: "name ON table (columns)".
        void createIndex(const QString& definition);

    private:
        Database& m_db;
        bool m_attached = false;
    };

    void name(const ChecklistName& name) override;
    void reference(const ChecklistReference& reference) override;
    void link(const ChecklistLink& link) override;
    void badRow(const RowOrigin& origin, const QString& reason) override;
    void warning(const RowOrigin& origin, const QString& kind, const QString& detail) override;
    void progress(qint64 done, qint64 total) override;
    // Writes what is still buffered.
    void flush();
    // Gives the names no rule of their own row could type the type of their nearest typed
    // ancestor, or failing that the one chosen for the import, and works out their codes;
    // after flush(), with the names indexed by key. Answers how many names stay untyped (each
    // passed to badRow).
    qint64 resolvePendingTypes(std::optional<QChar> chosen);

    qint64 lastSequence() const { return m_sequence; }
    // Names staged with a link to an accepted name or a basionym.
    qint64 linkedNames() const { return m_linkedNames; }

private:
    // What a name's codes are worked out from besides its type.
    struct RowFacts {
        QString category;
        QString kingdom;
        QString phylum;
        QString className;
        QString rank;
        QStringList groups; // order, family
    };
    struct Codes {
        int32_t category = 0;
        QVariant level;
    };
    std::optional<Codes> codesFor(QChar type, const RowFacts& facts, QString& why);
    // Names typed by their parents that name no group of their own take their parent's category.
    void inheritCategories(const QString& parentOf);
    // A citation as the reference table holds it; a longer one is cut, and the summary says so.
    QString storedCitation(const RowOrigin& origin, const QString& citation);

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
    qint64 m_linkedNames = 0;
    qint64 m_pendingTypes = 0;
    // New names take their IDs as they are staged, from blocks reserved as they are needed.
    int32_t m_nextId = 0;
    int32_t m_idsLeft = 0;
    qint64 m_linkSequence = 0;
};

} // namespace bryx::host
