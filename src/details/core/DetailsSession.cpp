#include "DetailsSession.h"

#include "collection/Collection.h"
#include "common/ViewIndex.h"
#include "contracts/AppManager.h"
#include "contracts/ScientificNameRecord.h"
#include "contracts/WindowManager.h"
#include "error/Error.h"
#include "hosting/UserControl.h"
#include "recordset/Recordset.h"

namespace bryx {

namespace {

void requireFramework(const std::shared_ptr<DataFramework>& framework)
{
    if (!framework)
        throw Error(ErrorNumber::ObjectClosed,
                    QStringLiteral("The scientific name editor is not initialised"));
}

} // namespace

DetailsSession::DetailsSession(UserControl& editor)
    : ComponentHost(editor, ComponentName)
{
}

DetailsSession::~DetailsSession()
{
    // Bindings point at the editor's controls: they go before the controls do.
    release();
}

void DetailsSession::readHostIdentity()
{
    strServerName = objAppManager->GetServerName();
    lngServerType = objAppManager->GetServerType();
    lngUserID = objAppManager->GetUserID();
    strUserName = objAppManager->GetUserName();
}

void DetailsSession::release()
{
    objRecord.reset();
    rsOriginal.reset();
    rsList.reset();
    objAppManager.reset();
    recordExtension.reset();
    objWinMan.reset();
    colViews.reset();
}

std::unique_ptr<ScientificNameRecord> DetailsSession::CreateRecord() const
{
    requireFramework(dataFramework);
    auto record = dataFramework->CreateScientificNameRecord();
    record->Connect(strServerName, lngServerType);
    return record;
}

void DetailsSession::announceRecordShown() const
{
    recordExtension->RecordShown(component(), QLatin1String(ComponentName), controls(), lngID);
}

std::shared_ptr<Recordset> DetailsSession::RunQuery(const QString& sql) const
{
    requireFramework(dataFramework);
    const auto query = dataFramework->CreateQueryObject();
    query->Connect(strServerName, lngServerType);
    return query->Run(sql);
}

std::shared_ptr<Recordset> DetailsSession::GetSingleRecordView(int32_t id) const
{
    return RunQuery(QStringLiteral("select * from scientific_wl_vw where id=") + QString::number(id));
}

bool DetailsSession::RecordExists(int32_t id) const
{
    const auto rows = GetSingleRecordView(id);
    return rows && rows->RecordCount() > 0;
}

std::shared_ptr<Recordset> DetailsSession::GetEmptyView() const
{
    return RunQuery(QStringLiteral("select * from scientific_wl_vw where 1=0"));
}

int DetailsSession::FindViewIndex(const QString& code) const
{
    return bryx::FindViewIndex(colViews.get(), code);
}

} // namespace bryx
