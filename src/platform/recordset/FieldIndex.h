#pragma once

#include "Column.h"

#include <QString>
#include <cstdint>
#include <optional>
#include <unordered_map>
#include <vector>

namespace bryx {

// Hash index from a cell's equality key to the physical rows holding it. Text keys are
// hashes of the case-folded text, so candidates are verified by the caller.
class FieldIndex {
public:
    explicit FieldIndex(const Column& column);

    void insert(size_t row);
    void erase(size_t row);
    void appendRow(size_t row) { insert(row); }

    // Candidate rows for a key, in no particular order.
    template<typename Visit> void forEachCandidate(uint64_t key, Visit&& visit) const
    {
        const auto [first, last] = m_rows.equal_range(key);
        for (auto it = first; it != last; ++it)
            visit(it->second);
    }

    // Equality key of a cell (nullopt for NULL) and of a text value.
    static std::optional<uint64_t> keyOf(const Column& column, size_t row);
    static uint64_t keyOfText(const QString& text);
    static uint64_t keyOfReal(double value);

private:
    const Column& m_column;
    std::unordered_multimap<uint64_t, uint32_t> m_rows;
};

} // namespace bryx
