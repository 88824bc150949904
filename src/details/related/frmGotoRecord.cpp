#include "frmGotoRecord.h"

#include "controls/Controls.h"
#include "controls/FlexGrid.h"
#include "hosting/ErrorReport.h"
#include "util/Misc_Functions.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

namespace bryx {

frmGotoRecord::frmGotoRecord(QWidget* parent)
    : Form(parent)
    , m_vsgRecords(new FlexGrid(this))
    , m_cmdOK(new CommandButton(QStringLiteral("OK"), this))
    , m_cmdCancel(new CommandButton(QStringLiteral("Cancel"), this))
{
    SetCaption(QStringLiteral("Goto Record"));
    m_vsgRecords->setObjectName(QStringLiteral("vsgRecords"));
    m_vsgRecords->SetMultiSelect(false);
    m_vsgRecords->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_cmdOK->setObjectName(QStringLiteral("cmdOK"));
    m_cmdOK->setDefault(true);
    m_cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    m_cmdCancel->SetCancel(true);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_vsgRecords);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_cmdOK);
    buttons->addWidget(m_cmdCancel);
    layout->addLayout(buttons);
    SetWidthTwips(9000);
    SetHeightTwips(5400);

    connect(m_cmdOK, &QPushButton::clicked, this,
            [this] { runHandler("cmdOK_Click", [this] { cmdOK_Click(); }); });
    connect(m_vsgRecords, &FlexGrid::DblClick, this, [this] {
        if (m_vsgRecords->Row() >= m_vsgRecords->FixedRows())
            cmdOK_Click();
    });
    connect(m_cmdCancel, &QPushButton::clicked, this,
            [this] { runHandler("cmdCancel_Click", [this] { hide(); }); });
}

void frmGotoRecord::LoadRecordset(const std::shared_ptr<Recordset>& Records)
{
    m_vsgRecords->SetDataSource(Records);
    Misc_Functions::FormatGridHeaders(*m_vsgRecords);
}

void frmGotoRecord::cmdOK_Click()
{
    if (m_vsgRecords->SelectedRows() > 0)
        m_position = m_vsgRecords->SelectedRow(0);
    hide();
}

} // namespace bryx
