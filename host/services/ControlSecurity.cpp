#include "ControlSecurity.h"

#include "UserSession.h"

namespace bryx::host {

bool ControlSecurity::allows(const UserSession& user, const QString& componentName,
                             const QString& controlName)
{
    if (componentName == QLatin1String("ScientificSearch")) {
        const QString name = controlName.toLower();
        return !(name == QLatin1String("cmdnew") || name.startsWith(QLatin1String("mnunew")))
            || user.mayCreate;
    }
    // Searches are a user's own settings, not records: their menu entries stay open.
    if (controlName.contains(QLatin1String("Search"), Qt::CaseInsensitive))
        return true;
    const QString name = controlName.toLower();
    if (name.contains(QLatin1String("delete")))
        return user.mayDelete;
    if (name.contains(QLatin1String("save")) || name.startsWith(QLatin1String("mnutoolscopy")))
        return user.maySave;
    if (name == QLatin1String("cmdnew") || name.startsWith(QLatin1String("mnunew"))
        || name.startsWith(QLatin1String("mnufilenew")) || name == QLatin1String("new"))
        return user.mayCreate;
    return true;
}

} // namespace bryx::host
