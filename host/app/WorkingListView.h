#pragma once

#include <QWidget>
#include <memory>

class QLabel;

namespace bryx {
class FlexGrid;
class Recordset;
} // namespace bryx

namespace bryx::host {

// The user's working list of scientific names: a grid that reads the host's recordset in
// place, and its count. Components add to the recordset; the view repaints when told.
class WorkingListView : public QWidget {
    Q_OBJECT
public:
    explicit WorkingListView(std::shared_ptr<Recordset> workingList, QWidget* parent = nullptr);

    const std::shared_ptr<Recordset>& workingList() const { return m_workingList; }
    FlexGrid& grid() const { return *m_grid; }
    int count() const;
    // Off while a component adds rows; on again re-reads the recordset once.
    void setRedraw(bool redraw);
    void refresh();
    // The ID of the current row, 0 when there is none.
    int32_t currentId() const;

signals:
    void openRequested(int32_t id);

private:
    std::shared_ptr<Recordset> m_workingList;
    FlexGrid* m_grid;
    QLabel* m_count;
    int m_shownCount = 0;
};

} // namespace bryx::host
