#include "NameSnapshot.h"

#include "db/Database.h"
#include "db/SqlText.h"
#include "error/Error.h"

#include <QDateTime>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

namespace bryx::host {

bool nameIsStored(Database& db, const QVariant& id)
{
    return db.scalar(QStringLiteral("SELECT count(*) FROM scientific_name WHERE scientific_name_id = ?"),
                     {id})
               .toInt()
        > 0;
}

QJsonValue jsonOfStored(const QVariant& value)
{
    if (value.isNull() || !value.isValid())
        return QJsonValue::Null;
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
        return QJsonValue(value.toLongLong());
    case QMetaType::Double:
        return QJsonValue(value.toDouble());
    case QMetaType::QDateTime:
        return QJsonValue(value.toDateTime().toString(Qt::ISODateWithMs));
    default:
        return QJsonValue(value.toString());
    }
}

QVariant storedOfJson(const QJsonValue& value)
{
    if (value.isNull() || value.isUndefined())
        return QVariant();
    if (value.isDouble()) {
        const double number = value.toDouble();
        const auto whole = static_cast<qint64>(number);
        return double(whole) == number ? QVariant(whole) : QVariant(number);
    }
    return value.toString();
}

QJsonArray readRows(Database& db, const QString& sql, const QVariantList& bindings)
{
    QSqlQuery query = db.query(sql, bindings, Database::Reading::Buffered);
    QJsonArray rows;
    while (query.next()) {
        const QSqlRecord record = query.record();
        QJsonObject row;
        for (int i = 0; i < record.count(); ++i)
            row.insert(record.fieldName(i).toLower(), jsonOfStored(query.value(i)));
        rows.append(row);
    }
    return rows;
}

void insertRow(Database& db, const QString& table, const QJsonObject& row)
{
    QStringList columns;
    QVariantList values;
    for (auto it = row.constBegin(); it != row.constEnd(); ++it) {
        columns << it.key();
        values << storedOfJson(it.value());
    }
    QSqlQuery insert(db.sql());
    insert.prepare(insertStatement(table, columns));
    for (const QVariant& value : std::as_const(values))
        insert.addBindValue(value);
    if (!insert.exec())
        throw Error(ErrorNumber::InvalidArgument,
                    QStringLiteral("Putting back a row of %1 failed: %2")
                        .arg(table, insert.lastError().databaseText()));
}

NameSnapshot NameSnapshot::capture(Database& db, const QVariantMap& storedName)
{
    NameSnapshot snapshot;
    if (storedName.isEmpty())
        return snapshot;
    for (auto it = storedName.constBegin(); it != storedName.constEnd(); ++it)
        snapshot.name.insert(it.key(), jsonOfStored(it.value()));
    const QVariant nameId = storedName.value(QStringLiteral("scientific_name_id"));
    snapshot.links =
        readRows(db,
                 QStringLiteral("SELECT * FROM scientific_name_reference WHERE scientific_name_id = "
                                "? ORDER BY scientific_name_reference_id"),
                 {nameId});
    return snapshot;
}

int32_t NameSnapshot::id() const
{
    return int32_t(name.value(QLatin1String("scientific_name_id")).toInteger());
}

QString NameSnapshot::scientificName() const
{
    return name.value(QLatin1String("scientific_name")).toString();
}

QString NameSnapshot::author() const
{
    return name.value(QLatin1String("author_name")).toString();
}

QJsonObject NameSnapshot::toJson() const
{
    return {{QStringLiteral("name"), name}, {QStringLiteral("links"), links}};
}

NameSnapshot NameSnapshot::fromJson(const QJsonObject& json)
{
    return {json.value(QLatin1String("name")).toObject(), json.value(QLatin1String("links")).toArray()};
}

void NameSnapshot::putBackName(Database& db, const QJsonValue& establishedId) const
{
    QJsonObject row = name;
    row.insert(QStringLiteral("nomenclaturally_est_sn_id"), establishedId);
    insertRow(db, QStringLiteral("scientific_name"), row);
}

int NameSnapshot::putBackLinks(Database& db) const
{
    int leftOut = 0;
    for (const QJsonValue& value : links) {
        const QJsonObject link = value.toObject();
        const QVariant reference = storedOfJson(link.value(QLatin1String("reference_id")));
        if (db.scalar(QStringLiteral("SELECT count(*) FROM reference WHERE reference_id = ?"), {reference})
                .toInt()
            == 0) {
            ++leftOut;
            continue;
        }
        insertRow(db, QStringLiteral("scientific_name_reference"), link);
    }
    return leftOut;
}

} // namespace bryx::host
