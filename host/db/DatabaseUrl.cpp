#include "DatabaseUrl.h"

#include "error/Error.h"

#include <QDir>
#include <QUrl>

namespace bryx::host {

DatabaseUrl DatabaseUrl::parse(const QString& text)
{
    DatabaseUrl url;
    if (text.startsWith(QLatin1String("sqlite:"))) {
        url.dialect = Dialect::SQLite;
        url.path = text.mid(7);
        if (url.path.startsWith(QLatin1String("//")))
            url.path = url.path.mid(2);
        if (url.path.isEmpty())
            throw Error(ErrorNumber::InvalidArgument,
                        QStringLiteral("Database URL \"%1\" names no file; write sqlite:PATH").arg(text));
        return url;
    }
    if (text.startsWith(QLatin1String("postgresql://")) || text.startsWith(QLatin1String("postgres://"))) {
        const QUrl parsed(text, QUrl::StrictMode);
        const QString name = parsed.path().mid(1);
        if (!parsed.isValid() || parsed.host().isEmpty() || name.isEmpty() || name.contains(QLatin1Char('/')))
            throw Error(
                ErrorNumber::InvalidArgument,
                QStringLiteral("Database URL \"%1\" is not of the form postgresql://user@host:port/dbname")
                    .arg(text));
        url.dialect = Dialect::PostgreSQL;
        url.host = parsed.host();
        url.port = parsed.port(5432);
        url.user = parsed.userName();
        url.password = parsed.password();
        url.databaseName = name;
        return url;
    }
    throw Error(ErrorNumber::InvalidArgument,
                QStringLiteral(
                    "\"%1\" is not a database URL; write sqlite:PATH or postgresql://user@host:port/dbname")
                    .arg(text));
}

QString DatabaseUrl::defaultSqlitePath()
{
    QString dataHome = qEnvironmentVariable("XDG_DATA_HOME");
    if (dataHome.isEmpty())
        dataHome = QDir::homePath() + QStringLiteral("/.local/share");
    return dataHome + QStringLiteral("/bryx/bryx.sqlite");
}

DatabaseUrl DatabaseUrl::defaultUrl()
{
    DatabaseUrl url;
    url.path = defaultSqlitePath();
    return url;
}

QString DatabaseUrl::display() const
{
    if (dialect == Dialect::SQLite)
        return QStringLiteral("sqlite:") + path;
    return QStringLiteral("postgresql://%1%2%3:%4/%5")
        .arg(user, user.isEmpty() ? QString() : QStringLiteral("@"), host)
        .arg(port)
        .arg(databaseName);
}

} // namespace bryx::host
