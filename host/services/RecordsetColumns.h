#pragma once

#include "recordset/DataType.h"

#include <QString>

namespace bryx {
class RecordsetBuilder;
}

namespace bryx::host::columns {

// What a text or binary column without a declared size reports as its size.
inline constexpr qint64 LongSize = 536870910;

struct ColumnType {
    DataType type;
    qint64 size;
};

// A join may answer two columns of one name; the first keeps it, so that lookups by name
// find the first as they always have, and later ones get a number.
QString uniqueName(const RecordsetBuilder& builder, const QString& name);

// Appends a nullable field of that type under a name not taken yet.
void append(RecordsetBuilder& builder, const QString& name, ColumnType type);

} // namespace bryx::host::columns
