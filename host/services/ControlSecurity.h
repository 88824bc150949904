#pragma once

#include <QString>

namespace bryx::host {

struct UserSession;

// Which controls a user's role allows: saving, deleting and creating records need the
// matching right; everything else is open to every user. In the search panel only creating a
// name is a record operation: its New, Open and Save concern the user's own saved searches.
class ControlSecurity {
public:
    static bool allows(const UserSession& user, const QString& componentName, const QString& controlName);
};

} // namespace bryx::host
