#include "SqlLookupList.h"

#include "db/Database.h"
#include "error/Error.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

namespace bryx::host {

std::shared_ptr<SqlLookupList> SqlLookupList::load(Database& db, const QString& listName,
                                                   const QVariant& filter)
{
    auto list = std::make_shared<SqlLookupList>();
    QString sql;
    QVariantList bindings;
    const QString name = listName.toLower();
    if (name == QLatin1String("namecategory")) {
        list->m_keyColumn = QStringLiteral("d_name_category_id");
        sql = QStringLiteral("SELECT d_name_category_id, name_category_desc, name_type_cd, name_type_desc, "
                             "d_class_framework_id FROM d_name_category WHERE name_type_cd LIKE ? "
                             "ORDER BY display_order, name_category_desc");
        bindings << (filter.toString().isEmpty() ? QStringLiteral("%") : filter.toString());
    } else if (name == QLatin1String("classificationlevel")) {
        list->m_keyColumn = QStringLiteral("d_classification_level_id");
        sql = QStringLiteral(
            "SELECT l.d_classification_level_id, l.classification_level_name, l.lower_level_ind "
            "FROM d_classification_level l JOIN d_name_category c ON c.d_class_framework_id = "
            "l.d_class_framework_id WHERE c.d_name_category_id = ? ORDER BY l.display_order");
        bindings << filter.toInt();
    } else if (name == QLatin1String("nomenclaturallyest")) {
        list->m_keyColumn = QStringLiteral("d_nomenclaturally_est_id");
        sql = QStringLiteral(
            "SELECT d_nomenclaturally_est_id, nomenclaturally_est_desc FROM d_nomenclaturally_est "
            "ORDER BY display_order");
    } else {
        throw Error(ErrorNumber::InvalidArgument,
                    QStringLiteral("GetLookup: there is no code list \"%1\"").arg(listName));
    }
    QSqlQuery query(db.sql());
    query.prepare(sql);
    for (const QVariant& binding : std::as_const(bindings))
        query.addBindValue(binding);
    if (!query.exec())
        throw Error(ErrorNumber::InvalidArgument,
                    QStringLiteral("GetLookup \"%1\" failed: %2")
                        .arg(listName, query.lastError().text().simplified()));
    while (query.next()) {
        QVariantMap row;
        const QSqlRecord record = query.record();
        for (int i = 0; i < record.count(); ++i)
            row.insert(record.fieldName(i).toLower(), query.value(i));
        list->m_rows.push_back(row);
    }
    return list;
}

const QVariantMap& SqlLookupList::row(int row) const
{
    if (row < 1 || row > Count())
        throw Error(ErrorNumber::SubscriptOutOfRange,
                    QStringLiteral("Row %1 of a code list of %2 rows").arg(row).arg(Count()));
    return m_rows[size_t(row - 1)];
}

QVariant SqlLookupList::ValueForKey(const QVariant& key, const QString& column) const
{
    for (const QVariantMap& each : m_rows) {
        if (!key.isNull() && each.value(m_keyColumn).toString() == key.toString())
            return each.value(column.toLower());
    }
    return {};
}

QVariant SqlLookupList::Value(int rowNumber, const QString& column) const
{
    return row(rowNumber).value(column.toLower());
}

int SqlLookupList::AddRow()
{
    m_rows.emplace_back();
    return Count();
}

void SqlLookupList::SetValue(int rowNumber, const QString& column, const QVariant& value)
{
    row(rowNumber); // checks the row number
    m_rows[size_t(rowNumber - 1)].insert(column.toLower(), value);
}

} // namespace bryx::host
