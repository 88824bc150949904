#include "UserSession.h"

#include "db/Database.h"
#include "error/Error.h"

#include <QSqlQuery>

namespace bryx::host {

UserSession UserSession::load(Database& db, const QString& loginName)
{
    QSqlQuery query(db.sql());
    query.prepare(
        QStringLiteral("SELECT u.user_id, u.login_name, u.full_name, u.org_unit_id, r.may_save, "
                       "r.may_delete, r.may_create FROM app_user u JOIN app_role r ON r.role_id = u.role_id "
                       "WHERE u.login_name = ?"));
    query.addBindValue(loginName);
    if (!query.exec() || !query.next())
        throw Error(
            ErrorNumber::InvalidArgument,
            QStringLiteral("User \"%1\" is not known to database %2").arg(loginName, db.url().display()));
    UserSession session;
    session.userId = query.value(0).toInt();
    session.loginName = query.value(1).toString();
    session.fullName = query.value(2).toString();
    session.orgUnitId = query.value(3).toInt();
    session.maySave = query.value(4).toString() == QLatin1String("Y");
    session.mayDelete = query.value(5).toString() == QLatin1String("Y");
    session.mayCreate = query.value(6).toString() == QLatin1String("Y");
    return session;
}

} // namespace bryx::host
