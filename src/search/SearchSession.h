#pragma once

#include "common/ComponentHost.h"

#include <QString>
#include <cstdint>
#include <memory>

namespace bryx {

class Collection;
class Recordset;
class WindowManager;

// Everything the search panel knows while it runs, beside its host and user: the working list
// it fills, the windows and views it may open, how it was started, the last result, the
// modal caller's wishes and the saved search in use.
class SearchSession : public ComponentHost {
public:
    using ComponentHost::ComponentHost;

    // The host's working list (or the modal caller's recordset) the chosen rows go to.
    std::shared_ptr<Recordset> rsView;
    std::shared_ptr<WindowManager> objWinMan;
    std::shared_ptr<Collection> colViews;
    int lngView = 0;
    QString strExtraInfo;
    bool blnModal = false;
    std::shared_ptr<Recordset> rsResults;
    // The modal caller's collection for the chosen IDs, and whether it wants the rows too.
    std::shared_ptr<Collection> colSelectedItems;
    bool blnUseRecordset = false;
    // The saved search the criteria came from; empty for a new search.
    QString strSearchName;
    bool initialFocusPlaced = false;

    // Reads the server and the user from the application manager.
    void readHostIdentity();
    // The position of the first view of that working-list type in the views collection; -1.
    int FindWorkingListView(const QString& listType) const;
    // Lets go of everything the host lent the panel; rsView stays the host's.
    void release();
};

} // namespace bryx
