#include "SqlText.h"

#include "error/Error.h"

#include <QStringList>

namespace bryx::host {

QString insertStatement(const QString& table, const QStringList& columns)
{
    return QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
        .arg(table, columns.join(QLatin1Char(',')),
             QStringList(columns.size(), QStringLiteral("?")).join(','));
}

QString updateStatement(const QString& table, const QStringList& columns, const QString& condition,
                        const QString& extra)
{
    QStringList assignments;
    for (const QString& column : columns)
        assignments << column + QStringLiteral(" = ?");
    if (!extra.isEmpty())
        assignments << extra;
    return QStringLiteral("UPDATE %1 SET %2 WHERE %3")
        .arg(table, assignments.join(QStringLiteral(", ")), condition);
}

QString sqlLiteral(const QString& text)
{
    return QLatin1Char('\'') + QString(text).replace(QLatin1Char('\''), QLatin1String("''"))
        + QLatin1Char('\'');
}

QString sqlIdentifier(const QString& name)
{
    return QLatin1Char('"') + QString(name).replace(QLatin1Char('"'), QLatin1String("\"\""))
        + QLatin1Char('"');
}

std::pair<QString, QString> splitFieldCriteria(const QString& criteria, const QString& caller)
{
    const qsizetype equals = criteria.indexOf(QLatin1Char('='));
    if (equals < 0)
        throw Error(ErrorNumber::InvalidArgument,
                    QStringLiteral("%1 \"%2\": write the criteria as Field = value").arg(caller, criteria));
    QString value = criteria.mid(equals + 1).trimmed();
    if (value.size() >= 2 && value.startsWith(QLatin1Char('\'')) && value.endsWith(QLatin1Char('\'')))
        value = value.mid(1, value.size() - 2).replace(QLatin1String("''"), QLatin1String("'"));
    return {criteria.left(equals).trimmed(), value};
}

QString sqlIdList(const std::vector<int32_t>& ids)
{
    QStringList list;
    for (const int32_t id : ids)
        list << QString::number(id);
    return list.join(QLatin1Char(','));
}

} // namespace bryx::host
