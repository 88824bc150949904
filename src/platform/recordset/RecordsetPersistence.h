#pragma once

#include "MemoryStream.h"

namespace bryx {

class Recordset;

// The binary stream format of a saved recordset: a signature and version, the field
// definitions, then the visible rows column by column (a NULL bitmap, then one 64-bit word
// per number or a length per text followed by the bytes). Loading checks every length
// against what the stream holds, so a damaged stream is refused with a clear error.
class RecordsetPersistence {
public:
    static constexpr uint32_t Version = 1;

    static void save(const Recordset& recordset, MemoryStream& stream);
    static void load(Recordset& recordset, MemoryStream& stream);
};

} // namespace bryx
