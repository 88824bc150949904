#include "PostgresQuery.h"

#include "QueryRecordset.h"
#include "RecordsetColumns.h"
#include "db/Database.h"
#include "error/Error.h"
#include "recordset/CellConversion.h"
#include "recordset/Recordset.h"
#include "recordset/RecordsetBuilder.h"

#include <charconv>
#include <libpq-fe.h>

namespace bryx::host {

namespace {

using columns::ColumnType;

// Type identifiers of the server's built-in types (pg_type.oid), fixed since forever.
namespace TypeOid {
constexpr Oid Bool = 16;
constexpr Oid Bytea = 17;
constexpr Oid Int8 = 20;
constexpr Oid Int2 = 21;
constexpr Oid Int4 = 23;
constexpr Oid ObjectId = 26;
constexpr Oid Float4 = 700;
constexpr Oid Float8 = 701;
constexpr Oid Date = 1082;
constexpr Oid Time = 1083;
constexpr Oid Timestamp = 1114;
constexpr Oid TimestampTz = 1184;
constexpr Oid Numeric = 1700;
} // namespace TypeOid

// The header the server adds to a varchar's declared length in its type modifier.
constexpr int VarlenaHeader = 4;

// SQLSTATE codes the read path explains in its own words.
constexpr char QueryCanceled[] = "57014";
constexpr char ReadOnlyTransaction[] = "25006";
constexpr char SyntaxError[] = "42601";

class Result {
public:
    explicit Result(PGresult* result)
        : m_result(result)
    {
    }
    ~Result() { PQclear(m_result); }
    Result(const Result&) = delete;
    Result& operator=(const Result&) = delete;
    PGresult* get() const { return m_result; }
    ExecStatusType status() const { return PQresultStatus(m_result); }
    QString field(int code) const { return QString::fromUtf8(PQresultErrorField(m_result, code)); }

private:
    PGresult* m_result;
};

// The statement's transaction is ended on every path, so that nothing it set stays behind.
class RollBackAtEnd {
public:
    explicit RollBackAtEnd(PGconn* connection)
        : m_connection(connection)
    {
    }
    ~RollBackAtEnd() { PQclear(PQexec(m_connection, "ROLLBACK")); }
    RollBackAtEnd(const RollBackAtEnd&) = delete;
    RollBackAtEnd& operator=(const RollBackAtEnd&) = delete;

private:
    PGconn* m_connection;
};

QByteArray identifier(PGconn* connection, const QString& name)
{
    const QByteArray utf8 = name.toUtf8();
    char* escaped = PQescapeIdentifier(connection, utf8.constData(), size_t(utf8.size()));
    if (!escaped)
        throw Error(ErrorNumber::InvalidArgument,
                    QStringLiteral("The role name \"%1\" cannot be used: %2")
                        .arg(name, QString::fromUtf8(PQerrorMessage(connection)).trimmed()));
    const QByteArray quoted(escaped);
    PQfreemem(escaped);
    return quoted;
}

QString connectionProblem(PGconn* connection)
{
    return QString::fromUtf8(PQerrorMessage(connection)).simplified();
}

[[noreturn]] void refused(const Result& result, const QString& sql, const ReadPolicy& policy)
{
    const QByteArray state = result.field(PG_DIAG_SQLSTATE).toLatin1();
    const QString message = result.field(PG_DIAG_MESSAGE_PRIMARY);
    if (state == QueryCanceled)
        throw Error(ErrorNumber::InvalidArgument,
                    QStringLiteral("The search was stopped after %1 s; search for something narrower: %2")
                        .arg(double(policy.timeout.count()) / 1000.0)
                        .arg(sql.left(300)));
    if (state == ReadOnlyTransaction)
        throw Error(
            ErrorNumber::InvalidArgument,
            QStringLiteral("Only a single SELECT statement can be run here (it would change data): %1")
                .arg(sql.left(300)));
    if (state == SyntaxError && message.contains(QLatin1String("multiple commands")))
        throw Error(
            ErrorNumber::InvalidArgument,
            QStringLiteral(
                "Only a single SELECT statement can be run here (it holds more than one statement): %1")
                .arg(sql.left(300)));
    throw Error(ErrorNumber::InvalidArgument,
                QStringLiteral("The database could not run the statement: %1: %2")
                    .arg(message.isEmpty()
                             ? QString::fromUtf8(PQresultErrorMessage(result.get())).simplified()
                             : message,
                         sql.left(300)));
}

// The types the Qt driver reported for the same columns, so that recordsets look alike
// whichever way they were read.
ColumnType typeOf(const PGresult* result, int column)
{
    switch (PQftype(result, column)) {
    case TypeOid::Int2:
    case TypeOid::Int4:
    case TypeOid::ObjectId:
        return {DataType::Integer, 4};
    case TypeOid::Int8:
        return {DataType::BigInt, 8};
    case TypeOid::Float4:
    case TypeOid::Float8:
    case TypeOid::Numeric:
        return {DataType::Double, 8};
    case TypeOid::Bool:
        return {DataType::Boolean, 2};
    case TypeOid::Date:
    case TypeOid::Time:
    case TypeOid::Timestamp:
    case TypeOid::TimestampTz:
        return {DataType::DBTimeStamp, 16};
    case TypeOid::Bytea:
        return {DataType::LongVarBinary, columns::LongSize};
    default: {
        const int modifier = PQfmod(result, column);
        return modifier > VarlenaHeader ? ColumnType {DataType::VarWChar, modifier - VarlenaHeader}
                                        : ColumnType {DataType::LongVarWChar, columns::LongSize};
    }
    }
}

void storeCell(RecordsetBuilder& builder, const PGresult* result, int row, int column)
{
    const char* text = PQgetvalue(result, row, column);
    const int length = PQgetlength(result, row, column);
    switch (builder.kindOf(column)) {
    case StorageKind::Integer: {
        int64_t value = 0;
        if (std::from_chars(text, text + length, value).ec == std::errc())
            builder.setInteger(column, value);
        return;
    }
    case StorageKind::Real: {
        double value = 0;
        if (std::from_chars(text, text + length, value).ec == std::errc())
            builder.setReal(column, value);
        return;
    }
    case StorageKind::Boolean:
        builder.setBoolean(column, length > 0 && text[0] == 't');
        return;
    case StorageKind::Date: {
        // "2026-12-07 10:11:12.345678": the recordset keeps milliseconds.
        QString stamp = QString::fromLatin1(text, length);
        if (const qsizetype dot = stamp.indexOf(QLatin1Char('.')); dot > 0) {
            qsizetype end = dot + 1;
            while (end < stamp.size() && stamp.at(end).isDigit())
                ++end;
            stamp.remove(dot + 4, std::max<qsizetype>(0, end - dot - 4));
        }
        if (const auto ms = cell::parseDateText(stamp))
            builder.setDateMs(column, *ms);
        return;
    }
    case StorageKind::Binary: {
        size_t size = 0;
        unsigned char* bytes = PQunescapeBytea(reinterpret_cast<const unsigned char*>(text), &size);
        builder.setValue(column, QByteArray(reinterpret_cast<const char*>(bytes), qsizetype(size)));
        PQfreemem(bytes);
        return;
    }
    default:
        builder.setText(column, std::string_view(text, size_t(length)));
        return;
    }
}

} // namespace

std::shared_ptr<Recordset> PostgresQuery::run(Database& db, const QString& sql, const ReadPolicy& policy)
{
    PGconn* connection = db.postgresHandle();
    if (!connection || PQstatus(connection) != CONNECTION_OK)
        throw Error(ErrorNumber::ObjectClosed,
                    QStringLiteral("The connection to database %1 is closed: %2")
                        .arg(db.url().display(), connection ? connectionProblem(connection) : QString()));
    QByteArray begin = QByteArrayLiteral("BEGIN READ ONLY; SET LOCAL statement_timeout = ")
        + QByteArray::number(qint64(policy.timeout.count()))
        + QByteArrayLiteral("; SET LOCAL standard_conforming_strings = on");
    if (!policy.role.isEmpty())
        begin += QByteArrayLiteral("; SET LOCAL ROLE ") + identifier(connection, policy.role);
    const RollBackAtEnd rollBack(connection);
    {
        const Result started(PQexec(connection, begin.constData()));
        if (started.status() != PGRES_COMMAND_OK)
            throw Error(ErrorNumber::InvalidArgument,
                        QStringLiteral("Database %1 could not start a search: %2")
                            .arg(db.url().display(),
                                 started.field(PG_DIAG_MESSAGE_PRIMARY).isEmpty()
                                     ? connectionProblem(connection)
                                     : started.field(PG_DIAG_MESSAGE_PRIMARY)));
    }
    const QByteArray text = sql.toUtf8();
    const Result result(PQexecParams(connection, text.constData(), 0, nullptr, nullptr, nullptr, nullptr, 0));
    if (result.status() != PGRES_TUPLES_OK) {
        if (result.status() == PGRES_COMMAND_OK)
            throw Error(
                ErrorNumber::InvalidArgument,
                QStringLiteral("Only a single SELECT statement can be run here (it returns no rows): %1")
                    .arg(sql.left(300)));
        refused(result, sql, policy);
    }
    const PGresult* rows = result.get();
    const int columnCount = PQnfields(rows);
    const int rowCount = PQntuples(rows);
    RecordsetBuilder builder;
    for (int column = 0; column < columnCount; ++column)
        columns::append(builder, QString::fromUtf8(PQfname(rows, column)), typeOf(rows, column));
    builder.reserve(size_t(rowCount));
    for (int row = 0; row < rowCount; ++row) {
        builder.beginRow();
        for (int column = 0; column < columnCount; ++column) {
            if (!PQgetisnull(rows, row, column))
                storeCell(builder, rows, row, column);
        }
    }
    return builder.finish();
}

} // namespace bryx::host
