#pragma once

#include <cstddef>

namespace bryx {

// Grows a vector by half rather than doubling: a million-row recordset should not carry a
// million rows of slack after its last append.
template<typename Vector> void growFor(Vector& vector, size_t needed)
{
    if (needed <= vector.capacity())
        return;
    const size_t grown = vector.capacity() + vector.capacity() / 2;
    vector.reserve(needed > grown ? needed : grown);
}

} // namespace bryx
