#include "WorkingListView.h"

#include "controls/FlexGrid.h"
#include "recordset/Recordset.h"
#include "util/Misc_Functions.h"

#include <QLabel>
#include <QVBoxLayout>

namespace bryx::host {

WorkingListView::WorkingListView(std::shared_ptr<Recordset> workingList, QWidget* parent)
    : QWidget(parent)
    , m_workingList(std::move(workingList))
    , m_grid(new FlexGrid(this))
    , m_count(new QLabel(this))
{
    setObjectName(QStringLiteral("WorkingList"));
    m_grid->setObjectName(QStringLiteral("fgWorkingList"));
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->SetMultiSelect(false);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_grid);
    layout->addWidget(m_count);
    connect(m_grid, &FlexGrid::DblClick, this, [this] {
        if (const int32_t id = currentId())
            emit openRequested(id);
    });
    refresh();
}

int WorkingListView::count() const
{
    return m_workingList->RecordCount();
}

void WorkingListView::setRedraw(bool redraw)
{
    m_grid->setUpdatesEnabled(redraw);
    if (redraw)
        refresh();
}

void WorkingListView::refresh()
{
    if (m_grid->DataSource() != m_workingList) {
        m_grid->SetDataSource(m_workingList);
        Misc_Functions::FormatGridHeaders(*m_grid);
    } else {
        m_grid->Refresh();
        // Columns fitted to an empty list are header-wide; the first rows get them fitted again.
        if (m_shownCount == 0 && count() > 0)
            m_grid->resizeColumnsToContents();
    }
    m_shownCount = count();
    m_count->setText(tr("%n name(s) in the working list", nullptr, m_shownCount));
}

int32_t WorkingListView::currentId() const
{
    const int row = m_grid->Row();
    return row >= m_grid->FixedRows() ? m_grid->TextMatrix(row, 0).toInt() : 0;
}

} // namespace bryx::host
