#pragma once

#include <QMetaType>
#include <QString>
#include <cstdint>
#include <memory>

namespace bryx {

class Recordset;

// The host's window manager (objWinMan): opens details windows. Callers pass the view's
// position in the views collection twice.
class WindowManager {
public:
    virtual ~WindowManager() = default;

    // Opens a details window of a view on a record; `records`, when given, is the recordset
    // the window pages through (passed by reference, so the host may keep or replace it).
    virtual void OpenDetails(int32_t viewId, int32_t secondViewId, int32_t recordId, const QString& extraInfo,
                             std::shared_ptr<Recordset>* records) = 0;
    // Opens a details window for a new record; `fromRecordId`, when given, names the record
    // the new one is made from.
    virtual void NewDetails(int32_t viewId, int32_t secondViewId, const QString& extraInfo,
                            int32_t* fromRecordId) = 0;
};

} // namespace bryx

Q_DECLARE_METATYPE(std::shared_ptr<bryx::WindowManager>)
