#include "DataType.h"

#include <limits>

namespace bryx {

bool storageKindOf(int typeCode, StorageKind& kind) noexcept
{
    switch (static_cast<DataType>(typeCode)) {
    case DataType::SmallInt:
    case DataType::Integer:
    case DataType::TinyInt:
    case DataType::UnsignedTinyInt:
    case DataType::UnsignedSmallInt:
    case DataType::UnsignedInt:
    case DataType::BigInt:
    case DataType::UnsignedBigInt:
        kind = StorageKind::Integer;
        return true;
    case DataType::Single:
    case DataType::Double:
    case DataType::Decimal:
    case DataType::Numeric:
        kind = StorageKind::Real;
        return true;
    case DataType::Currency:
        kind = StorageKind::Currency;
        return true;
    case DataType::Boolean:
        kind = StorageKind::Boolean;
        return true;
    case DataType::Date:
    case DataType::DBDate:
    case DataType::DBTimeStamp:
        kind = StorageKind::Date;
        return true;
    case DataType::BSTR:
    case DataType::GUID:
    case DataType::Char:
    case DataType::WChar:
    case DataType::VarChar:
    case DataType::LongVarChar:
    case DataType::VarWChar:
    case DataType::LongVarWChar:
        kind = StorageKind::Text;
        return true;
    case DataType::Binary:
    case DataType::VarBinary:
    case DataType::LongVarBinary:
        kind = StorageKind::Binary;
        return true;
    }
    return false;
}

void integerRangeOf(DataType type, int64_t& min, int64_t& max) noexcept
{
    switch (type) {
    case DataType::TinyInt:
        min = std::numeric_limits<int8_t>::min(), max = std::numeric_limits<int8_t>::max();
        return;
    case DataType::UnsignedTinyInt:
        min = 0, max = std::numeric_limits<uint8_t>::max();
        return;
    case DataType::SmallInt:
        min = std::numeric_limits<int16_t>::min(), max = std::numeric_limits<int16_t>::max();
        return;
    case DataType::UnsignedSmallInt:
        min = 0, max = std::numeric_limits<uint16_t>::max();
        return;
    case DataType::Integer:
        min = std::numeric_limits<int32_t>::min(), max = std::numeric_limits<int32_t>::max();
        return;
    case DataType::UnsignedInt:
        min = 0, max = std::numeric_limits<uint32_t>::max();
        return;
    case DataType::UnsignedBigInt:
        min = 0, max = std::numeric_limits<int64_t>::max();
        return;
    default:
        min = std::numeric_limits<int64_t>::min(), max = std::numeric_limits<int64_t>::max();
        return;
    }
}

QString dataTypeName(int typeCode)
{
    switch (static_cast<DataType>(typeCode)) {
    case DataType::SmallInt:
        return QStringLiteral("SmallInt (2)");
    case DataType::Integer:
        return QStringLiteral("Integer (3)");
    case DataType::Single:
        return QStringLiteral("Single (4)");
    case DataType::Double:
        return QStringLiteral("Double (5)");
    case DataType::Currency:
        return QStringLiteral("Currency (6)");
    case DataType::Date:
        return QStringLiteral("Date (7)");
    case DataType::BSTR:
        return QStringLiteral("BSTR (8)");
    case DataType::Boolean:
        return QStringLiteral("Boolean (11)");
    case DataType::Decimal:
        return QStringLiteral("Decimal (14)");
    case DataType::TinyInt:
        return QStringLiteral("TinyInt (16)");
    case DataType::UnsignedTinyInt:
        return QStringLiteral("UnsignedTinyInt (17)");
    case DataType::UnsignedSmallInt:
        return QStringLiteral("UnsignedSmallInt (18)");
    case DataType::UnsignedInt:
        return QStringLiteral("UnsignedInt (19)");
    case DataType::BigInt:
        return QStringLiteral("BigInt (20)");
    case DataType::UnsignedBigInt:
        return QStringLiteral("UnsignedBigInt (21)");
    case DataType::GUID:
        return QStringLiteral("GUID (72)");
    case DataType::Binary:
        return QStringLiteral("Binary (128)");
    case DataType::Char:
        return QStringLiteral("Char (129)");
    case DataType::WChar:
        return QStringLiteral("WChar (130)");
    case DataType::Numeric:
        return QStringLiteral("Numeric (131)");
    case DataType::DBDate:
        return QStringLiteral("DBDate (133)");
    case DataType::DBTimeStamp:
        return QStringLiteral("DBTimeStamp (135)");
    case DataType::VarChar:
        return QStringLiteral("VarChar (200)");
    case DataType::LongVarChar:
        return QStringLiteral("LongVarChar (201)");
    case DataType::VarWChar:
        return QStringLiteral("VarWChar (202)");
    case DataType::LongVarWChar:
        return QStringLiteral("LongVarWChar (203)");
    case DataType::VarBinary:
        return QStringLiteral("VarBinary (204)");
    case DataType::LongVarBinary:
        return QStringLiteral("LongVarBinary (205)");
    }
    return QStringLiteral("type %1").arg(typeCode);
}

} // namespace bryx
