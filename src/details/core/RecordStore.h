#pragma once

#include <QString>
#include <cstdint>

namespace bryx {

class ScientificDetails;

// Stores and deletes the record the editor shows: decides whether a save is due, refuses a
// duplicate name, asks the host's permission, saves the record, its reference links and its
// companion, tells the host, and keeps the editor's own page-through list in step.
class RecordStore {
public:
    explicit RecordStore(ScientificDetails& details)
        : m_details(details)
    {
    }

    // The statement that finds another record with the same name and author. Quotes in
    // both are doubled and the name upper-cased, in place.
    static QString DuplicateNameSQL(QString& name, QString& author, int32_t recordId);

    // True only when something was pending and everything was stored.
    bool SaveRecord();
    void IsDuplicateName(QString& name, QString& author, bool& found);
    void HasChildChanges(bool& changed);
    // Any of the four kinds of pending change: new, edited, links, companion.
    bool HasPendingChanges();
    bool DeleteRecord(int32_t& id);

private:
    bool storeRecord();
    void updateOwnListRow();
    void showFollowingRecord();

    ScientificDetails& m_details;
};

} // namespace bryx
