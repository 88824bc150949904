#include "SqliteQuery.h"

#include "RecordsetColumns.h"
#include "SqliteStatement.h"
#include "db/Database.h"
#include "error/Error.h"
#include "recordset/CellConversion.h"
#include "recordset/Recordset.h"
#include "recordset/RecordsetBuilder.h"

#include <QElapsedTimer>
#include <memory>
#include <sqlite3.h>

namespace bryx::host {

namespace {

using columns::ColumnType;

// How many virtual machine steps pass between two looks at the clock.
constexpr int StepsBetweenClockChecks = 10000;

[[noreturn]] void refuse(const QString& sql, const QString& why)
{
    throw Error(
        ErrorNumber::InvalidArgument,
        QStringLiteral("Only a single SELECT statement can be run here (%1): %2").arg(why, sql.left(300)));
}

ColumnType typeFromDeclaration(const QString& declared)
{
    const QString upper = declared.toUpper();
    // "VARCHAR(255)": the number after the opening parenthesis, if any.
    qint64 declaredSize = 0;
    if (const qsizetype open = upper.indexOf(QLatin1Char('(')); open >= 0) {
        for (qsizetype i = open + 1;
             i < upper.size() && (upper.at(i).isDigit() || upper.at(i) == QLatin1Char(' ')); ++i) {
            if (upper.at(i).isDigit())
                declaredSize = declaredSize * 10 + upper.at(i).digitValue();
        }
    }
    if (upper.contains(QLatin1String("BIGINT")))
        return {DataType::BigInt, 8};
    if (upper.contains(QLatin1String("INT")))
        return {DataType::Integer, 4};
    if (upper.contains(QLatin1String("CHAR")) || upper.contains(QLatin1String("CLOB"))
        || upper.contains(QLatin1String("TEXT")))
        return declaredSize > 0 ? ColumnType {DataType::VarWChar, declaredSize}
                                : ColumnType {DataType::LongVarWChar, columns::LongSize};
    if (upper.contains(QLatin1String("BLOB")))
        return {DataType::LongVarBinary, columns::LongSize};
    if (upper.contains(QLatin1String("REAL")) || upper.contains(QLatin1String("FLOA"))
        || upper.contains(QLatin1String("DOUB")))
        return {DataType::Double, 8};
    if (upper.contains(QLatin1String("BOOL")))
        return {DataType::Boolean, 2};
    if (upper.contains(QLatin1String("DATE")) || upper.contains(QLatin1String("TIME")))
        return {DataType::DBTimeStamp, 16};
    if (upper.contains(QLatin1String("NUMERIC")) || upper.contains(QLatin1String("DECIMAL")))
        return {DataType::Numeric, 19};
    return {DataType::VarWChar, 255};
}

ColumnType typeFromValue(int sqliteType)
{
    switch (sqliteType) {
    case SQLITE_INTEGER:
        return {DataType::BigInt, 8};
    case SQLITE_FLOAT:
        return {DataType::Double, 8};
    case SQLITE_BLOB:
        return {DataType::LongVarBinary, columns::LongSize};
    default:
        return {DataType::VarWChar, 255};
    }
}

class Statement {
public:
    Statement(sqlite3* handle, const QByteArray& sql, const QString& original)
    {
        const char* tail = nullptr;
        sqlite3_stmt* prepared = nullptr;
        const int status = sqlite3_prepare_v2(handle, sql.constData(), int(sql.size()), &prepared, &tail);
        // Owned before any refusal below, so that a refused statement never keeps the
        // connection from closing.
        m_statement.reset(prepared);
        if (status != SQLITE_OK)
            throw Error(ErrorNumber::InvalidArgument,
                        QStringLiteral("The database refused the statement: %1: %2")
                            .arg(QString::fromUtf8(sqlite3_errmsg(handle)), original.left(300)));
        if (!m_statement)
            refuse(original, QStringLiteral("it holds no statement"));
        for (; tail && *tail; ++tail) {
            if (!QChar::isSpace(uchar(*tail)) && *tail != ';')
                refuse(original, QStringLiteral("it holds more than one statement"));
        }
        if (!sqlite3_stmt_readonly(m_statement.get()))
            refuse(original, QStringLiteral("it would change data"));
    }
    sqlite3_stmt* get() const { return m_statement.get(); }

private:
    struct Finalize {
        void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
    };
    std::unique_ptr<sqlite3_stmt, Finalize> m_statement;
};

// Interrupts the connection's statements once the time is up, for as long as it lives.
class Deadline {
public:
    Deadline(sqlite3* handle, std::chrono::milliseconds timeout)
        : m_handle(handle)
        , m_timeout(timeout.count())
    {
        m_clock.start();
        sqlite3_progress_handler(m_handle, StepsBetweenClockChecks, &Deadline::check, this);
    }
    ~Deadline() { sqlite3_progress_handler(m_handle, 0, nullptr, nullptr); }
    Deadline(const Deadline&) = delete;
    Deadline& operator=(const Deadline&) = delete;

    bool passed() const { return m_passed; }

private:
    static int check(void* self)
    {
        auto* deadline = static_cast<Deadline*>(self);
        deadline->m_passed = deadline->m_clock.hasExpired(deadline->m_timeout);
        return deadline->m_passed ? 1 : 0;
    }

    sqlite3* m_handle;
    qint64 m_timeout;
    QElapsedTimer m_clock;
    bool m_passed = false;
};

void storeCell(RecordsetBuilder& builder, sqlite3_stmt* statement, int column)
{
    const int valueType = sqlite3_column_type(statement, column);
    if (valueType == SQLITE_NULL)
        return;
    switch (builder.kindOf(column)) {
    case StorageKind::Integer:
        if (valueType == SQLITE_INTEGER) {
            builder.setInteger(column, sqlite3_column_int64(statement, column));
            return;
        }
        break;
    case StorageKind::Real:
        if (valueType == SQLITE_INTEGER || valueType == SQLITE_FLOAT) {
            builder.setReal(column, sqlite3_column_double(statement, column));
            return;
        }
        break;
    case StorageKind::Text:
    case StorageKind::Binary: {
        const auto* bytes = static_cast<const char*>(sqlite3_column_blob(statement, column));
        builder.setText(
            column, std::string_view(bytes ? bytes : "", size_t(sqlite3_column_bytes(statement, column))));
        return;
    }
    case StorageKind::Date:
        if (valueType == SQLITE_TEXT) {
            const QString text =
                QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement, column)),
                                  sqlite3_column_bytes(statement, column));
            if (const auto ms = cell::parseDateText(text)) {
                builder.setDateMs(column, *ms);
                return;
            }
        }
        break;
    case StorageKind::Boolean:
        if (valueType == SQLITE_INTEGER) {
            builder.setBoolean(column, sqlite3_column_int64(statement, column) != 0);
            return;
        }
        break;
    default:
        break;
    }
    // A value whose storage class differs from the column's declaration (SQLite allows it).
    QVariant value;
    switch (valueType) {
    case SQLITE_INTEGER:
        value = qlonglong(sqlite3_column_int64(statement, column));
        break;
    case SQLITE_FLOAT:
        value = sqlite3_column_double(statement, column);
        break;
    case SQLITE_BLOB:
        value = QByteArray(static_cast<const char*>(sqlite3_column_blob(statement, column)),
                           sqlite3_column_bytes(statement, column));
        break;
    default:
        value = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement, column)),
                                  sqlite3_column_bytes(statement, column));
        break;
    }
    builder.setValue(column, value);
}

[[noreturn]] void failed(sqlite3* handle, const Deadline& deadline, std::chrono::milliseconds timeout,
                         const QString& what, const QString& sql)
{
    if (deadline.passed())
        throw Error(ErrorNumber::InvalidArgument,
                    QStringLiteral("The search was stopped after %1 s; search for something narrower: %2")
                        .arg(double(timeout.count()) / 1000.0)
                        .arg(sql.left(300)));
    throw Error(
        ErrorNumber::InvalidArgument,
        QStringLiteral("%1: %2: %3").arg(what, QString::fromUtf8(sqlite3_errmsg(handle)), sql.left(300)));
}

} // namespace

std::shared_ptr<Recordset> SqliteQuery::run(Database& db, const QString& sql,
                                            std::chrono::milliseconds timeout)
{
    sqlite3* handle = db.sqliteHandle();
    const Statement statement(handle, SqliteStatement::adapted(sql).toUtf8(), sql);
    sqlite3_stmt* stmt = statement.get();
    const Deadline deadline(handle, timeout);
    const int columnCount = sqlite3_column_count(stmt);
    int step = sqlite3_step(stmt);
    if (step != SQLITE_ROW && step != SQLITE_DONE)
        failed(handle, deadline, timeout, QStringLiteral("The database could not run the statement"), sql);

    RecordsetBuilder builder;
    for (int column = 0; column < columnCount; ++column) {
        const char* declared = sqlite3_column_decltype(stmt, column);
        const ColumnType type = declared
            ? typeFromDeclaration(QString::fromUtf8(declared))
            : typeFromValue(step == SQLITE_ROW ? sqlite3_column_type(stmt, column) : SQLITE_TEXT);
        columns::append(builder, QString::fromUtf8(sqlite3_column_name(stmt, column)), type);
    }
    while (step == SQLITE_ROW) {
        builder.beginRow();
        for (int column = 0; column < columnCount; ++column)
            storeCell(builder, stmt, column);
        step = sqlite3_step(stmt);
    }
    if (step != SQLITE_DONE)
        failed(handle, deadline, timeout, QStringLiteral("The database failed while reading rows"), sql);
    return builder.finish();
}

} // namespace bryx::host
