#pragma once

#include <QString>
#include <cstdint>

namespace bryx::host {

class Database;

// Who is signed in and what their role lets them do.
//
// On an SQLite file, a personal database nobody logs in to, the user is the app_user row of
// the login name the program was given, and app_role says what that user may do. On
// PostgreSQL the user is the server login of the connection, authenticated by the server, and
// what it may do is what the server grants it; a login name given besides must be that login.
struct UserSession {
    int32_t userId = 0;
    QString loginName;
    QString fullName;
    int32_t orgUnitId = 0;
    bool maySave = false;
    bool mayDelete = false;
    bool mayCreate = false;

    // Throws bryx::Error when the database knows no such user, or (PostgreSQL) when the login
    // is a superuser or may act as the schema owner, whose rights no application should run with.
    static UserSession load(Database& db, const QString& loginName);

private:
    static UserSession loadSqliteUser(Database& db, const QString& loginName);
    static UserSession loadServerLogin(Database& db, const QString& loginName);
};

} // namespace bryx::host
