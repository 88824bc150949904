#pragma once

#include <cstdint>

namespace bryx {

class DetailsSession;
class DetailsUi;
class BusyPicture;
class DetailsEvents;
class RecordStore;
class RecordPages;
class RecordNavigation;

// Reusing what a stored name holds: a new name made as a copy of one (CloneData, for the
// host), and another name's data copied into the one shown (Tools > Copy Data From...).
class RecordCopies {
public:
    RecordCopies(DetailsSession& session, DetailsUi& ui, BusyPicture& busy, DetailsEvents& events,
                 RecordStore& store, RecordPages& pages, RecordNavigation& navigation)
        : m_session(session)
        , m_ui(ui)
        , m_busy(busy)
        , m_events(events)
        , m_store(store)
        , m_pages(pages)
        , m_navigation(navigation)
    {
    }

    // The ID of the copy, 0 when the user cancelled.
    int32_t CloneData(int32_t lngIDLocal);
    void CopyDataFrom();

private:
    // Sets `result` to the copy's ID as soon as the copy has one.
    void cloneUnderNewName(int32_t originalId, int32_t& result);
    DetailsSession& m_session;
    DetailsUi& m_ui;
    BusyPicture& m_busy;
    DetailsEvents& m_events;
    RecordStore& m_store;
    RecordPages& m_pages;
    RecordNavigation& m_navigation;
};

} // namespace bryx
