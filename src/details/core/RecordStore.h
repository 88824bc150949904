#pragma once

#include <QString>
#include <cstdint>

namespace bryx {

class DetailsSession;
class DetailsUi;
class BusyPicture;
class DetailsEvents;
class RecordPages;

// Stores and deletes the record the editor shows: decides whether a save is due, refuses a
// duplicate name, asks the host's permission, saves the record, its reference links and its
// companion, tells the host, and keeps the editor's own page-through list in step.
class RecordStore {
public:
    RecordStore(DetailsSession& session, DetailsUi& ui, BusyPicture& busy, DetailsEvents& events,
                RecordPages& pages)
        : m_session(session)
        , m_ui(ui)
        , m_busy(busy)
        , m_events(events)
        , m_pages(pages)
    {
    }

    // The statement that finds another record with the same name and author. Quotes in
    // both are doubled and the name upper-cased, in place.
    static QString DuplicateNameSQL(QString& name, QString& author, int32_t recordId);

    // Whether the record shown may be left: pending changes are offered for saving first
    // (Yes saves, No drops them, Cancel stays).
    bool CanClose();
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

    DetailsSession& m_session;
    DetailsUi& m_ui;
    BusyPicture& m_busy;
    DetailsEvents& m_events;
    RecordPages& m_pages;
};

} // namespace bryx
