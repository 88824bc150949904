#include "HostWindowManager.h"

namespace bryx::host {

HostWindowManager::HostWindowManager(OpenDetailsHandler openDetails, NewDetailsHandler newDetails)
    : m_openDetails(std::move(openDetails))
    , m_newDetails(std::move(newDetails))
{
}

void HostWindowManager::OpenDetails(int32_t viewId, int32_t, int32_t recordId, const QString& extraInfo,
                                    std::shared_ptr<Recordset>* records)
{
    m_openDetails(viewId, recordId, extraInfo, records);
}

void HostWindowManager::NewDetails(int32_t viewId, int32_t, const QString& extraInfo, int32_t* fromRecordId)
{
    m_newDetails(viewId, extraInfo, fromRecordId);
}

} // namespace bryx::host
