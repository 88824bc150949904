#include "DeletedNamesDialog.h"

#include "curation/NameRestorer.h"
#include "services/NameSnapshot.h"
#include "services/SqlAppManager.h"

#include <QTableWidget>

namespace bryx::host {

DeletedNamesDialog::DeletedNamesDialog(std::shared_ptr<SqlAppManager> appManager,
                                       std::function<void(int32_t id)> restored, QWidget* parent)
    : RestoreListDialog(tr("Recently Deleted Names"),
                        {tr("ID"), tr("Scientific Name"), tr("Author"), tr("Deleted (UTC)"), tr("By")},
                        appManager->user().maySave && appManager->user().mayCreate, parent)
    , m_appManager(std::move(appManager))
    , m_restored(std::move(restored))
{
    setObjectName(QStringLiteral("frmDeletedNames"));
    for (const auto& [column, width] : {std::pair {0, 70}, {1, 300}, {2, 200}, {3, 140}})
        table().setColumnWidth(column, width);
    reload();
}

void DeletedNamesDialog::reload()
{
    m_deleted = CurationLog::deletedNames(m_appManager->readOnly(), Shown);
    QTableWidget& rows = table();
    rows.setRowCount(int(m_deleted.size()));
    for (int row = 0; row < int(m_deleted.size()); ++row) {
        const CurationLog::Change& change = m_deleted[size_t(row)];
        const NameSnapshot name = NameSnapshot::fromJson(change.snapshot);
        setRow(row,
               {QString::number(change.nameId), name.scientificName(), name.author(), change.changeDate,
                change.userName});
    }
    setNote(m_deleted.empty() ? tr("No deleted name is waiting to come back.") : QString());
}

QString DeletedNamesDialog::restoreRow(int row)
{
    const CurationLog::Change& change = m_deleted.at(size_t(row));
    const NameRestorer::Restored restored =
        NameRestorer(m_appManager->writable(), m_appManager->user()).restoreDeleted(change.id);
    if (m_restored)
        m_restored(restored.nameId);
    return restored.describe();
}

} // namespace bryx::host
