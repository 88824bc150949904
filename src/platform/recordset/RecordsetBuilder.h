#pragma once

#include "DataType.h"

#include <QString>
#include <cstdint>
#include <memory>
#include <string_view>

namespace bryx {

class Recordset;

// Fills a new recordset row by row straight into its columns, for sources such as a database
// cursor that deliver millions of cells: no QVariant and no edit bookkeeping per cell. Every
// cell of a row starts NULL; the finished recordset is open, on its first row, with nothing
// pending.
class RecordsetBuilder {
public:
    RecordsetBuilder();
    ~RecordsetBuilder();

    void AppendField(const QString& name, DataType type, qint64 definedSize = 0,
                     int attributes = FieldAttribute::Unspecified);
    void reserve(size_t rows);

    void beginRow();
    void setInteger(int field, int64_t value);
    void setReal(int field, double value);
    void setText(int field, std::string_view utf8);
    void setDateMs(int field, int64_t msSinceEpoch);
    void setBoolean(int field, bool value);
    // Any other value, converted to the field's type as Field::SetValue does.
    void setValue(int field, const QVariant& value);

    // Hands over the finished recordset; the builder is empty afterwards.
    std::shared_ptr<Recordset> finish();

    StorageKind kindOf(int field) const;
    int fieldCount() const;
    bool hasField(const QString& name) const;

private:
    std::shared_ptr<Recordset> m_recordset;
    size_t m_row = 0;
    bool m_opened = false;
};

} // namespace bryx
