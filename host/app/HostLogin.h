#pragma once

#include "db/DatabaseUrl.h"

#include <QString>
#include <memory>

namespace bryx::host {

class SqlAppManager;

// Signs the desktop user in to a database: prepares it (LocalDatabase), then opens the
// application manager. On an SQLite file the user is `sqliteUser`, else the system login when
// the file knows it, else the sample editor. On PostgreSQL the user is the login of the URL,
// authenticated by the server; when the server wants a password that neither the URL,
// PGPASSWORD nor ~/.pgpass gave, a dialog asks for it until it is accepted or the user
// cancels. A user name given for a server is refused: the server decides who you are.
class HostLogin {
public:
    struct Result {
        std::shared_ptr<SqlAppManager> appManager;
        QString prepared; // what preparing the database did, for the log
    };

    // Throws bryx::Error with what went wrong and what to do.
    static Result signIn(DatabaseUrl url, const QString& sqliteUser);
};

} // namespace bryx::host
