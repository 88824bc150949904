#include "RestoreListDialog.h"

#include "common/BusyPointer.h"
#include "error/Error.h"
#include "services/MessageBox.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace bryx::host {

RestoreListDialog::RestoreListDialog(const QString& title, const QStringList& columns, bool mayRestore,
                                     QWidget* parent)
    : QDialog(parent)
    , m_table(new QTableWidget(0, int(columns.size()), this))
    , m_note(new QLabel(this))
    , m_restore(new QPushButton(tr("&Restore"), this))
    , m_mayRestore(mayRestore)
{
    setWindowTitle(title);
    m_table->setObjectName(QStringLiteral("grdChanges"));
    m_table->setHorizontalHeaderLabels(columns);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->verticalHeader()->hide();
    m_table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_note->setObjectName(QStringLiteral("lblNote"));
    m_note->setWordWrap(true);
    m_restore->setObjectName(QStringLiteral("cmdRestore"));
    m_restore->setToolTip(mayRestore ? tr("Take the selected change back")
                                     : tr("Your role may not change names"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->addButton(m_restore, QDialogButtonBox::ActionRole);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_table, 1);
    layout->addWidget(m_note);
    layout->addWidget(buttons);
    resize(980, 440);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_restore, &QPushButton::clicked, this, &RestoreListDialog::restoreSelected);
    connect(m_table, &QTableWidget::itemSelectionChanged, this, &RestoreListDialog::updateButton);
    updateButton();
}

void RestoreListDialog::setNote(const QString& text)
{
    m_note->setText(text);
    m_note->setVisible(!text.isEmpty());
}

void RestoreListDialog::setRow(int row, const QStringList& values)
{
    for (int column = 0; column < int(values.size()); ++column) {
        auto* item = new QTableWidgetItem(values[column]);
        item->setToolTip(values[column]);
        m_table->setItem(row, column, item);
    }
}

void RestoreListDialog::updateButton()
{
    const QModelIndexList rows = m_table->selectionModel()->selectedRows();
    m_restore->setEnabled(m_mayRestore && !rows.isEmpty() && restorable(rows.first().row()));
}

void RestoreListDialog::restoreSelected()
{
    const QModelIndexList rows = m_table->selectionModel()->selectedRows();
    if (rows.isEmpty())
        return;
    QString done;
    try {
        BusyPointer busy;
        done = restoreRow(rows.first().row());
    } catch (const Error& error) {
        MsgBox(error.Description(), MsgBoxStyle::OKOnly | MsgBoxStyle::Exclamation, windowTitle());
        return;
    }
    reload();
    updateButton();
    if (m_afterRestore)
        m_afterRestore();
    MsgBox(done, MsgBoxStyle::OKOnly | MsgBoxStyle::Information, windowTitle());
}

} // namespace bryx::host
