#pragma once

#include "Column.h"
#include "DataType.h"
#include "FieldIndex.h"

#include <QString>
#include <QVariant>
#include <memory>

namespace bryx {

class Recordset;

// One named, typed field of a recordset. Value and SetValue act on the recordset's
// current record; the cells themselves live in the field's column.
class Field {
public:
    Field(Recordset& owner, QString name, int type, qint64 definedSize, int attributes);
    Field(const Field&) = delete;
    Field& operator=(const Field&) = delete;

    const QString& Name() const noexcept { return m_name; }
    int Type() const noexcept { return m_type; }
    qint64 DefinedSize() const noexcept { return m_definedSize; }
    int Attributes() const noexcept { return m_attributes; }

    QVariant Value() const;
    void SetValue(const QVariant& value);
    bool IsNull() const;
    // Sets this field of the current record to the value of `source` in its recordset's
    // current record; cells of the same type are copied without conversion.
    void SetValueFrom(const Field& source);

    // True keeps an index on this field that equality finds use; false drops it.
    bool Optimize() const noexcept { return m_index != nullptr; }
    void SetOptimize(bool optimize);

    // Cell access by physical row, for the recordset and its helpers.
    QVariant valueAt(size_t row) const;
    void setValueAt(size_t row, const QVariant& value);
    void copyCellFrom(size_t row, const Field& from, size_t fromRow);
    QString textAt(size_t row) const; // the value as display text; empty for NULL

    const Column& column() const noexcept { return m_column; }
    Column& column() noexcept { return m_column; }
    FieldIndex* index() const noexcept { return m_index.get(); }
    void rebuildIndex();

private:
    void indexBeforeChange(size_t row);
    void indexAfterChange(size_t row);
    [[noreturn]] void conversionError(const QVariant& value, const QString& why) const;

    Recordset& m_owner;
    QString m_name;
    int m_type;
    qint64 m_definedSize;
    int m_attributes;
    Column m_column;
    std::unique_ptr<FieldIndex> m_index;
};

} // namespace bryx
