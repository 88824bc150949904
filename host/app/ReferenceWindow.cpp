#include "ReferenceWindow.h"

#include "controls/FlexGrid.h"
#include "hosting/ErrorReport.h"
#include "recordset/Field.h"
#include "recordset/Recordset.h"
#include "services/SqlAppManager.h"
#include "util/Misc_Functions.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace bryx::host {

ReferenceWindow::ReferenceWindow(std::shared_ptr<SqlAppManager> appManager,
                                 std::shared_ptr<Recordset> references, QWidget* parent)
    : QWidget(parent)
    , m_appManager(std::move(appManager))
    , m_references(std::move(references))
    , m_code(new QLineEdit(this))
    , m_citation(new QPlainTextEdit(this))
    , m_names(new FlexGrid(this))
    , m_position(new QLabel(this))
    , m_previous(new QPushButton(tr("< &Previous"), this))
    , m_next(new QPushButton(tr("&Next >"), this))
{
    setObjectName(QStringLiteral("ReferenceWindow"));
    m_code->setObjectName(QStringLiteral("txtReferenceCode"));
    m_code->setReadOnly(true);
    m_citation->setObjectName(QStringLiteral("txtFullCitation"));
    m_citation->setReadOnly(true);
    m_citation->setMaximumHeight(80);
    m_names->setObjectName(QStringLiteral("fgCitingNames"));
    m_names->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_position->setObjectName(QStringLiteral("lblPosition"));
    m_previous->setObjectName(QStringLiteral("cmdPrevious"));
    m_next->setObjectName(QStringLiteral("cmdNext"));
    auto* form = new QFormLayout;
    form->addRow(tr("Reference Code"), m_code);
    form->addRow(tr("Full Citation"), m_citation);
    auto* strip = new QHBoxLayout;
    strip->addWidget(m_previous);
    strip->addWidget(m_position);
    strip->addWidget(m_next);
    strip->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(new QLabel(tr("Scientific names citing it:"), this));
    layout->addWidget(m_names);
    layout->addLayout(strip);
    connect(m_previous, &QPushButton::clicked, this,
            [this] { runHandler("ReferencePrevious", [this] { showRow(position() - 1); }); });
    connect(m_next, &QPushButton::clicked, this,
            [this] { runHandler("ReferenceNext", [this] { showRow(position() + 1); }); });
    resize(640, 420);
}

int ReferenceWindow::position() const
{
    return m_references->IsEOF() || m_references->IsBOF() ? 0 : m_references->AbsolutePosition();
}

bool ReferenceWindow::showReference(int32_t id)
{
    if (m_references->RecordCount() == 0)
        return false;
    m_references->MoveFirst();
    m_references->Find(QStringLiteral("ID = %1").arg(id));
    if (m_references->IsEOF())
        return false;
    showRow(m_references->AbsolutePosition());
    return true;
}

void ReferenceWindow::showRow(int row)
{
    const int count = m_references->RecordCount();
    if (row < 1 || row > count)
        return;
    m_references->SetAbsolutePosition(row);
    m_shownId = m_references->Fields(QStringLiteral("ID")).Value().toInt();
    m_code->setText(m_references->Fields(QStringLiteral("Reference_Code")).Value().toString());
    m_citation->setPlainText(m_references->Fields(QStringLiteral("Full_Citation")).Value().toString());
    setWindowTitle(tr("Reference - %1").arg(m_code->text()));
    QString sql =
        QStringLiteral("select * from scientific_wl_vw where ID in (select scientific_name_id from "
                       "scientific_name_reference where reference_id = %1) order by Scientific_Name")
            .arg(m_shownId);
    m_citingNames = m_appManager->CallGetQueryRSXML(sql);
    m_names->SetDataSource(m_citingNames);
    Misc_Functions::FormatGridHeaders(*m_names);
    m_position->setText(tr("%1 of %2").arg(row).arg(count));
    m_previous->setEnabled(row > 1);
    m_next->setEnabled(row < count);
}

} // namespace bryx::host
