#pragma once

#include "RestoreListDialog.h"
#include "services/CurationLog.h"

#include <memory>
#include <vector>

namespace bryx::host {

class SqlAppManager;

// File > Recently Deleted Names: the deleted names that can come back, the latest first;
// Restore brings the chosen one back with its ID, values and links.
class DeletedNamesDialog : public RestoreListDialog {
    Q_OBJECT
public:
    DeletedNamesDialog(std::shared_ptr<SqlAppManager> appManager, std::function<void(int32_t id)> restored,
                       QWidget* parent = nullptr);
    const std::vector<CurationLog::Change>& deleted() const { return m_deleted; }

    // How many deletes the list shows at most.
    static constexpr int Shown = 500;

protected:
    void reload() override;
    QString restoreRow(int row) override;
    bool restorable(int) const override { return true; }

private:
    std::shared_ptr<SqlAppManager> m_appManager;
    std::function<void(int32_t id)> m_restored;
    std::vector<CurationLog::Change> m_deleted;
};

} // namespace bryx::host
