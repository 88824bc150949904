#include "QueryRecordset.h"

#include "SqliteStatement.h"
#include "db/Database.h"
#include "error/Error.h"
#include "recordset/CellConversion.h"
#include "recordset/Recordset.h"
#include "recordset/RecordsetBuilder.h"

#include <QRegularExpression>
#include <QSqlError>
#include <QSqlField>
#include <QSqlQuery>
#include <QSqlRecord>
#include <sqlite3.h>

namespace bryx::host {

namespace {

constexpr qint64 LongTextSize = 536870910;

[[noreturn]] void refuse(const QString& sql, const QString& why)
{
    throw Error(
        ErrorNumber::InvalidArgument,
        QStringLiteral("Only a single SELECT statement can be run here (%1): %2").arg(why, sql.left(300)));
}

// Index of the first character that is not blank or inside a comment, from `from` on.
qsizetype skipBlanksAndComments(const QString& sql, qsizetype from)
{
    qsizetype i = from;
    while (i < sql.size()) {
        if (sql.at(i).isSpace()) {
            ++i;
        } else if (sql.mid(i, 2) == QLatin1String("--")) {
            const qsizetype end = sql.indexOf(QLatin1Char('\n'), i);
            i = end < 0 ? sql.size() : end + 1;
        } else if (sql.mid(i, 2) == QLatin1String("/*")) {
            const qsizetype end = sql.indexOf(QLatin1String("*/"), i + 2);
            i = end < 0 ? sql.size() : end + 2;
        } else {
            break;
        }
    }
    return i;
}

struct ColumnType {
    DataType type;
    qint64 size;
};

// A join may answer two columns of one name; the first keeps it, so that lookups by name
// find the first as they always have, and later ones get a number.
QString uniqueName(const RecordsetBuilder& builder, const QString& name)
{
    if (!builder.hasField(name))
        return name;
    for (int suffix = 2;; ++suffix) {
        const QString numbered = QStringLiteral("%1_%2").arg(name).arg(suffix);
        if (!builder.hasField(numbered))
            return numbered;
    }
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
                                : ColumnType {DataType::LongVarWChar, LongTextSize};
    if (upper.contains(QLatin1String("BLOB")))
        return {DataType::LongVarBinary, LongTextSize};
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
        return {DataType::LongVarBinary, LongTextSize};
    default:
        return {DataType::VarWChar, 255};
    }
}

class Statement {
public:
    Statement(sqlite3* handle, const QByteArray& sql, const QString& original)
    {
        const char* tail = nullptr;
        if (sqlite3_prepare_v2(handle, sql.constData(), int(sql.size()), &m_statement, &tail) != SQLITE_OK)
            throw Error(ErrorNumber::InvalidArgument,
                        QStringLiteral("The database refused the statement: %1: %2")
                            .arg(QString::fromUtf8(sqlite3_errmsg(handle)), original.left(300)));
        if (!m_statement)
            refuse(original, QStringLiteral("it holds no statement"));
        for (; tail && *tail; ++tail) {
            if (!QChar::isSpace(uchar(*tail)) && *tail != ';')
                refuse(original, QStringLiteral("it holds more than one statement"));
        }
        if (!sqlite3_stmt_readonly(m_statement))
            refuse(original, QStringLiteral("it would change data"));
    }
    ~Statement() { sqlite3_finalize(m_statement); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    sqlite3_stmt* get() const { return m_statement; }

private:
    sqlite3_stmt* m_statement = nullptr;
};

void storeSqliteCell(RecordsetBuilder& builder, sqlite3_stmt* statement, int column)
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

std::shared_ptr<Recordset> runOnSqlite(Database& db, const QString& sql)
{
    sqlite3* handle = db.sqliteHandle();
    const Statement statement(handle, SqliteStatement::adapted(sql).toUtf8(), sql);
    sqlite3_stmt* stmt = statement.get();
    const int columns = sqlite3_column_count(stmt);
    int step = sqlite3_step(stmt);
    if (step != SQLITE_ROW && step != SQLITE_DONE)
        throw Error(ErrorNumber::InvalidArgument,
                    QStringLiteral("The database could not run the statement: %1: %2")
                        .arg(QString::fromUtf8(sqlite3_errmsg(handle)), sql.left(300)));

    RecordsetBuilder builder;
    for (int column = 0; column < columns; ++column) {
        const char* declared = sqlite3_column_decltype(stmt, column);
        const ColumnType type = declared
            ? typeFromDeclaration(QString::fromUtf8(declared))
            : typeFromValue(step == SQLITE_ROW ? sqlite3_column_type(stmt, column) : SQLITE_TEXT);
        const QString name = uniqueName(builder, QString::fromUtf8(sqlite3_column_name(stmt, column)));
        builder.AppendField(name, type.type, type.size,
                            FieldAttribute::IsNullable | FieldAttribute::MayBeNull);
    }
    while (step == SQLITE_ROW) {
        builder.beginRow();
        for (int column = 0; column < columns; ++column)
            storeSqliteCell(builder, stmt, column);
        step = sqlite3_step(stmt);
    }
    if (step != SQLITE_DONE)
        throw Error(ErrorNumber::InvalidArgument,
                    QStringLiteral("The database failed while reading rows: %1")
                        .arg(QString::fromUtf8(sqlite3_errmsg(handle))));
    return builder.finish();
}

ColumnType typeFromField(const QSqlField& field)
{
    switch (field.metaType().id()) {
    case QMetaType::Int:
    case QMetaType::Short:
    case QMetaType::UInt:
        return {DataType::Integer, 4};
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
        return {DataType::BigInt, 8};
    case QMetaType::Double:
    case QMetaType::Float:
        return {DataType::Double, 8};
    case QMetaType::Bool:
        return {DataType::Boolean, 2};
    case QMetaType::QDate:
    case QMetaType::QDateTime:
    case QMetaType::QTime:
        return {DataType::DBTimeStamp, 16};
    case QMetaType::QByteArray:
        return {DataType::LongVarBinary, LongTextSize};
    default:
        return field.length() > 0 ? ColumnType {DataType::VarWChar, field.length()}
                                  : ColumnType {DataType::LongVarWChar, LongTextSize};
    }
}

std::shared_ptr<Recordset> runOnPostgres(Database& db, const QString& sql)
{
    // Every search runs in a transaction of its own that cannot write, whatever the
    // session's settings have become.
    db.exec(QStringLiteral("START TRANSACTION READ ONLY"));
    struct RollBack {
        Database& db;
        ~RollBack() { QSqlQuery(db.sql()).exec(QStringLiteral("ROLLBACK")); }
    } rollBack {db};

    QSqlQuery query(db.sql());
    query.setForwardOnly(true);
    if (!query.exec(sql))
        throw Error(ErrorNumber::InvalidArgument,
                    QStringLiteral("The database could not run the statement: %1: %2")
                        .arg(query.lastError().databaseText().trimmed(), sql.left(300)));
    const QSqlRecord record = query.record();
    RecordsetBuilder builder;
    for (int column = 0; column < record.count(); ++column) {
        const ColumnType type = typeFromField(record.field(column));
        builder.AppendField(uniqueName(builder, record.fieldName(column)), type.type, type.size,
                            FieldAttribute::IsNullable | FieldAttribute::MayBeNull);
    }
    if (query.size() > 0)
        builder.reserve(size_t(query.size()));
    while (query.next()) {
        builder.beginRow();
        for (int column = 0; column < record.count(); ++column) {
            if (query.isNull(column))
                continue;
            const QVariant value = query.value(column);
            switch (builder.kindOf(column)) {
            case StorageKind::Integer:
                builder.setInteger(column, value.toLongLong());
                break;
            case StorageKind::Real:
                builder.setReal(column, value.toDouble());
                break;
            case StorageKind::Text: {
                const QByteArray utf8 = value.toString().toUtf8();
                builder.setText(column, std::string_view(utf8.constData(), size_t(utf8.size())));
                break;
            }
            default:
                builder.setValue(column, value);
                break;
            }
        }
    }
    return builder.finish();
}

} // namespace

void QueryRecordset::requireSingleSelect(const QString& sql)
{
    const qsizetype start = skipBlanksAndComments(sql, 0);
    qsizetype wordEnd = start;
    while (wordEnd < sql.size()
           && (sql.at(wordEnd).isLetterOrNumber() || sql.at(wordEnd) == QLatin1Char('_')))
        ++wordEnd;
    const QString word = sql.mid(start, wordEnd - start).toUpper();
    if (word != QLatin1String("SELECT") && word != QLatin1String("WITH"))
        refuse(sql,
               word.isEmpty() ? QStringLiteral("it is empty")
                              : QStringLiteral("it begins with %1").arg(word));
    // A semicolon outside literals, quoted names and comments may only end the text.
    QChar quote;
    for (qsizetype i = start; i < sql.size(); ++i) {
        const QChar c = sql.at(i);
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
            continue;
        }
        if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            quote = c;
        } else if (c == QLatin1Char('-') || c == QLatin1Char('/')) {
            const qsizetype next = skipBlanksAndComments(sql, i);
            if (next != i)
                i = next - 1;
        } else if (c == QLatin1Char(';') && skipBlanksAndComments(sql, i + 1) < sql.size()) {
            refuse(sql, QStringLiteral("it holds more than one statement"));
        }
    }
    if (!quote.isNull())
        refuse(sql, QStringLiteral("a quoted text is not closed"));
}

std::shared_ptr<Recordset> QueryRecordset::run(Database& db, const QString& sql)
{
    requireSingleSelect(sql);
    return db.dialect() == Dialect::SQLite ? runOnSqlite(db, sql) : runOnPostgres(db, sql);
}

} // namespace bryx::host
