#pragma once

#include <QString>

namespace bryx {

class DetailsSession;
class EstablishedName;

// The File menu's ways out of the record shown to the records around it: a new element
// tracking record started from the name, the name's references in the host's reference
// window, and the audit trail of the whole record or of the field that has the focus.
class MaintenanceWindows {
public:
    MaintenanceWindows(DetailsSession& session, EstablishedName& established)
        : m_session(session)
        , m_established(established)
    {
    }

    void mnuFileNewEGT_Click();
    void mnuFileOpenReferences_Click();
    void mnuFileOpenRecordMaintenance_Click();
    void mnuFileOpenAttributeMaintenance_Click();

private:
    // The database column of the field bound to the control that has the focus; empty when
    // the control shows no field the record describes.
    QString activeFieldColumn() const;
    void showAuditLog(const QString& caption, const QString& column);

    DetailsSession& m_session;
    EstablishedName& m_established;
};

} // namespace bryx
