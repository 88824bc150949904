#include "UserSession.h"

#include "db/Database.h"
#include "db/ServerRoles.h"
#include "error/Error.h"

#include <QSqlQuery>

namespace bryx::host {

namespace {

QString howToAdd(const Database& db, const QString& login)
{
    return QStringLiteral("an administrator adds it with: bryx-db user add %1 --role editor --database %2")
        .arg(login.isEmpty() ? QStringLiteral("LOGIN") : login, db.url().display());
}

} // namespace

UserSession UserSession::load(Database& db, const QString& loginName)
{
    return db.dialect() == Dialect::SQLite ? loadSqliteUser(db, loginName) : loadServerLogin(db, loginName);
}

UserSession UserSession::loadSqliteUser(Database& db, const QString& loginName)
{
    QSqlQuery query(db.sql());
    query.prepare(
        QStringLiteral("SELECT u.user_id, u.login_name, u.full_name, u.org_unit_id, r.may_save, "
                       "r.may_delete, r.may_create FROM app_user u JOIN app_role r ON r.role_id = u.role_id "
                       "WHERE u.login_name = ?"));
    query.addBindValue(loginName);
    if (!query.exec() || !query.next())
        throw Error(ErrorNumber::InvalidArgument,
                    QStringLiteral("User \"%1\" is not known to database %2; %3")
                        .arg(loginName, db.url().display(), howToAdd(db, loginName)));
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

UserSession UserSession::loadServerLogin(Database& db, const QString& loginName)
{
    const QString login = db.scalar(QStringLiteral("SELECT session_user")).toString();
    if (!loginName.isEmpty() && loginName != login)
        throw Error(
            ErrorNumber::InvalidArgument,
            QStringLiteral("On PostgreSQL you are the login of the URL you connect with (%1 at %2), not "
                           "\"%3\": put the login in the database URL (postgresql://LOGIN@host/db); --user "
                           "and BRYX_USER only choose among the users of an SQLite file")
                .arg(login, db.url().display(), loginName));
    const ServerRoles roles = ServerRoles::of(db);
    QSqlQuery role =
        db.query(QStringLiteral("SELECT rolsuper, pg_has_role(session_user, ?, 'MEMBER') FROM pg_roles "
                                "WHERE rolname = session_user"),
                 {roles.owner});
    if (role.next() && role.value(0).toBool())
        throw Error(
            ErrorNumber::InvalidArgument,
            QStringLiteral("%1 is a PostgreSQL superuser: the components' searches would run with every "
                           "right of the server. Connect as a login of your own; %2")
                .arg(login, howToAdd(db, {})));
    if (role.value(1).toBool())
        throw Error(
            ErrorNumber::InvalidArgument,
            QStringLiteral("%1 may act as %2, the owner of the schema, whose rights are for bryx-db init, "
                           "upgrade and user only. Connect as a login of your own; %3")
                .arg(login, roles.owner, howToAdd(db, {})));
    QSqlQuery user = db.query(QStringLiteral(
        "SELECT user_id, full_name, org_unit_id, has_table_privilege('scientific_name', 'UPDATE'), "
        "has_table_privilege('scientific_name', 'DELETE'), has_table_privilege('scientific_name', "
        "'INSERT') FROM app_user WHERE login_name = session_user"));
    if (!user.next())
        throw Error(ErrorNumber::InvalidArgument,
                    QStringLiteral("The login %1 is not a user of database %2; %3")
                        .arg(login, db.url().display(), howToAdd(db, login)));
    UserSession session;
    session.userId = user.value(0).toInt();
    session.loginName = login;
    session.fullName = user.value(1).toString();
    session.orgUnitId = user.value(2).toInt();
    // What the menus offer follows what the server would let the login do.
    session.maySave = user.value(3).toBool();
    session.mayDelete = user.value(4).toBool();
    session.mayCreate = user.value(5).toBool();
    return session;
}

} // namespace bryx::host
