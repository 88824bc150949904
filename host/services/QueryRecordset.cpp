#include "QueryRecordset.h"

#include "PostgresQuery.h"
#include "SqliteQuery.h"
#include "StatementScanner.h"
#include "db/Database.h"
#include "error/Error.h"

namespace bryx::host {

namespace {

[[noreturn]] void refuse(const QString& sql, const QString& why)
{
    throw Error(
        ErrorNumber::InvalidArgument,
        QStringLiteral("Only a single SELECT statement can be run here (%1): %2").arg(why, sql.left(300)));
}

} // namespace

void QueryRecordset::requireSingleSelect(const QString& sql, Dialect dialect)
{
    const StatementScanner::Result scanned = StatementScanner::scan(sql, dialect);
    if (!scanned.unclosed.isEmpty())
        refuse(sql, QStringLiteral("%1 is not closed").arg(scanned.unclosed));
    if (scanned.statements == 0)
        refuse(sql, QStringLiteral("it is empty"));
    if (scanned.firstWord != QLatin1String("SELECT") && scanned.firstWord != QLatin1String("WITH"))
        refuse(sql,
               scanned.firstWord.isEmpty() ? QStringLiteral("it does not begin with a word")
                                           : QStringLiteral("it begins with %1").arg(scanned.firstWord));
    if (scanned.statements > 1)
        refuse(sql, QStringLiteral("it holds more than one statement"));
}

std::shared_ptr<Recordset> QueryRecordset::run(Database& db, const QString& sql, const ReadPolicy& policy)
{
    requireSingleSelect(sql, db.dialect());
    return db.dialect() == Dialect::SQLite ? SqliteQuery::run(db, sql, policy.timeout)
                                           : PostgresQuery::run(db, sql, policy);
}

} // namespace bryx::host
