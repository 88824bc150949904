#include "Database.h"

#include "NameKey.h"
#include "error/Error.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <atomic>

namespace bryx::host {

namespace {

std::atomic<int> connectionCounter {0};

[[noreturn]] void fail(const DatabaseUrl& url, const QString& what, const QSqlError& error)
{
    const QString reason = error.databaseText().isEmpty() ? error.driverText() : error.databaseText();
    throw Error(ErrorNumber::InvalidArgument,
                QStringLiteral("Database %1: %2: %3").arg(url.display(), what, reason.simplified()));
}

// libpq's words when the server wants a password it did not get, or refused the one sent.
void requirePassword(const DatabaseUrl& url, const QSqlError& error)
{
    const QString text = error.databaseText() + QLatin1Char(' ') + error.driverText();
    const bool missing = text.contains(QLatin1String("no password supplied"));
    const bool refused = text.contains(QLatin1String("password authentication failed"));
    if (missing || refused)
        throw PasswordRequired(url, refused,
                               QStringLiteral("Database %1: %2")
                                   .arg(url.display(),
                                        refused ? QStringLiteral("the password was refused")
                                                : QStringLiteral("the server asks for a password")));
}

// The installation grants CONNECT to its groups only, so a login that is no user of the
// database is turned away by the server before the application could say so itself.
void refuseStranger(const DatabaseUrl& url, const QSqlError& error)
{
    const QString text = error.databaseText() + QLatin1Char(' ') + error.driverText();
    if (!text.contains(QLatin1String("does not have CONNECT privilege")))
        return;
    DatabaseUrl withoutLogin = url;
    withoutLogin.user.clear();
    withoutLogin.password.clear();
    throw Error(ErrorNumber::InvalidArgument,
                QStringLiteral("Database %1: %2 is no user of this database; its administrator adds it with: "
                               "bryx-db user add %2 --role viewer|editor|admin --database %3")
                    .arg(url.display(), url.user, withoutLogin.display()));
}

} // namespace

PasswordRequired::PasswordRequired(const DatabaseUrl& url, bool refused, const QString& description)
    : Error(ErrorNumber::InvalidArgument, description)
    , m_url(url)
    , m_refused(refused)
{
}

Database::Database(const DatabaseUrl& url, Access access, bool createIfMissing)
    : m_url(url)
    , m_access(access)
    , m_connectionName(QStringLiteral("bryx-%1").arg(connectionCounter.fetch_add(1)))
{
    if (url.dialect == Dialect::SQLite) {
        const QFileInfo file(url.path);
        if (!file.exists()) {
            if (!createIfMissing || access == Access::ReadOnly)
                throw Error(
                    ErrorNumber::InvalidArgument,
                    QStringLiteral("Database %1 does not exist; create it with: bryx-db init --database %1")
                        .arg(url.display()));
            QDir().mkpath(file.absolutePath());
        }
        m_db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connectionName);
        m_db.setDatabaseName(url.path);
        QString options = QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000");
        if (access == Access::ReadOnly)
            options += QStringLiteral(";QSQLITE_OPEN_READONLY");
        m_db.setConnectOptions(options);
    } else {
        m_db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), m_connectionName);
        m_db.setHostName(url.host);
        m_db.setPort(url.port);
        m_db.setUserName(url.user);
        m_db.setPassword(url.password);
        m_db.setDatabaseName(url.databaseName);
        m_db.setConnectOptions(QStringLiteral("connect_timeout=5"));
    }
    if (!m_db.isValid())
        throw Error(
            ErrorNumber::InvalidArgument,
            QStringLiteral("Database %1: the Qt SQL driver for it is not installed").arg(url.display()));
    if (!m_db.open()) {
        const QSqlError error = m_db.lastError();
        m_db = QSqlDatabase();
        QSqlDatabase::removeDatabase(m_connectionName);
        if (url.dialect == Dialect::PostgreSQL) {
            requirePassword(url, error);
            refuseStranger(url, error);
        }
        fail(url, QStringLiteral("cannot be opened"), error);
    }
    if (url.dialect == Dialect::SQLite) {
        registerNameFunctions();
        exec(QStringLiteral("PRAGMA foreign_keys = ON"));
        if (access == Access::ReadWrite)
            exec(QStringLiteral("PRAGMA journal_mode = WAL"));
    } else {
        exec(QStringLiteral("SET client_min_messages = warning"));
        // Quote doubling is the whole of the components' escaping, which holds only while a
        // backslash in a string is an ordinary character.
        exec(QStringLiteral("SET standard_conforming_strings = on"));
        if (access == Access::ReadOnly)
            exec(QStringLiteral("SET SESSION CHARACTERISTICS AS TRANSACTION READ ONLY"));
    }
}

Database::~Database()
{
    m_db.close();
    m_db = QSqlDatabase();
    QSqlDatabase::removeDatabase(m_connectionName);
}

sqlite3* Database::sqliteHandle() const
{
    if (m_url.dialect != Dialect::SQLite)
        return nullptr;
    const QVariant handle = m_db.driver()->handle();
    if (qstrcmp(handle.typeName(), "sqlite3*") != 0)
        return nullptr;
    return *static_cast<sqlite3* const*>(handle.constData());
}

pg_conn* Database::postgresHandle() const
{
    if (m_url.dialect != Dialect::PostgreSQL)
        return nullptr;
    const QVariant handle = m_db.driver()->handle();
    // The driver registers libpq's struct under its own name or under the typedef.
    if (qstrcmp(handle.typeName(), "pg_conn*") != 0 && qstrcmp(handle.typeName(), "PGconn*") != 0)
        return nullptr;
    return *static_cast<pg_conn* const*>(handle.constData());
}

void Database::registerNameFunctions()
{
    sqlite3* handle = sqliteHandle();
    if (!handle)
        throw Error(ErrorNumber::InvalidArgument,
                    QStringLiteral("Database %1: the SQLite driver does not expose its connection")
                        .arg(m_url.display()));
    NameKey::registerFunctions(handle);
}

void Database::exec(const QString& sql)
{
    QSqlQuery query(m_db);
    if (!query.exec(sql))
        fail(m_url, QStringLiteral("\"%1\" failed").arg(sql.left(200)), query.lastError());
}

void Database::exec(const QString& sql, const QVariantList& bindings)
{
    query(sql, bindings);
}

QVariant Database::scalar(const QString& sql, const QVariantList& bindings)
{
    QSqlQuery result = query(sql, bindings);
    return result.next() ? result.value(0) : QVariant();
}

QSqlQuery Database::query(const QString& sql, const QVariantList& bindings, Reading reading)
{
    QSqlQuery query(m_db);
    query.setForwardOnly(reading == Reading::ForwardOnce);
    if (!query.prepare(sql))
        fail(m_url, QStringLiteral("\"%1\" failed").arg(sql.left(200)), query.lastError());
    for (const QVariant& binding : bindings)
        query.addBindValue(binding);
    if (!query.exec())
        fail(m_url, QStringLiteral("\"%1\" failed").arg(sql.left(200)), query.lastError());
    return query;
}

int32_t Database::nextId()
{
    return reserveIds(1);
}

int32_t Database::reserveIds(int32_t count)
{
    if (m_url.dialect == Dialect::PostgreSQL) {
        if (count == 1)
            return scalar(QStringLiteral("SELECT nextval('bryx_id_seq')")).toInt();
        // Advance the sequence by the whole block under a lock, so blocks never overlap.
        int32_t first = 0;
        auto reserve = [&] {
            exec(QStringLiteral("LOCK TABLE scientific_name IN SHARE ROW EXCLUSIVE MODE"));
            first = scalar(QStringLiteral("SELECT nextval('bryx_id_seq')")).toInt();
            scalar(QStringLiteral("SELECT setval('bryx_id_seq', ?)"), {qlonglong(first) + count - 1});
        };
        m_inTransaction ? reserve() : transaction(reserve);
        return first;
    }
    // SQLite has one writer at a time, so the counter row is safe inside any write transaction.
    int32_t first = 0;
    auto reserve = [&] {
        first = scalar(QStringLiteral("UPDATE key_sequence SET next_id = next_id + ? RETURNING next_id - ?"),
                       {count, count})
                    .toInt();
    };
    m_inTransaction ? reserve() : transaction(reserve);
    return first;
}

void Database::begin()
{
    if (m_inTransaction)
        throw Error(ErrorNumber::IllegalOperation,
                    QStringLiteral("Database %1: a transaction is already open on this connection")
                        .arg(m_url.display()));
    // SQLite takes the write lock at once, so that two writers queue instead of deadlocking.
    exec(m_url.dialect == Dialect::SQLite ? QStringLiteral("BEGIN IMMEDIATE") : QStringLiteral("BEGIN"));
    m_inTransaction = true;
}

void Database::commit()
{
    exec(QStringLiteral("COMMIT"));
    m_inTransaction = false;
}

void Database::rollback() noexcept
{
    QSqlQuery(m_db).exec(QStringLiteral("ROLLBACK"));
    m_inTransaction = false;
}

bool sameStoredValue(const QVariant& a, const QVariant& b)
{
    const bool aNull = a.isNull() || !a.isValid();
    const bool bNull = b.isNull() || !b.isValid();
    if (aNull || bNull)
        return aNull == bNull;
    return a.toString() == b.toString();
}

} // namespace bryx::host
