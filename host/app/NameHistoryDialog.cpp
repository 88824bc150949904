#include "NameHistoryDialog.h"

#include "curation/NameRestorer.h"
#include "db/Database.h"
#include "services/SqlAppManager.h"

#include <QTableWidget>

namespace bryx::host {

NameHistoryDialog::NameHistoryDialog(std::shared_ptr<SqlAppManager> appManager, int32_t nameId,
                                     std::function<void()> afterRestore, QWidget* parent)
    : RestoreListDialog(
        tr("Name History"),
        {tr("Date (UTC)"), tr("User"), tr("Field"), tr("Old Value"), tr("New Value"), tr("Comment")},
        appManager->user().maySave, parent)
    , m_appManager(std::move(appManager))
    , m_nameId(nameId)
{
    setObjectName(QStringLiteral("frmNameHistory"));
    m_afterRestore = std::move(afterRestore);
    const QString name = m_appManager->readOnly()
                             .scalar(QStringLiteral("SELECT scientific_name FROM scientific_name WHERE "
                                                    "scientific_name_id = ?"),
                                     {nameId})
                             .toString();
    setWindowTitle(tr("Name History - %1").arg(name.isEmpty() ? tr("name ID %1").arg(nameId) : name));
    for (const auto& [column, width] : {std::pair {0, 140}, {1, 90}, {2, 150}, {3, 220}, {4, 220}})
        table().setColumnWidth(column, width);
    reload();
}

void NameHistoryDialog::reload()
{
    m_entries = NameHistory::of(m_appManager->readOnly(), m_nameId);
    QTableWidget& rows = table();
    rows.setRowCount(int(m_entries.size()));
    for (int row = 0; row < int(m_entries.size()); ++row) {
        const HistoryEntry& entry = m_entries[size_t(row)];
        const QString field =
            entry.action == QLatin1Char('D') ? tr("%1 (deleted)").arg(entry.field) : entry.field;
        setRow(row, {entry.date, entry.user, field, entry.oldText, entry.newText, entry.comment});
    }
    setNote(m_entries.empty() ? tr("No change of this name is recorded.") : QString());
    if (!m_entries.empty())
        rows.scrollToBottom();
}

bool NameHistoryDialog::restorable(int row) const
{
    const HistoryEntry& entry = m_entries.at(size_t(row));
    return entry.action == QLatin1Char('U');
}

QString NameHistoryDialog::restoreRow(int row)
{
    return NameRestorer(m_appManager->writable(), m_appManager->user())
        .restoreChange(m_entries.at(size_t(row)).auditLogId);
}

} // namespace bryx::host
