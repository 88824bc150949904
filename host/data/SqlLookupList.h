#pragma once

#include "contracts/ScientificNameRecord.h"

#include <QVariantMap>
#include <vector>

namespace bryx::host {

class Database;

// A code list read once from its table: "NameCategory" (filter: name type code, "%" for all),
// "ClassificationLevel" (filter: a category ID; the levels of its framework) and
// "NomenclaturallyEst". Rows count from 1; the key is the list's ID column.
class SqlLookupList : public LookupList {
public:
    static std::shared_ptr<SqlLookupList> load(Database& db, const QString& listName, const QVariant& filter);

    int Count() const override { return int(m_rows.size()); }
    QVariant ValueForKey(const QVariant& key, const QString& column) const override;
    QVariant Value(int row, const QString& column) const override;
    QVariant Key(int rowNumber) const override { return row(rowNumber).value(m_keyColumn); }
    int AddRow() override;
    void SetValue(int row, const QString& column, const QVariant& value) override;

private:
    const QVariantMap& row(int row) const;

    QString m_keyColumn;
    std::vector<QVariantMap> m_rows; // column names in lower case
};

} // namespace bryx::host
