#pragma once

#include "contracts/WindowManager.h"

#include <functional>

namespace bryx::host {

// The window manager components call to open details windows; the main window decides how.
class HostWindowManager : public WindowManager {
public:
    using OpenDetailsHandler = std::function<void(int32_t viewId, int32_t recordId, const QString& extraInfo,
                                                  std::shared_ptr<Recordset>* records)>;
    using NewDetailsHandler =
        std::function<void(int32_t viewId, const QString& extraInfo, int32_t* fromRecordId)>;

    HostWindowManager(OpenDetailsHandler openDetails, NewDetailsHandler newDetails);

    void OpenDetails(int32_t viewId, int32_t secondViewId, int32_t recordId, const QString& extraInfo,
                     std::shared_ptr<Recordset>* records) override;
    void NewDetails(int32_t viewId, int32_t secondViewId, const QString& extraInfo,
                    int32_t* fromRecordId) override;

private:
    OpenDetailsHandler m_openDetails;
    NewDetailsHandler m_newDetails;
};

} // namespace bryx::host
