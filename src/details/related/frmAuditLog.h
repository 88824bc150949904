#pragma once

#include "controls/Form.h"

#include <cstdint>
#include <memory>

namespace bryx {

class AppManager;
class CheckBox;
class CommandButton;
class ComponentCollection;
class FlexGrid;
class Recordset;

// The audit trail of a record or of one of its fields ("Audit Log"): one row per logged
// change, grey, with the Comments cell white and editable where the change has an audit
// column to hang a comment on. Comments typed are kept in comment objects until OK saves
// them all; Cancel drops them.
class frmAuditLog : public Form {
    Q_OBJECT
public:
    // The grid's columns.
    enum Column {
        ColId = 0,
        ColDate,
        ColUser,
        ColTable,
        ColAction,
        ColColumn,
        ColOldValue,
        ColComments,
        ColPrimaryKey,
        ColOrgUnit,
        ColAuditId,
        ColColumnId,
    };

    explicit frmAuditLog(QWidget* parent = nullptr);
    ~frmAuditLog() override;

    // Fills the dialog with the audit rows of the record, or of its column `strColumnName`
    // when one is given.
    void LoadAuditData(const QString& strTableName, int32_t lId, std::shared_ptr<AppManager> objAppManager,
                       const QString& strColumnName = QString());

    FlexGrid* fgAuditLog() const { return m_fgAuditLog; }
    CheckBox* chkWordWrap() const { return m_chkWordWrap; }
    CommandButton* cmdOk() const { return m_cmdOk; }
    CommandButton* cmdCancel() const { return m_cmdCancel; }
    // The comment objects made so far; null while the trail is empty.
    const std::shared_ptr<ComponentCollection>& comments() const { return m_colComments; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void onUnload() override;

private:
    void formatGrid();
    bool commentable(int row) const;
    void fgAuditLog_BeforeEdit(int row, int col, bool& cancel);
    void fgAuditLog_AfterEdit(int row, int col);
    void chkWordWrap_Click();
    void cmdOk_Click();
    void fitRowHeights();

    std::shared_ptr<AppManager> m_objAppManager;
    std::shared_ptr<Recordset> m_rsAudit;
    std::shared_ptr<ComponentCollection> m_colComments;
    FlexGrid* m_fgAuditLog;
    CheckBox* m_chkWordWrap;
    CommandButton* m_cmdOk;
    CommandButton* m_cmdCancel;
    bool m_laying = false;
};

} // namespace bryx
