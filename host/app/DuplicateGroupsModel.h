#pragma once

#include "curation/DuplicateFinder.h"

#include <QAbstractTableModel>
#include <vector>

namespace bryx::host {

// The groups a duplicate search found, one row per name, the groups told apart by a shade.
// Rows are drawn only as the view reaches them, so tens of thousands of groups page at once.
class DuplicateGroupsModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column {
        Group,
        Id,
        Name,
        Author,
        Type,
        Category,
        Level,
        References,
        Resting,
        LastChanged,
        ChangedBy,
        Count
    };

    explicit DuplicateGroupsModel(QObject* parent = nullptr);

    void setGroups(std::vector<DuplicateGroup> groups);
    // Takes the group of a row out of the list (merged, so no duplicates any more).
    void removeGroupOf(int row);
    int groupCount() const { return int(m_groups.size()); }
    int nameCount() const { return int(m_rows.size()); }
    // The group of a row and the name it shows.
    const DuplicateGroup& groupOf(int row) const;
    const DuplicateMember& memberAt(int row) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    void indexRows();

    struct Row {
        int group;
        int member;
    };
    std::vector<DuplicateGroup> m_groups;
    std::vector<Row> m_rows;
};

} // namespace bryx::host
