#include "RecordsetBuilder.h"

#include "Growth.h"
#include "Recordset.h"
#include "error/Error.h"

#include <bit>

namespace bryx {

RecordsetBuilder::RecordsetBuilder()
    : m_recordset(std::make_shared<Recordset>())
{
}

RecordsetBuilder::~RecordsetBuilder() = default;

void RecordsetBuilder::AppendField(const QString& name, DataType type, qint64 definedSize, int attributes)
{
    m_recordset->AppendField(name, type, definedSize, attributes);
}

void RecordsetBuilder::reserve(size_t rows)
{
    m_recordset->reserve(rows);
}

void RecordsetBuilder::beginRow()
{
    if (!m_opened) {
        m_recordset->Open();
        m_opened = true;
    }
    Recordset& rs = *m_recordset;
    if (rs.m_rowCount >= UINT32_MAX)
        throw Error(ErrorNumber::IllegalOperation,
                    QStringLiteral("The result holds more rows than a recordset can"));
    for (auto& field : rs.m_fields)
        field->column().appendNull();
    growFor(rs.m_status, rs.m_status.size() + 1);
    rs.m_status.push_back(0);
    growFor(rs.m_visible, rs.m_visible.size() + 1);
    rs.m_visible.push_back(static_cast<uint32_t>(rs.m_rowCount));
    m_row = rs.m_rowCount++;
}

void RecordsetBuilder::setInteger(int field, int64_t value)
{
    m_recordset->m_fields[size_t(field)]->column().setWord(m_row, value);
}

void RecordsetBuilder::setReal(int field, double value)
{
    m_recordset->m_fields[size_t(field)]->column().setWord(m_row, std::bit_cast<int64_t>(value));
}

void RecordsetBuilder::setText(int field, std::string_view utf8)
{
    m_recordset->m_fields[size_t(field)]->column().setBytes(m_row, utf8);
}

void RecordsetBuilder::setDateMs(int field, int64_t msSinceEpoch)
{
    m_recordset->m_fields[size_t(field)]->column().setWord(m_row, msSinceEpoch);
}

void RecordsetBuilder::setBoolean(int field, bool value)
{
    m_recordset->m_fields[size_t(field)]->column().setWord(m_row, value ? 1 : 0);
}

void RecordsetBuilder::setValue(int field, const QVariant& value)
{
    m_recordset->m_fields[size_t(field)]->setValueAt(m_row, value);
}

StorageKind RecordsetBuilder::kindOf(int field) const
{
    return m_recordset->m_fields[size_t(field)]->column().kind();
}

bool RecordsetBuilder::hasField(const QString& name) const
{
    return m_recordset->FindField(name) != nullptr;
}

int RecordsetBuilder::fieldCount() const
{
    return m_recordset->FieldCount();
}

std::shared_ptr<Recordset> RecordsetBuilder::finish()
{
    if (!m_opened)
        m_recordset->Open();
    m_recordset->m_position = 0;
    for (const auto& field : m_recordset->m_fields)
        field->column().shrinkToFit();
    m_recordset->m_status.shrink_to_fit();
    m_recordset->m_visible.shrink_to_fit();
    auto finished = std::move(m_recordset);
    m_recordset = std::make_shared<Recordset>();
    m_opened = false;
    m_row = 0;
    return finished;
}

} // namespace bryx
