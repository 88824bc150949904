#pragma once

#include <QString>

namespace bryx::host {

struct UserSession;

// Which controls a user's role allows: saving, deleting and creating records need the
// matching right; everything else, saved searches included, is open to every user.
class ControlSecurity {
public:
    static bool allows(const UserSession& user, const QString& controlName);
};

} // namespace bryx::host
