#pragma once

#include "DataType.h"

#include <bit>
#include <cstdint>
#include <string_view>
#include <vector>

namespace bryx {

static_assert(std::endian::native == std::endian::little,
              "cell slots and saved streams assume little-endian");

// The cells of one field, stored column-wise so that a million rows cost no allocation per
// cell: numbers are one 64-bit word each, texts are 8-byte slots that hold up to 7 UTF-8
// bytes inline (codes such as "P" or "Y") and point into one byte arena otherwise. NULL is
// a separate bit, so an empty text and NULL stay distinct.
class Column {
public:
    explicit Column(StorageKind kind) noexcept
        : m_kind(kind)
    {
    }

    StorageKind kind() const noexcept { return m_kind; }
    bool holdsBytes() const noexcept { return m_kind == StorageKind::Text || m_kind == StorageKind::Binary; }
    size_t size() const noexcept { return m_rows; }

    void reserve(size_t rows);
    // Gives back what growth reserved beyond the rows held (a finished query result grows no more).
    void shrinkToFit();
    static constexpr size_t InlineTextBytes = 7;
    void appendNull();
    void popBack() noexcept;
    void clear() noexcept;

    bool isNull(size_t row) const noexcept { return (m_nulls[row >> 6] >> (row & 63)) & 1U; }
    void setNull(size_t row) noexcept;

    // Word cells (every kind but Text and Binary).
    int64_t word(size_t row) const noexcept { return m_words[row]; }
    double real(size_t row) const noexcept { return std::bit_cast<double>(m_words[row]); }
    void setWord(size_t row, int64_t value) noexcept;

    // Byte cells (Text and Binary). The view stays valid until the column changes.
    std::string_view bytes(size_t row) const noexcept;
    void setBytes(size_t row, std::string_view value);

    // Copies one cell of a column of the same kind without converting it.
    void copyCell(size_t row, const Column& from, size_t fromRow);
    // Keeps only the given rows, in the given order (used to drop deleted rows).
    void keepRows(const std::vector<uint32_t>& rows);

    size_t memoryBytes() const noexcept;

    // Raw access for persistence.
    const std::vector<uint64_t>& nullWords() const noexcept { return m_nulls; }
    const std::vector<int64_t>& words() const noexcept { return m_words; }
    void assignRaw(size_t rows, std::vector<uint64_t> nulls, std::vector<int64_t> words);
    // Replaces a byte column's cells by `rows` texts laid end to end in `bytes`.
    void assignTexts(size_t rows, std::vector<uint64_t> nulls, const uint32_t* lengths, const char* bytes);

private:
    static constexpr uint64_t InlineFlag = uint64_t(1) << 63;
    static constexpr size_t MaxInline = InlineTextBytes;

    void appendSlotBytes(size_t row, std::string_view value);
    void compactArenaIfWasteful();

    StorageKind m_kind;
    size_t m_rows = 0;
    std::vector<uint64_t> m_nulls; // one bit per row
    std::vector<int64_t> m_words; // word cells
    std::vector<uint64_t> m_slots; // byte cells: inline bytes or arena offset and length
    std::vector<char> m_arena; // bytes of texts longer than MaxInline
    size_t m_garbage = 0; // arena bytes no slot points at any more
};

} // namespace bryx
