#include "FieldIndex.h"

#include <QHash>
#include <bit>

namespace bryx {

FieldIndex::FieldIndex(const Column& column)
    : m_column(column)
{
    m_rows.reserve(column.size());
    for (size_t row = 0; row < column.size(); ++row)
        insert(row);
}

void FieldIndex::insert(size_t row)
{
    if (const auto key = keyOf(m_column, row))
        m_rows.emplace(*key, static_cast<uint32_t>(row));
}

void FieldIndex::erase(size_t row)
{
    const auto key = keyOf(m_column, row);
    if (!key)
        return;
    const auto [first, last] = m_rows.equal_range(*key);
    for (auto it = first; it != last; ++it) {
        if (it->second == row) {
            m_rows.erase(it);
            return;
        }
    }
}

std::optional<uint64_t> FieldIndex::keyOf(const Column& column, size_t row)
{
    if (column.isNull(row))
        return std::nullopt;
    switch (column.kind()) {
    case StorageKind::Real:
        return keyOfReal(column.real(row));
    case StorageKind::Text:
    case StorageKind::Binary: {
        const std::string_view bytes = column.bytes(row);
        return keyOfText(QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size())));
    }
    default:
        return static_cast<uint64_t>(column.word(row));
    }
}

uint64_t FieldIndex::keyOfText(const QString& text)
{
    return qHash(text.toCaseFolded(), size_t(0x9e3779b97f4a7c15ULL));
}

uint64_t FieldIndex::keyOfReal(double value)
{
    return std::bit_cast<uint64_t>(value == 0.0 ? 0.0 : value);
}

} // namespace bryx
