#include "RecordsetColumns.h"

#include "recordset/RecordsetBuilder.h"

namespace bryx::host::columns {

QString uniqueName(const RecordsetBuilder& builder, const QString& name)
{
    if (!builder.hasField(name))
        return name;
    for (int suffix = 2;; ++suffix) {
        const QString numbered = QStringLiteral("%1_%2").arg(name).arg(suffix);
        if (!builder.hasField(numbered))
            return numbered;
    }
}

void append(RecordsetBuilder& builder, const QString& name, ColumnType type)
{
    builder.AppendField(uniqueName(builder, name), type.type, type.size,
                        FieldAttribute::IsNullable | FieldAttribute::MayBeNull);
}

} // namespace bryx::host::columns
