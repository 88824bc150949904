#include "RowInserter.h"

#include "Database.h"
#include "error/Error.h"

#include <QDateTime>
#include <libpq-fe.h>
#include <sqlite3.h>

namespace bryx::host {

namespace {

class SqliteRowInserter final : public RowInserter {
public:
    SqliteRowInserter(Database& db, QString table, const QStringList& columns)
        : m_connection(db.sqliteHandle())
        , m_table(std::move(table))
    {
        const QString sql = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                .arg(m_table, columns.join(QLatin1Char(',')),
                                     QStringList(columns.size(), QStringLiteral("?")).join(QLatin1Char(',')));
        sqlite3_stmt* statement = nullptr;
        if (!m_connection
            || sqlite3_prepare_v2(m_connection, sql.toUtf8().constData(), -1, &statement, nullptr)
                != SQLITE_OK)
            fail();
        m_statement.reset(statement);
    }

    void add(const QVariantList& row) override
    {
        sqlite3_stmt* statement = m_statement.get();
        for (int i = 0; i < int(row.size()); ++i) {
            const QVariant& value = row[i];
            const int parameter = i + 1;
            int status = SQLITE_OK;
            switch (value.typeId()) {
            case QMetaType::UnknownType:
            case QMetaType::Nullptr:
                status = sqlite3_bind_null(statement, parameter);
                break;
            case QMetaType::Int:
            case QMetaType::UInt:
            case QMetaType::LongLong:
            case QMetaType::ULongLong:
                status = sqlite3_bind_int64(statement, parameter, value.toLongLong());
                break;
            case QMetaType::Double:
                status = sqlite3_bind_double(statement, parameter, value.toDouble());
                break;
            case QMetaType::QString: {
                // The row outlives the step, so SQLite may read the text in place.
                const auto* text = static_cast<const QString*>(value.constData());
                status = value.isNull()
                    ? sqlite3_bind_null(statement, parameter)
                    : sqlite3_bind_text16(statement, parameter, text->utf16(),
                                          int(text->size() * sizeof(char16_t)), SQLITE_STATIC);
                break;
            }
            case QMetaType::QDateTime: {
                const QByteArray text = value.toDateTime().toString(Qt::ISODateWithMs).toUtf8();
                status = sqlite3_bind_text(statement, parameter, text.constData(), int(text.size()),
                                           SQLITE_TRANSIENT);
                break;
            }
            default: {
                const QByteArray text = value.toString().toUtf8();
                status = sqlite3_bind_text(statement, parameter, text.constData(), int(text.size()),
                                           SQLITE_TRANSIENT);
                break;
            }
            }
            if (status != SQLITE_OK)
                fail();
        }
        const int stepped = sqlite3_step(statement);
        sqlite3_reset(statement);
        if (stepped != SQLITE_DONE)
            fail();
    }

    void flush() override { }

private:
    [[noreturn]] void fail() const
    {
        throw Error(ErrorNumber::InvalidArgument,
                    QStringLiteral("Inserting into %1 failed: %2")
                        .arg(m_table,
                             m_connection ? QString::fromUtf8(sqlite3_errmsg(m_connection))
                                          : QStringLiteral("no SQLite connection")));
    }

    sqlite3* m_connection;
    QString m_table;
    std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt*)> m_statement {nullptr, sqlite3_finalize};
};

// PostgreSQL's COPY in its text format, a statement per few megabytes of rows: a COPY holds
// the connection while it runs, and the staging between rows asks the database for IDs.
class PostgresCopyInserter final : public RowInserter {
public:
    PostgresCopyInserter(Database& db, QString table, const QStringList& columns)
        : m_connection(db.postgresHandle())
        , m_table(std::move(table))
        , m_statement(
              QStringLiteral("COPY %1 (%2) FROM STDIN").arg(m_table, columns.join(QLatin1Char(','))).toUtf8())
    {
        if (!m_connection)
            fail(QStringLiteral("no PostgreSQL connection"));
    }

    void add(const QVariantList& row) override
    {
        for (int i = 0; i < int(row.size()); ++i) {
            if (i > 0)
                m_buffer += '\t';
            append(row[i]);
        }
        m_buffer += '\n';
        if (m_buffer.size() >= BufferBytes)
            flush();
    }

    void flush() override
    {
        if (m_buffer.isEmpty())
            return;
        const std::unique_ptr<PGresult, void (*)(PGresult*)> started(
            PQexec(m_connection, m_statement.constData()), PQclear);
        if (PQresultStatus(started.get()) != PGRES_COPY_IN)
            fail(QString::fromUtf8(PQresultErrorMessage(started.get())));
        const bool sent = PQputCopyData(m_connection, m_buffer.constData(), int(m_buffer.size())) == 1
            && PQputCopyEnd(m_connection, nullptr) == 1;
        m_buffer.clear();
        // The COPY's own result, and nothing after it, whatever went wrong on the way.
        QString problem = sent ? QString() : QString::fromUtf8(PQerrorMessage(m_connection));
        while (PGresult* result = PQgetResult(m_connection)) {
            if (problem.isEmpty() && PQresultStatus(result) != PGRES_COMMAND_OK)
                problem = QString::fromUtf8(PQresultErrorMessage(result));
            PQclear(result);
        }
        if (!problem.isEmpty())
            fail(problem);
    }

private:
    static constexpr qsizetype BufferBytes = 4 << 20;

    void append(const QVariant& value)
    {
        switch (value.typeId()) {
        case QMetaType::UnknownType:
        case QMetaType::Nullptr:
            m_buffer += "\\N";
            return;
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::LongLong:
        case QMetaType::ULongLong:
            m_buffer += QByteArray::number(value.toLongLong());
            return;
        case QMetaType::QDateTime:
            m_buffer += value.toDateTime().toString(Qt::ISODateWithMs).toUtf8();
            return;
        default:
            break;
        }
        if (value.isNull()) {
            m_buffer += "\\N";
            return;
        }
        const QByteArray text = value.typeId() == QMetaType::QString
            ? static_cast<const QString*>(value.constData())->toUtf8()
            : value.toString().toUtf8();
        // The text format's escapes: a backslash, and the separators of fields and rows.
        qsizetype plain = 0;
        for (qsizetype i = 0; i < text.size(); ++i) {
            const char* escape = escapeOf(text[i]);
            if (!escape)
                continue;
            m_buffer.append(text.constData() + plain, i - plain).append(escape);
            plain = i + 1;
        }
        m_buffer.append(text.constData() + plain, text.size() - plain);
    }

    static const char* escapeOf(char c)
    {
        switch (c) {
        case '\\':
            return "\\\\";
        case '\t':
            return "\\t";
        case '\n':
            return "\\n";
        case '\r':
            return "\\r";
        default:
            return nullptr;
        }
    }

    [[noreturn]] void fail(const QString& problem) const
    {
        throw Error(ErrorNumber::InvalidArgument,
                    QStringLiteral("Inserting into %1 failed: %2").arg(m_table, problem.simplified()));
    }

    pg_conn* m_connection;
    QString m_table;
    QByteArray m_statement;
    QByteArray m_buffer;
};

} // namespace

std::unique_ptr<RowInserter> RowInserter::open(Database& db, const QString& table, const QStringList& columns)
{
    if (db.dialect() == Dialect::SQLite)
        return std::make_unique<SqliteRowInserter>(db, table, columns);
    return std::make_unique<PostgresCopyInserter>(db, table, columns);
}

} // namespace bryx::host
