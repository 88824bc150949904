#pragma once

#include <QString>
#include <cstdint>

namespace bryx::host {

class Database;

// Who is signed in and what their role lets them do.
struct UserSession {
    int32_t userId = 0;
    QString loginName;
    QString fullName;
    int32_t orgUnitId = 0;
    bool maySave = false;
    bool mayDelete = false;
    bool mayCreate = false;

    // Throws bryx::Error when the database knows no such login.
    static UserSession load(Database& db, const QString& loginName);
};

} // namespace bryx::host
