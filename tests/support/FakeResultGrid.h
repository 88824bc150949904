#pragma once

#include "controls/ResultGrid.h"

#include <QString>
#include <vector>

namespace bryx::test {

// A result grid with one header row whose data rows show the given IDs in column 0.
class FakeResultGrid : public ResultGrid {
public:
    explicit FakeResultGrid(std::vector<QString> ids)
        : m_ids(std::move(ids))
    {
    }

    // Selects data rows by their 0-based data index, in the order given.
    void select(std::vector<int> dataRows)
    {
        m_selected.clear();
        for (const int row : dataRows)
            m_selected.push_back(row + 1);
    }
    void setCurrentDataRow(int dataRow) { m_row = dataRow + 1; }

    int Rows() const override { return static_cast<int>(m_ids.size()) + 1; }
    int FixedRows() const override { return 1; }
    int Row() const override { return m_row; }
    int SelectedRows() const override { return static_cast<int>(m_selected.size()); }
    int SelectedRow(int index) const override { return m_selected.at(static_cast<size_t>(index)); }
    QString TextMatrix(int row, int col) const override
    {
        if (row == 0)
            return col == 0 ? QStringLiteral("ID") : QString();
        return col == 0 ? m_ids.at(static_cast<size_t>(row - 1)) : QString();
    }

private:
    std::vector<QString> m_ids;
    std::vector<int> m_selected;
    int m_row = 1;
};

} // namespace bryx::test
