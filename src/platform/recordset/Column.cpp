#include "Column.h"

#include "Growth.h"
#include "error/Error.h"

#include <cstring>
#include <limits>

namespace bryx {

namespace {

constexpr uint64_t LengthMask = (uint64_t(1) << 31) - 1;

} // namespace

void Column::reserve(size_t rows)
{
    m_nulls.reserve((rows + 63) / 64);
    if (holdsBytes())
        m_slots.reserve(rows);
    else
        m_words.reserve(rows);
}

void Column::appendNull()
{
    const size_t row = m_rows;
    if ((row & 63) == 0) {
        growFor(m_nulls, m_nulls.size() + 1);
        m_nulls.push_back(0);
    }
    if (holdsBytes()) {
        growFor(m_slots, row + 1);
        m_slots.push_back(InlineFlag);
    } else {
        growFor(m_words, row + 1);
        m_words.push_back(0);
    }
    ++m_rows;
    m_nulls[row >> 6] |= uint64_t(1) << (row & 63);
}

void Column::popBack() noexcept
{
    if (m_rows == 0)
        return;
    --m_rows;
    if (holdsBytes()) {
        const uint64_t slot = m_slots.back();
        if (!(slot & InlineFlag)) {
            const size_t length = (slot >> 32) & LengthMask;
            if ((slot & 0xffffffffU) + length == m_arena.size())
                m_arena.resize(m_arena.size() - length);
            else
                m_garbage += length;
        }
        m_slots.pop_back();
    } else {
        m_words.pop_back();
    }
    m_nulls[m_rows >> 6] &= ~(uint64_t(1) << (m_rows & 63));
    if ((m_rows & 63) == 0)
        m_nulls.pop_back();
}

void Column::clear() noexcept
{
    m_rows = 0;
    m_garbage = 0;
    m_nulls = {};
    m_words = {};
    m_slots = {};
    m_arena = {};
}

void Column::setNull(size_t row) noexcept
{
    if (holdsBytes()) {
        const uint64_t slot = m_slots[row];
        if (!(slot & InlineFlag))
            m_garbage += (slot >> 32) & LengthMask;
        m_slots[row] = InlineFlag;
    } else {
        m_words[row] = 0;
    }
    m_nulls[row >> 6] |= uint64_t(1) << (row & 63);
}

void Column::setWord(size_t row, int64_t value) noexcept
{
    m_words[row] = value;
    m_nulls[row >> 6] &= ~(uint64_t(1) << (row & 63));
}

std::string_view Column::bytes(size_t row) const noexcept
{
    const uint64_t& slot = m_slots[row];
    if (slot & InlineFlag)
        return {reinterpret_cast<const char*>(&slot), static_cast<size_t>((slot >> 56) & 0x7)};
    return {m_arena.data() + (slot & 0xffffffffU), static_cast<size_t>((slot >> 32) & LengthMask)};
}

void Column::setBytes(size_t row, std::string_view value)
{
    const uint64_t old = m_slots[row];
    if (!(old & InlineFlag))
        m_garbage += (old >> 32) & LengthMask;
    appendSlotBytes(row, value);
    m_nulls[row >> 6] &= ~(uint64_t(1) << (row & 63));
    compactArenaIfWasteful();
}

void Column::appendSlotBytes(size_t row, std::string_view value)
{
    if (value.size() <= MaxInline) {
        uint64_t slot = InlineFlag | (uint64_t(value.size()) << 56);
        std::memcpy(&slot, value.data(), value.size());
        m_slots[row] = slot;
        return;
    }
    if (value.size() > LengthMask || m_arena.size() + value.size() > std::numeric_limits<uint32_t>::max())
        throw Error(
            ErrorNumber::DataConversion,
            QStringLiteral(
                "a text of %1 bytes does not fit: one field of a recordset holds at most 4 GiB of text")
                .arg(value.size()));
    const size_t offset = m_arena.size();
    growFor(m_arena, offset + value.size());
    m_arena.insert(m_arena.end(), value.begin(), value.end());
    m_slots[row] = uint64_t(offset) | (uint64_t(value.size()) << 32);
}

void Column::compactArenaIfWasteful()
{
    if (m_garbage < (size_t(1) << 20) || m_garbage * 2 < m_arena.size())
        return;
    std::vector<char> old;
    old.swap(m_arena);
    m_arena.reserve(old.size() - m_garbage);
    m_garbage = 0;
    for (uint64_t& slot : m_slots) {
        if (slot & InlineFlag)
            continue;
        const size_t length = (slot >> 32) & LengthMask;
        const size_t offset = m_arena.size();
        const char* from = old.data() + (slot & 0xffffffffU);
        m_arena.insert(m_arena.end(), from, from + length);
        slot = uint64_t(offset) | (uint64_t(length) << 32);
    }
}

void Column::copyCell(size_t row, const Column& from, size_t fromRow)
{
    if (from.isNull(fromRow)) {
        setNull(row);
        return;
    }
    if (holdsBytes()) {
        if (&from == this) {
            const std::string copy(from.bytes(fromRow));
            setBytes(row, copy);
        } else {
            setBytes(row, from.bytes(fromRow));
        }
    } else {
        setWord(row, from.word(fromRow));
    }
}

void Column::keepRows(const std::vector<uint32_t>& rows)
{
    Column kept(m_kind);
    kept.reserve(rows.size());
    for (const uint32_t row : rows) {
        kept.appendNull();
        kept.copyCell(kept.m_rows - 1, *this, row);
    }
    *this = std::move(kept);
}

void Column::shrinkToFit()
{
    m_nulls.shrink_to_fit();
    m_words.shrink_to_fit();
    m_slots.shrink_to_fit();
    m_arena.shrink_to_fit();
}

size_t Column::memoryBytes() const noexcept
{
    return m_nulls.capacity() * sizeof(uint64_t) + m_words.capacity() * sizeof(int64_t)
        + m_slots.capacity() * sizeof(uint64_t) + m_arena.capacity();
}

void Column::assignRaw(size_t rows, std::vector<uint64_t> nulls, std::vector<int64_t> words)
{
    m_rows = rows;
    m_nulls = std::move(nulls);
    m_words = std::move(words);
}

void Column::assignTexts(size_t rows, std::vector<uint64_t> nulls, const uint32_t* lengths, const char* bytes)
{
    size_t longBytes = 0;
    for (size_t i = 0; i < rows; ++i)
        longBytes += lengths[i] > MaxInline ? lengths[i] : 0;
    if (longBytes > std::numeric_limits<uint32_t>::max())
        throw Error(ErrorNumber::DataConversion,
                    QStringLiteral(
                        "%1 bytes of text do not fit: one field of a recordset holds at most 4 GiB of text")
                        .arg(longBytes));
    clear();
    m_nulls = std::move(nulls);
    m_slots.resize(rows);
    m_arena.reserve(longBytes);
    m_rows = rows;
    for (size_t row = 0; row < rows; ++row) {
        const std::string_view text(bytes, lengths[row]);
        bytes += lengths[row];
        if (isNull(row))
            m_slots[row] = InlineFlag;
        else
            appendSlotBytes(row, text);
    }
}

} // namespace bryx
