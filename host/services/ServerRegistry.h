#pragma once

#include "db/DatabaseUrl.h"

#include <QHash>
#include <QString>

namespace bryx::host {

// Components pass the server name the application manager reported to the objects they create
// (client collections, record objects); those look the database up here. The name never holds
// a password, so the full URL stays with the host.
class ServerRegistry {
public:
    static void remember(const QString& serverName, const DatabaseUrl& url);
    // Throws bryx::Error naming the server when the host never opened it.
    static DatabaseUrl lookup(const QString& serverName);
};

} // namespace bryx::host
