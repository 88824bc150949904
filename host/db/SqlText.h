#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <utility>
#include <vector>

namespace bryx::host {

// "INSERT INTO table (a,b) VALUES (?,?)" for one row of the columns.
QString insertStatement(const QString& table, const QStringList& columns);
// "UPDATE table SET a = ?, b = ?[, extra] WHERE condition"; `extra` holds assignments that
// take no parameter, such as "row_version = row_version + 1".
QString updateStatement(const QString& table, const QStringList& columns, const QString& condition,
                        const QString& extra = {});
// 'text' with every quote doubled, for the few statements that cannot take parameters.
QString sqlLiteral(const QString& text);
// IDs written as the list of an IN (...): numbers only, so nothing to quote.
QString sqlIdList(const std::vector<int32_t>& ids);
// "name" with every double quote doubled: a role, table or column name as it is written.
QString sqlIdentifier(const QString& name);
// Splits "Field = value" (the value may be quoted, its quotes doubled) into field and value;
// throws bryx::Error naming the caller when there is no "=".
std::pair<QString, QString> splitFieldCriteria(const QString& criteria, const QString& caller);

} // namespace bryx::host
