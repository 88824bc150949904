#include "Recordset.h"

#include "RecordsetPersistence.h"
#include "error/Error.h"

#include <algorithm>

namespace bryx {

namespace {
QString quoted(const QString& text)
{
    return QLatin1Char('"') + text + QLatin1Char('"');
}
} // namespace

Recordset::Recordset() = default;
Recordset::~Recordset() = default;

Field& Recordset::Fields(int index) const
{
    if (index < 0 || index >= FieldCount())
        throw Error(
            ErrorNumber::ItemNotFound,
            QStringLiteral("Fields(%1): item cannot be found; the recordset has %2 field(s), counted from 0")
                .arg(index)
                .arg(FieldCount()));
    return *m_fields[static_cast<size_t>(index)];
}

Field& Recordset::Fields(const QString& name) const
{
    if (Field* field = FindField(name))
        return *field;
    QStringList names;
    for (const auto& field : m_fields)
        names << field->Name();
    throw Error(
        ErrorNumber::ItemNotFound,
        QStringLiteral("Fields(%1): item cannot be found; the fields are %2")
            .arg(quoted(name), names.isEmpty() ? QStringLiteral("none") : names.join(QStringLiteral(", "))));
}

Field* Recordset::FindField(const QString& name) const noexcept
{
    const int index = FieldIndexOf(name);
    return index < 0 ? nullptr : m_fields[static_cast<size_t>(index)].get();
}

int Recordset::FieldIndexOf(const QString& name) const noexcept
{
    for (size_t i = 0; i < m_fields.size(); ++i) {
        if (m_fields[i]->Name().compare(name, Qt::CaseInsensitive) == 0)
            return static_cast<int>(i);
    }
    return -1;
}

void Recordset::AppendField(const QString& name, DataType type, qint64 definedSize, int attributes)
{
    AppendField(name, static_cast<int>(type), definedSize, attributes);
}

void Recordset::AppendField(const QString& name, int typeCode, qint64 definedSize, int attributes)
{
    if (m_open)
        throw Error(
            ErrorNumber::ObjectOpen,
            QStringLiteral("Fields.Append %1: fields can only be appended while the recordset is closed")
                .arg(quoted(name)));
    if (name.isEmpty())
        throw Error(ErrorNumber::InvalidArgument, QStringLiteral("Fields.Append: a field needs a name"));
    if (FindField(name))
        throw Error(ErrorNumber::InvalidArgument,
                    QStringLiteral("Fields.Append %1: the recordset already has a field of that name")
                        .arg(quoted(name)));
    if (definedSize < 0)
        throw Error(ErrorNumber::InvalidArgument,
                    QStringLiteral("Fields.Append %1: the defined size %2 is negative")
                        .arg(quoted(name))
                        .arg(definedSize));
    m_fields.push_back(std::make_unique<Field>(*this, name, typeCode, definedSize, attributes));
}

void Recordset::requireOpen(const char* operation) const
{
    if (!m_open)
        throw Error(ErrorNumber::ObjectClosed,
                    QStringLiteral("%1: operation is not allowed when the recordset is closed")
                        .arg(QLatin1String(operation)));
}

void Recordset::Open()
{
    if (m_open)
        throw Error(ErrorNumber::ObjectOpen, QStringLiteral("Open: the recordset is already open"));
    if (m_fields.empty())
        throw Error(ErrorNumber::InvalidArgument,
                    QStringLiteral("Open: append at least one field before opening"));
    resetRows();
    m_open = true;
}

void Recordset::Open(MemoryStream& stream)
{
    if (m_open)
        throw Error(ErrorNumber::ObjectOpen,
                    QStringLiteral("Open from stream: the recordset is already open"));
    RecordsetPersistence::load(*this, stream);
    m_open = true;
}

void Recordset::Close()
{
    requireOpen("Close");
    m_editMode = EditMode::None;
    m_editSnapshot.clear();
    m_filter.reset();
    m_filterText.clear();
    for (auto& field : m_fields) {
        field->SetOptimize(false);
        field->column().clear();
    }
    resetRows();
    m_open = false;
}

void Recordset::resetRows()
{
    m_rowCount = 0;
    m_status = {};
    m_visible = {};
    m_position = -1;
    m_deletedCurrent.reset();
    m_positionOf = {};
    m_positionsValid = false;
}

void Recordset::Save(MemoryStream& stream, PersistFormat format)
{
    requireOpen("Save");
    if (format != PersistFormat::ADTG)
        throw Error(ErrorNumber::FeatureNotAvailable,
                    QStringLiteral("Save: only the binary persistence format (0) is supported, not %1")
                        .arg(int(format)));
    commitEdit();
    RecordsetPersistence::save(*this, stream);
}

int Recordset::RecordCount() const
{
    requireOpen("RecordCount");
    return static_cast<int>(m_visible.size());
}

bool Recordset::IsBOF() const
{
    requireOpen("BOF");
    if (m_deletedCurrent)
        return false;
    return m_visible.empty() || m_position < 0;
}

bool Recordset::IsEOF() const
{
    requireOpen("EOF");
    if (m_deletedCurrent)
        return false;
    return m_visible.empty() || m_position >= static_cast<long>(m_visible.size());
}

bool Recordset::hasCurrent() const noexcept
{
    return !m_deletedCurrent && m_position >= 0 && m_position < static_cast<long>(m_visible.size());
}

void Recordset::noCurrentRecord(const QString& operation) const
{
    throw Error(ErrorNumber::NoCurrentRecord,
                QStringLiteral("%1: there is no current record (%2)")
                    .arg(operation,
                         m_deletedCurrent        ? QStringLiteral("the current record has been deleted")
                             : m_visible.empty() ? QStringLiteral("the recordset holds no visible record")
                                                 : (m_position < 0 ? QStringLiteral("BOF is True")
                                                                   : QStringLiteral("EOF is True"))));
}

size_t Recordset::currentRowFor(const Field& field, const char* operation) const
{
    requireOpen(operation);
    if (!hasCurrent())
        noCurrentRecord(QStringLiteral("%1 of field %2").arg(QLatin1String(operation), quoted(field.Name())));
    return m_visible[static_cast<size_t>(m_position)];
}

size_t Recordset::rowForWrite(const Field& field)
{
    const size_t row = currentRowFor(field, "Value");
    if (m_editMode == EditMode::None) {
        m_editSnapshot.clear();
        m_editSnapshot.reserve(m_fields.size());
        for (const auto& each : m_fields)
            m_editSnapshot.push_back(each->valueAt(row));
        m_editMode = EditMode::InProgress;
    }
    return row;
}

void Recordset::commitEdit()
{
    if (m_editMode == EditMode::None)
        return;
    if (m_position >= 0 && m_position < static_cast<long>(m_visible.size())) {
        uint8_t& status = m_status[m_visible[static_cast<size_t>(m_position)]];
        if (!(status & RecordStatus::New))
            status |= RecordStatus::Modified;
    }
    m_editMode = EditMode::None;
    m_editSnapshot.clear();
}

void Recordset::MoveFirst()
{
    requireOpen("MoveFirst");
    commitEdit();
    leaveDeletedCurrent();
    m_position = 0; // on an empty recordset this is also EOF
}

void Recordset::MoveLast()
{
    requireOpen("MoveLast");
    commitEdit();
    leaveDeletedCurrent();
    m_position = m_visible.empty() ? 0 : static_cast<long>(m_visible.size()) - 1;
}

void Recordset::MoveNext()
{
    requireOpen("MoveNext");
    commitEdit();
    if (m_deletedCurrent) {
        leaveDeletedCurrent(); // the next record already slid into the deleted one's place
        return;
    }
    if (IsEOF())
        noCurrentRecord(QStringLiteral("MoveNext"));
    ++m_position;
}

void Recordset::MovePrevious()
{
    requireOpen("MovePrevious");
    commitEdit();
    if (m_deletedCurrent) {
        leaveDeletedCurrent();
        m_position = std::max(-1L, m_position - 1);
        return;
    }
    if (IsBOF())
        noCurrentRecord(QStringLiteral("MovePrevious"));
    --m_position;
}

void Recordset::Move(int records, FindStart start)
{
    requireOpen("Move");
    commitEdit();
    const long size = static_cast<long>(m_visible.size());
    long from;
    if (std::holds_alternative<BookmarkEnum>(start)
        && std::get<BookmarkEnum>(start) == BookmarkEnum::Current) {
        if (m_deletedCurrent) {
            from = records > 0 ? m_position - 1 : m_position;
            leaveDeletedCurrent();
        } else {
            if ((records > 0 && IsEOF()) || (records < 0 && IsBOF()) || (records == 0 && !hasCurrent()))
                noCurrentRecord(QStringLiteral("Move %1").arg(records));
            from = m_position;
        }
    } else {
        from = startPosition(start, "Move");
    }
    m_position = std::clamp(from + records, -1L, size);
}

int Recordset::AbsolutePosition() const
{
    requireOpen("AbsolutePosition");
    if (m_deletedCurrent || m_visible.empty())
        return PositionUnknown;
    if (m_position < 0)
        return PositionBOF;
    if (m_position >= static_cast<long>(m_visible.size()))
        return PositionEOF;
    return static_cast<int>(m_position) + 1;
}

void Recordset::SetAbsolutePosition(int position)
{
    requireOpen("AbsolutePosition");
    if (position < 1 || position > static_cast<int>(m_visible.size()))
        throw Error(
            ErrorNumber::InvalidArgument,
            QStringLiteral("AbsolutePosition = %1: the position must lie between 1 and the record count %2")
                .arg(position)
                .arg(m_visible.size()));
    commitEdit();
    leaveDeletedCurrent();
    m_position = position - 1;
}

Bookmark Recordset::GetBookmark() const
{
    requireOpen("Bookmark");
    if (!hasCurrent())
        noCurrentRecord(QStringLiteral("Bookmark"));
    return Bookmark {m_visible[static_cast<size_t>(m_position)]};
}

void Recordset::SetBookmark(Bookmark bookmark)
{
    requireOpen("Bookmark");
    const int32_t position = bookmark.row < m_rowCount ? positions()[bookmark.row] : -1;
    if (position < 0)
        throw Error(ErrorNumber::InvalidArgument,
                    QStringLiteral("Bookmark = %1: the bookmark names no visible record").arg(bookmark.row));
    commitEdit();
    leaveDeletedCurrent();
    m_position = position;
}

const std::vector<int32_t>& Recordset::positions() const
{
    if (!m_positionsValid) {
        m_positionOf.assign(m_rowCount, -1);
        for (size_t i = 0; i < m_visible.size(); ++i)
            m_positionOf[m_visible[i]] = static_cast<int32_t>(i);
        m_positionsValid = true;
    }
    return m_positionOf;
}

long Recordset::startPosition(const FindStart& start, const char* operation) const
{
    if (const auto* bookmark = std::get_if<Bookmark>(&start)) {
        const int32_t position = bookmark->row < m_rowCount ? positions()[bookmark->row] : -1;
        if (position < 0)
            throw Error(ErrorNumber::InvalidArgument,
                        QStringLiteral("%1: the start bookmark names no visible record")
                            .arg(QLatin1String(operation)));
        return position;
    }
    switch (std::get<BookmarkEnum>(start)) {
    case BookmarkEnum::First:
        return 0;
    case BookmarkEnum::Last:
        return static_cast<long>(m_visible.size()) - 1;
    case BookmarkEnum::Current:
        break;
    }
    return m_position;
}

void Recordset::Find(const QString& criteria, int skipRecords, SearchDirection direction, FindStart start)
{
    requireOpen("Find");
    const QString operation = QStringLiteral("Find");
    Criteria parsed = Criteria::parse(
        criteria, [this](const QString& name) { return static_cast<const Field*>(FindField(name)); },
        operation);
    const Criteria::Comparison* comparison = parsed.single();
    if (!comparison)
        throw Error(
            ErrorNumber::InvalidArgument,
            QStringLiteral(
                "Find \"%1\": Find takes one comparison; use Filter to combine several with AND or OR")
                .arg(criteria));
    if (skipRecords < 0)
        throw Error(ErrorNumber::InvalidArgument,
                    QStringLiteral("Find \"%1\": the number of records to skip (%2) is negative")
                        .arg(criteria)
                        .arg(skipRecords));
    commitEdit();

    const int step = static_cast<int>(direction);
    long from;
    const bool fromCurrent =
        std::holds_alternative<BookmarkEnum>(start) && std::get<BookmarkEnum>(start) == BookmarkEnum::Current;
    if (fromCurrent && m_deletedCurrent) {
        from = step > 0 ? m_position : m_position - 1;
    } else if (fromCurrent) {
        if (!hasCurrent())
            noCurrentRecord(QStringLiteral("Find \"%1\"").arg(criteria));
        from = m_position;
    } else {
        from = startPosition(start, "Find");
    }
    leaveDeletedCurrent();
    from += static_cast<long>(skipRecords) * step;

    const long found = comparison->field->Optimize() ? findByIndex(*comparison, from, step)
                                                     : findByScan(*comparison, from, step);
    if (found >= 0)
        m_position = found;
    else
        m_position = step > 0 ? static_cast<long>(m_visible.size()) : -1;
}

long Recordset::findByScan(const Criteria::Comparison& comparison, long from, int step) const
{
    const long size = static_cast<long>(m_visible.size());
    for (long position = std::max(from, -1L); position >= 0 && position < size; position += step) {
        if (comparison.matches(m_visible[static_cast<size_t>(position)]))
            return position;
    }
    return -1;
}

long Recordset::findByIndex(const Criteria::Comparison& comparison, long from, int step) const
{
    bool noMatch = false;
    const auto key = comparison.indexKey(noMatch);
    if (!key)
        return findByScan(comparison, from, step);
    if (noMatch)
        return -1;
    const std::vector<int32_t>& positionOf = positions();
    long best = -1;
    comparison.field->index()->forEachCandidate(*key, [&](uint32_t row) {
        const long position = positionOf[row];
        if (position < 0 || (step > 0 ? position < from : position > from))
            return;
        if (best >= 0 && (step > 0 ? position >= best : position <= best))
            return;
        if (comparison.matches(row))
            best = position;
    });
    return best;
}

void Recordset::SetFilter(const QString& criteria)
{
    requireOpen("Filter");
    std::optional<Criteria> parsed;
    if (!criteria.isEmpty())
        parsed = Criteria::parse(
            criteria, [this](const QString& name) { return static_cast<const Field*>(FindField(name)); },
            QStringLiteral("Filter"));
    commitEdit();
    m_filter = std::move(parsed);
    m_filterText = criteria;
    rebuildVisible();
    m_position = 0;
}

void Recordset::rebuildVisible()
{
    m_visible.clear();
    for (size_t row = 0; row < m_rowCount; ++row) {
        if (!(m_status[row] & RecordStatus::Deleted) && (!m_filter || m_filter->matches(row)))
            m_visible.push_back(static_cast<uint32_t>(row));
    }
    m_deletedCurrent.reset();
    invalidatePositions();
}

void Recordset::AddNew()
{
    requireOpen("AddNew");
    commitEdit();
    leaveDeletedCurrent();
    if (m_rowCount >= UINT32_MAX)
        throw Error(ErrorNumber::IllegalOperation, QStringLiteral("AddNew: the recordset is full"));
    const size_t row = m_rowCount;
    for (auto& field : m_fields)
        field->column().appendNull();
    m_status.push_back(RecordStatus::New);
    ++m_rowCount;
    m_positionBeforeAdd = m_position;
    m_visible.push_back(static_cast<uint32_t>(row));
    if (m_positionsValid)
        m_positionOf.push_back(static_cast<int32_t>(m_visible.size() - 1));
    m_position = static_cast<long>(m_visible.size()) - 1;
    m_editMode = EditMode::Add;
}

void Recordset::Update()
{
    requireOpen("Update");
    if (m_deletedCurrent)
        noCurrentRecord(QStringLiteral("Update"));
    commitEdit();
}

void Recordset::CancelUpdate()
{
    requireOpen("CancelUpdate");
    if (m_editMode == EditMode::Add) {
        const size_t row = m_rowCount - 1;
        for (auto& field : m_fields) {
            if (FieldIndex* index = field->index())
                index->erase(row);
            field->column().popBack();
        }
        m_status.pop_back();
        --m_rowCount;
        m_visible.pop_back();
        if (m_positionsValid)
            m_positionOf.pop_back();
        m_position = m_positionBeforeAdd;
    } else if (m_editMode == EditMode::InProgress) {
        const size_t row = m_visible[static_cast<size_t>(m_position)];
        for (size_t i = 0; i < m_fields.size(); ++i)
            m_fields[i]->setValueAt(row, m_editSnapshot[i]);
    }
    m_editMode = EditMode::None;
    m_editSnapshot.clear();
}

void Recordset::Delete(Affect affect)
{
    requireOpen("Delete");
    if (affect == Affect::Group) {
        commitEdit();
        for (const uint32_t row : m_visible)
            m_status[row] |= RecordStatus::Deleted;
        m_visible.clear();
        m_position = 0;
        invalidatePositions();
        return;
    }
    if (affect != Affect::Current)
        throw Error(
            ErrorNumber::InvalidArgument,
            QStringLiteral("Delete(%1): only the current record (1) or the filtered group (2) can be deleted")
                .arg(int(affect)));
    if (!hasCurrent())
        noCurrentRecord(QStringLiteral("Delete"));
    commitEdit();
    const uint32_t row = m_visible[static_cast<size_t>(m_position)];
    m_status[row] |= RecordStatus::Deleted;
    m_visible.erase(m_visible.begin() + m_position);
    m_deletedCurrent = row;
    invalidatePositions();
}

void Recordset::UpdateBatch(Affect affect)
{
    requireOpen("UpdateBatch");
    commitEdit();
    std::vector<bool> drop(m_rowCount, false);
    bool anyDropped = false;
    auto settle = [&](size_t row) {
        if (m_status[row] & RecordStatus::Deleted) {
            drop[row] = true;
            anyDropped = true;
        } else {
            m_status[row] = 0;
        }
    };
    if (affect == Affect::Current) {
        if (m_deletedCurrent)
            settle(*m_deletedCurrent);
        else if (hasCurrent())
            settle(m_visible[static_cast<size_t>(m_position)]);
    } else {
        for (size_t row = 0; row < m_rowCount; ++row)
            settle(row);
    }
    if (anyDropped)
        dropRows(drop);
}

void Recordset::dropRows(const std::vector<bool>& drop)
{
    const long current = hasCurrent() ? static_cast<long>(m_visible[static_cast<size_t>(m_position)]) : -1;
    std::vector<uint32_t> kept;
    std::vector<int64_t> newRowOf(m_rowCount, -1);
    kept.reserve(m_rowCount);
    for (size_t row = 0; row < m_rowCount; ++row) {
        if (!drop[row]) {
            newRowOf[row] = static_cast<int64_t>(kept.size());
            kept.push_back(static_cast<uint32_t>(row));
        }
    }
    for (auto& field : m_fields) {
        field->column().keepRows(kept);
        field->rebuildIndex();
    }
    std::vector<uint8_t> status;
    status.reserve(kept.size());
    for (const uint32_t row : kept)
        status.push_back(m_status[row]);
    m_status = std::move(status);
    m_rowCount = kept.size();

    std::vector<uint32_t> visible;
    visible.reserve(m_visible.size());
    long position = -1;
    for (const uint32_t row : m_visible) {
        if (newRowOf[row] < 0)
            continue;
        if (static_cast<long>(row) == current)
            position = static_cast<long>(visible.size());
        visible.push_back(static_cast<uint32_t>(newRowOf[row]));
    }
    const long oldPosition = m_position;
    m_visible = std::move(visible);
    m_deletedCurrent.reset();
    m_position = position >= 0 ? position : std::min(oldPosition, static_cast<long>(m_visible.size()));
    invalidatePositions();
}

int Recordset::Status() const
{
    requireOpen("Status");
    if (m_deletedCurrent)
        return m_status[*m_deletedCurrent];
    if (!hasCurrent())
        noCurrentRecord(QStringLiteral("Status"));
    const uint8_t status = m_status[m_visible[static_cast<size_t>(m_position)]];
    return status == 0 ? RecordStatus::Unmodified : status;
}

QVariant Recordset::ValueAt(int position, int fieldIndex) const
{
    requireOpen("ValueAt");
    if (position < 0 || position >= static_cast<int>(m_visible.size()))
        throw Error(ErrorNumber::InvalidArgument,
                    QStringLiteral("ValueAt(%1): the position lies outside 0 to %2")
                        .arg(position)
                        .arg(m_visible.size()));
    return Fields(fieldIndex).valueAt(m_visible[static_cast<size_t>(position)]);
}

QString Recordset::TextAt(int position, int fieldIndex) const
{
    requireOpen("TextAt");
    if (position < 0 || position >= static_cast<int>(m_visible.size()))
        throw Error(ErrorNumber::InvalidArgument,
                    QStringLiteral("TextAt(%1): the position lies outside 0 to %2")
                        .arg(position)
                        .arg(m_visible.size()));
    return Fields(fieldIndex).textAt(m_visible[static_cast<size_t>(position)]);
}

void Recordset::reserve(size_t rows)
{
    for (auto& field : m_fields)
        field->column().reserve(rows);
    m_status.reserve(rows);
    m_visible.reserve(rows);
}

size_t Recordset::memoryBytes() const noexcept
{
    size_t bytes = sizeof(*this) + m_status.capacity() + m_visible.capacity() * sizeof(uint32_t)
        + m_positionOf.capacity() * sizeof(int32_t);
    for (const auto& field : m_fields)
        bytes += sizeof(Field) + field->column().memoryBytes();
    return bytes;
}

} // namespace bryx
