#pragma once

#include <QString>
#include <cstdint>

namespace bryx {

// The numeric data-type codes of the recordset library the host speaks.
enum class DataType : int {
    SmallInt = 2,
    Integer = 3,
    Single = 4,
    Double = 5,
    Currency = 6,
    Date = 7,
    BSTR = 8,
    Boolean = 11,
    Decimal = 14,
    TinyInt = 16,
    UnsignedTinyInt = 17,
    UnsignedSmallInt = 18,
    UnsignedInt = 19,
    BigInt = 20,
    UnsignedBigInt = 21,
    GUID = 72,
    Binary = 128,
    Char = 129,
    WChar = 130,
    Numeric = 131,
    DBDate = 133,
    DBTimeStamp = 135,
    VarChar = 200,
    LongVarChar = 201,
    VarWChar = 202,
    LongVarWChar = 203,
    VarBinary = 204,
    LongVarBinary = 205,
};

// Field attribute bits the library keeps as metadata.
namespace FieldAttribute {
inline constexpr int Unspecified = -1;
inline constexpr int MayDefer = 0x2;
inline constexpr int Updatable = 0x4;
inline constexpr int UnknownUpdatable = 0x8;
inline constexpr int Fixed = 0x10;
inline constexpr int IsNullable = 0x20;
inline constexpr int MayBeNull = 0x40;
inline constexpr int Long = 0x80;
inline constexpr int RowID = 0x100;
inline constexpr int KeyColumn = 0x8000;
} // namespace FieldAttribute

// How a value of a type is kept in memory: one 64-bit word, or bytes in a text arena.
enum class StorageKind : uint8_t {
    Integer, // whole numbers, kept as int64
    Real, // floating point, kept as the double's bits
    Currency, // fixed point, int64 scaled by 10,000
    Boolean, // 0 or 1
    Date, // milliseconds since 1970-01-01T00:00 (wall-clock time, no zone)
    Text, // UTF-8
    Binary, // raw bytes
};

// Answers the storage of a type code, or false when the library does not support it.
bool storageKindOf(int typeCode, StorageKind& kind) noexcept;
// Range of whole-number types; the full int64 range for the others.
void integerRangeOf(DataType type, int64_t& min, int64_t& max) noexcept;
QString dataTypeName(int typeCode);

} // namespace bryx
