#include "RowInserter.h"

#include "Database.h"
#include "SampleData.h"
#include "error/Error.h"

#include <QDateTime>
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

class BatchRowInserter final : public RowInserter {
public:
    BatchRowInserter(Database& db, QString table, QStringList columns)
        : m_batch(std::make_unique<BatchInserter>(db, std::move(table), std::move(columns)))
    {
    }
    void add(const QVariantList& row) override { m_batch->add(row); }
    void flush() override { m_batch->flush(); }

private:
    // Apart, so that its flush on destruction (never needed after flush()) stays out of this
    // class's own destructor.
    std::unique_ptr<BatchInserter> m_batch;
};

} // namespace

std::unique_ptr<RowInserter> RowInserter::open(Database& db, const QString& table, const QStringList& columns)
{
    if (db.dialect() == Dialect::SQLite)
        return std::make_unique<SqliteRowInserter>(db, table, columns);
    return std::make_unique<BatchRowInserter>(db, table, columns);
}

} // namespace bryx::host
