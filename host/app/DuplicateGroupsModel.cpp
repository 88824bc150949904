#include "DuplicateGroupsModel.h"

#include <QColor>

namespace bryx::host {

namespace {

// Every other group on a light shade, so that a group's names read as one block.
const QColor OtherGroupShade(0xee, 0xf2, 0xf8);

QString typeWord(QChar type)
{
    if (type == QLatin1Char('P'))
        return QStringLiteral("Botanical");
    if (type == QLatin1Char('A'))
        return QStringLiteral("Zoological");
    if (type == QLatin1Char('C'))
        return QStringLiteral("Ecological community");
    return {};
}

} // namespace

DuplicateGroupsModel::DuplicateGroupsModel(QObject* parent)
    : QAbstractTableModel(parent)
{
}

void DuplicateGroupsModel::setGroups(std::vector<DuplicateGroup> groups)
{
    beginResetModel();
    m_groups = std::move(groups);
    indexRows();
    endResetModel();
}

void DuplicateGroupsModel::removeGroupOf(int row)
{
    const int group = m_rows.at(size_t(row)).group;
    int first = row;
    while (first > 0 && m_rows[size_t(first - 1)].group == group)
        --first;
    const int last = first + int(m_groups[size_t(group)].members.size()) - 1;
    beginRemoveRows({}, first, last);
    m_groups.erase(m_groups.begin() + group);
    indexRows();
    endRemoveRows();
}

void DuplicateGroupsModel::indexRows()
{
    m_rows.clear();
    for (int group = 0; group < int(m_groups.size()); ++group) {
        for (int member = 0; member < int(m_groups[size_t(group)].members.size()); ++member)
            m_rows.push_back({group, member});
    }
}

const DuplicateGroup& DuplicateGroupsModel::groupOf(int row) const
{
    return m_groups.at(size_t(m_rows.at(size_t(row)).group));
}

const DuplicateMember& DuplicateGroupsModel::memberAt(int row) const
{
    return groupOf(row).members.at(size_t(m_rows.at(size_t(row)).member));
}

int DuplicateGroupsModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int DuplicateGroupsModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : Count;
}

QVariant DuplicateGroupsModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= int(m_rows.size()))
        return {};
    const Row& row = m_rows[size_t(index.row())];
    if (role == Qt::BackgroundRole)
        return row.group % 2 == 1 ? QVariant(OtherGroupShade) : QVariant();
    if (role == Qt::TextAlignmentRole
        && (index.column() == Id || index.column() == References || index.column() == Resting))
        return int(Qt::AlignRight | Qt::AlignVCenter);
    if (role != Qt::DisplayRole)
        return {};
    const DuplicateMember& member = memberAt(index.row());
    switch (index.column()) {
    case Group:
        return row.member == 0 ? QVariant(row.group + 1) : QVariant();
    case Id:
        return member.id;
    case Name:
        return member.name;
    case Author:
        return member.author;
    case Type:
        return typeWord(member.type);
    case Category:
        return member.category;
    case Level:
        return member.level;
    case References:
        return member.references;
    case Resting:
        return member.resting;
    case LastChanged:
        return member.lastChanged;
    case ChangedBy:
        return member.changedBy;
    default:
        return {};
    }
}

QVariant DuplicateGroupsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    static const char* const captions[] = {
        "Group", "ID",         "Scientific Name", "Author",       "Type", "Category",
        "Level", "References", "Resting on it",   "Last Changed", "By"};
    return section >= 0 && section < Count ? QVariant(tr(captions[section])) : QVariant();
}

} // namespace bryx::host
