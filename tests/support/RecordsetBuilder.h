#pragma once

#include "recordset/Recordset.h"

#include <QVariant>
#include <initializer_list>
#include <memory>
#include <vector>

namespace bryx::test {

struct FieldSpec {
    QString name;
    DataType type;
    qint64 definedSize = 0;
};

// An open recordset with the given fields and rows, positioned on its first row with no
// change pending, the way a query answer arrives.
inline std::shared_ptr<Recordset> makeRecordset(std::initializer_list<FieldSpec> fields,
                                                const std::vector<std::vector<QVariant>>& rows)
{
    auto recordset = std::make_shared<Recordset>();
    for (const FieldSpec& field : fields)
        recordset->AppendField(field.name, field.type, field.definedSize);
    recordset->Open();
    for (const auto& row : rows) {
        recordset->AddNew();
        for (size_t i = 0; i < row.size(); ++i)
            recordset->Fields(static_cast<int>(i)).SetValue(row[i]);
        recordset->Update();
    }
    recordset->UpdateBatch();
    if (recordset->RecordCount() > 0)
        recordset->MoveFirst();
    return recordset;
}

// The usual shape of a scientific-name list: ID, name, author.
inline std::shared_ptr<Recordset> makeNameList(const std::vector<std::pair<int, QString>>& rows)
{
    std::vector<std::vector<QVariant>> values;
    for (const auto& [id, name] : rows)
        values.push_back({id, name, QStringLiteral("Author of %1").arg(name)});
    return makeRecordset({{QStringLiteral("ID"), DataType::Integer, 4},
                          {QStringLiteral("Scientific_Name"), DataType::VarWChar, 255},
                          {QStringLiteral("Author"), DataType::VarWChar, 255}},
                         values);
}

// The values of one field over the visible rows, in order; leaves the recordset at EOF.
inline std::vector<QVariant> columnValues(Recordset& recordset, const QString& field)
{
    std::vector<QVariant> values;
    if (recordset.RecordCount() == 0)
        return values;
    for (recordset.MoveFirst(); !recordset.IsEOF(); recordset.MoveNext())
        values.push_back(recordset.Fields(field).Value());
    return values;
}

inline std::vector<int> ids(Recordset& recordset)
{
    std::vector<int> result;
    for (const QVariant& value : columnValues(recordset, QStringLiteral("ID")))
        result.push_back(value.toInt());
    return result;
}

// Rows as the host's Auditing answers them, with its twelve columns.
inline std::shared_ptr<Recordset> makeAuditRecordset(const std::vector<std::vector<QVariant>>& rows)
{
    return makeRecordset({{QStringLiteral("ID"), DataType::Integer},
                          {QStringLiteral("Audit_Date"), DataType::VarWChar, 30},
                          {QStringLiteral("User_Name"), DataType::VarWChar, 60},
                          {QStringLiteral("Table_Name"), DataType::VarWChar, 60},
                          {QStringLiteral("Action"), DataType::VarWChar, 1},
                          {QStringLiteral("Column_Name"), DataType::VarWChar, 60},
                          {QStringLiteral("Old_Value"), DataType::VarWChar, 4000},
                          {QStringLiteral("Comments"), DataType::VarWChar, 4000},
                          {QStringLiteral("Primary_Key"), DataType::Integer},
                          {QStringLiteral("Org_Unit"), DataType::Integer},
                          {QStringLiteral("Audit_Log_Id"), DataType::Integer},
                          {QStringLiteral("Column_Id"), DataType::Integer}},
                         rows);
}

} // namespace bryx::test
