#pragma once

#include <QList>
#include <QString>

namespace bryx::host {

class Database;

// The users of the application, as `bryx-db user` manages them. On PostgreSQL a user is a
// login role of the server, a member of one of the installation's groups (which decides what
// the server lets it do) and a row of app_user (its full name and organisation unit); on an
// SQLite file, where nobody logs in, the row alone.
class ServerUsers {
public:
    struct User {
        QString login;
        QString role; // viewer, editor or admin
        QString fullName; // the login when empty
        QString orgUnitCode; // the first organisation unit when empty
        QString password; // PostgreSQL: set for the login when not empty
    };

    // Adds the user, or brings an existing one to this role, name and unit; answers what was
    // done, in a line. Throws bryx::Error with the reason and its remedy.
    static QString add(Database& db, const User& user);
    // Takes the user out of this database's groups and its app_user row (with the user's saved
    // searches); drops the login itself when nothing else on the server needs it.
    static QString remove(Database& db, const QString& login);
    // One line a user: login, role, full name, organisation unit.
    static QList<User> list(Database& db);
};

} // namespace bryx::host
