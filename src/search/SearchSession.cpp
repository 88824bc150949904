#include "SearchSession.h"

#include "collection/Collection.h"
#include "common/ViewIndex.h"
#include "contracts/AppManager.h"
#include "contracts/WindowManager.h"
#include "recordset/Recordset.h"

namespace bryx {

void SearchSession::readHostIdentity()
{
    lngServerType = objAppManager->GetServerType();
    strServerName = objAppManager->GetServerName();
    lngUserID = objAppManager->GetUserID();
}

int SearchSession::FindWorkingListView(const QString& listType) const
{
    return FindViewIndex(colViews.get(), listType);
}

void SearchSession::release()
{
    rsResults.reset();
    objAppManager.reset();
    objWinMan.reset();
    colViews.reset();
    colSelectedItems.reset();
}

} // namespace bryx
