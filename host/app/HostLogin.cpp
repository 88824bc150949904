#include "HostLogin.h"

#include "LocalDatabase.h"
#include "PasswordDialog.h"
#include "error/Error.h"
#include "services/SqlAppManager.h"

namespace bryx::host {

namespace {

std::shared_ptr<SqlAppManager> sqliteUser(const DatabaseUrl& url, const QString& named)
{
    if (!named.isEmpty())
        return std::make_shared<SqlAppManager>(url, named);
    const QString systemUser = qEnvironmentVariable("USER");
    try {
        if (!systemUser.isEmpty())
            return std::make_shared<SqlAppManager>(url, systemUser);
    } catch (const Error&) {
        // Not a user of this file: the sample editor stands in for the desktop user.
    }
    return std::make_shared<SqlAppManager>(url, QStringLiteral("editor"));
}

} // namespace

HostLogin::Result HostLogin::signIn(DatabaseUrl url, const QString& sqliteUser)
{
    if (url.dialect == Dialect::SQLite) {
        Result result;
        result.prepared = LocalDatabase::prepare(url);
        result.appManager = host::sqliteUser(url, sqliteUser);
        return result;
    }
    if (!sqliteUser.isEmpty())
        throw Error(
            ErrorNumber::InvalidArgument,
            QStringLiteral("--user chooses among the users of an SQLite file; on PostgreSQL you are the "
                           "login of the URL: postgresql://%1@%2:%3/%4")
                .arg(sqliteUser, url.host)
                .arg(url.port)
                .arg(url.databaseName));
    for (;;) {
        try {
            Result result;
            result.prepared = LocalDatabase::prepare(url);
            result.appManager = std::make_shared<SqlAppManager>(url, QString());
            return result;
        } catch (const PasswordRequired& asked) {
            const std::optional<QString> password = PasswordDialog::ask(url, asked.refused());
            if (!password)
                throw Error(ErrorNumber::InvalidArgument,
                            QStringLiteral("No password was given for %1").arg(url.display()));
            url.password = *password;
        }
    }
}

} // namespace bryx::host
