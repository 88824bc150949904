#pragma once

#include "DatabaseUrl.h"
#include "error/Error.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariant>
#include <QVariantList>
#include <cstdint>
#include <memory>

struct sqlite3;
struct pg_conn;

namespace bryx::host {

// One Qt SQL connection to the reference database. A read-only connection can never change
// data: SQLite opens the file read-only, PostgreSQL runs every transaction read-only.
class Database {
public:
    enum class Access { ReadWrite, ReadOnly };

    // Throws bryx::Error naming the URL when the database cannot be reached.
    Database(const DatabaseUrl& url, Access access, bool createIfMissing = false);
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    QSqlDatabase& sql() noexcept { return m_db; }
    Dialect dialect() const noexcept { return m_url.dialect; }
    const DatabaseUrl& url() const noexcept { return m_url; }
    Access access() const noexcept { return m_access; }
    // The SQLite handle behind the connection (null on PostgreSQL).
    sqlite3* sqliteHandle() const;
    // The libpq connection behind it (null on SQLite).
    pg_conn* postgresHandle() const;

    // Runs statements that return no rows; throws bryx::Error with the database's reason.
    void exec(const QString& sql);
    // The same with "?" parameters bound to the values in order.
    void exec(const QString& sql, const QVariantList& bindings);
    // Runs a query with "?" parameters and answers it before its first row; throws bryx::Error
    // with the database's reason. A query read forward once streams its rows; one that is read
    // while another query of the connection is open must not: PostgreSQL streams one at a time.
    enum class Reading { ForwardOnce, Buffered };
    QSqlQuery query(const QString& sql, const QVariantList& bindings = {},
                    Reading reading = Reading::ForwardOnce);
    // Runs a scalar query and answers its first column of the first row (null when no row).
    QVariant scalar(const QString& sql, const QVariantList& bindings = {});

    // A new ID, unique across every client of the database; inside a transaction it becomes
    // part of it, outside it takes a short transaction of its own.
    int32_t nextId();
    // Reserves `count` consecutive IDs and answers the first.
    int32_t reserveIds(int32_t count);

    // Runs `work` in one transaction; commits when it returns, rolls back when it throws.
    template<typename Work> void transaction(Work&& work)
    {
        begin();
        try {
            work();
        } catch (...) {
            rollback();
            throw;
        }
        commit();
    }

private:
    void begin();
    void commit();
    void rollback() noexcept;
    void registerNameFunctions();

    DatabaseUrl m_url;
    Access m_access;
    QString m_connectionName;
    QSqlDatabase m_db;
    bool m_inTransaction = false;
};

// The server asked for a password that the URL, PGPASSWORD and ~/.pgpass did not give, or
// refused the one given: a desktop program may ask the user and connect again.
class PasswordRequired : public Error {
public:
    PasswordRequired(const DatabaseUrl& url, bool refused, const QString& description);
    const DatabaseUrl& url() const noexcept { return m_url; }
    // True when a password was given and the server refused it.
    bool refused() const noexcept { return m_refused; }

private:
    DatabaseUrl m_url;
    bool m_refused;
};

// Whether two values read from or bound for the database are the same stored value. Drivers
// answer NULL as typed nulls whose text may read "0", so null-ness is compared first.
bool sameStoredValue(const QVariant& a, const QVariant& b);

} // namespace bryx::host
