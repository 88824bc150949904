#pragma once

#include "RestoreListDialog.h"
#include "curation/NameHistory.h"

#include <memory>
#include <vector>

namespace bryx::host {

class SqlAppManager;

// View > Name History: every change of one name, oldest first, with its old and new value and
// the curators' comments; Restore takes the chosen change back.
class NameHistoryDialog : public RestoreListDialog {
    Q_OBJECT
public:
    NameHistoryDialog(std::shared_ptr<SqlAppManager> appManager, int32_t nameId,
                      std::function<void()> afterRestore, QWidget* parent = nullptr);
    const std::vector<HistoryEntry>& entries() const { return m_entries; }

protected:
    void reload() override;
    QString restoreRow(int row) override;
    bool restorable(int row) const override;

private:
    std::shared_ptr<SqlAppManager> m_appManager;
    int32_t m_nameId;
    std::vector<HistoryEntry> m_entries;
};

} // namespace bryx::host
