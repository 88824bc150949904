#include "ServerRegistry.h"

#include "error/Error.h"

#include <QMutex>

namespace bryx::host {

namespace {
QMutex mutex;
QHash<QString, DatabaseUrl>& servers()
{
    static QHash<QString, DatabaseUrl> known;
    return known;
}
} // namespace

void ServerRegistry::remember(const QString& serverName, const DatabaseUrl& url)
{
    const QMutexLocker lock(&mutex);
    servers().insert(serverName, url);
}

DatabaseUrl ServerRegistry::lookup(const QString& serverName)
{
    const QMutexLocker lock(&mutex);
    const auto it = servers().constFind(serverName);
    if (it == servers().constEnd())
        throw Error(ErrorNumber::InvalidArgument,
                    QStringLiteral("Server \"%1\" is not one this host has opened").arg(serverName));
    return *it;
}

} // namespace bryx::host
