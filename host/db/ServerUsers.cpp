#include "ServerUsers.h"

#include "Database.h"
#include "ServerRoles.h"
#include "SqlText.h"
#include "error/Error.h"

#include <QSqlQuery>
#include <libpq-fe.h>

namespace bryx::host {

namespace {

constexpr int LoginLength = 60; // app_user.login_name

// The application's own name for each role, as app_role spells it.
QString applicationRole(const QString& roleWord)
{
    const QString word = roleWord.toLower();
    if (word == QLatin1String("viewer"))
        return QStringLiteral("Viewer");
    if (word == QLatin1String("editor"))
        return QStringLiteral("Editor");
    if (word == QLatin1String("admin"))
        return QStringLiteral("Admin");
    throw Error(ErrorNumber::InvalidArgument,
                QStringLiteral("\"%1\" is not a role; use viewer, editor or admin").arg(roleWord));
}

void requireLogin(const QString& login)
{
    if (login.trimmed().isEmpty() || login.size() > LoginLength || login.contains(QChar(0)))
        throw Error(
            ErrorNumber::InvalidArgument,
            QStringLiteral("\"%1\" cannot be a login: give 1 to %2 characters").arg(login).arg(LoginLength));
}

bool loginExists(Database& db, const QString& login)
{
    return db.scalar(QStringLiteral("SELECT count(*) FROM pg_roles WHERE rolname = ?"), {login}).toInt() > 0;
}

// The password as the server stores it (SCRAM), so that the text itself never travels in a
// statement.
QString encryptedPassword(Database& db, const QString& login, const QString& password)
{
    const QByteArray user = login.toUtf8();
    const QByteArray secret = password.toUtf8();
    char* encrypted =
        PQencryptPasswordConn(db.postgresHandle(), secret.constData(), user.constData(), nullptr);
    if (!encrypted)
        throw Error(ErrorNumber::InvalidArgument,
                    QStringLiteral("The password for %1 could not be prepared: %2")
                        .arg(login, QString::fromUtf8(PQerrorMessage(db.postgresHandle())).trimmed()));
    const QString text = QString::fromUtf8(encrypted);
    PQfreemem(encrypted);
    return text;
}

void createLogin(Database& db, const QString& login)
{
    try {
        db.transaction([&] { db.exec(QStringLiteral("CREATE ROLE %1 LOGIN").arg(sqlIdentifier(login))); });
    } catch (const Error& error) {
        // Another administrator may have made it a moment ago; otherwise say who can.
        if (loginExists(db, login))
            return;
        throw Error(ErrorNumber::InvalidArgument,
                    QStringLiteral("The login %1 does not exist on the server and could not be created (%2); "
                                   "a server administrator creates it with: CREATE ROLE %3 LOGIN")
                        .arg(login, error.Description(), sqlIdentifier(login)));
    }
}

int32_t orgUnitId(Database& db, const QString& code)
{
    const QVariant id = code.isEmpty()
        ? db.scalar(QStringLiteral("SELECT min(org_unit_id) FROM org_unit"))
        : db.scalar(QStringLiteral("SELECT org_unit_id FROM org_unit WHERE upper(org_unit_code) = upper(?)"),
                    {code});
    if (id.isNull())
        throw Error(
            ErrorNumber::InvalidArgument,
            code.isEmpty()
                ? QStringLiteral("Database %1 has no organisation unit").arg(db.url().display())
                : QStringLiteral("Database %1 has no organisation unit %2").arg(db.url().display(), code));
    return id.toInt();
}

void storeApplicationUser(Database& db, const ServerUsers::User& user)
{
    const QVariant roleId = db.scalar(QStringLiteral("SELECT role_id FROM app_role WHERE role_name = ?"),
                                      {applicationRole(user.role)});
    if (roleId.isNull())
        throw Error(ErrorNumber::InvalidArgument,
                    QStringLiteral("Database %1 knows no %2 role; bring it up to date with: bryx-db upgrade")
                        .arg(db.url().display(), applicationRole(user.role)));
    const QString fullName = user.fullName.isEmpty() ? user.login : user.fullName;
    const QVariant existing =
        db.scalar(QStringLiteral("SELECT user_id FROM app_user WHERE login_name = ?"), {user.login});
    if (existing.isNull()) {
        db.exec(QStringLiteral("INSERT INTO app_user (user_id, login_name, full_name, role_id, org_unit_id) "
                               "VALUES (?, ?, ?, ?, ?)"),
                {db.nextId(), user.login, fullName, roleId, orgUnitId(db, user.orgUnitCode)});
        return;
    }
    db.exec(
        QStringLiteral("UPDATE app_user SET role_id = ?, full_name = coalesce(?, full_name), org_unit_id = "
                       "coalesce(?, org_unit_id) WHERE user_id = ?"),
        {roleId, user.fullName.isEmpty() ? QVariant() : QVariant(user.fullName),
         user.orgUnitCode.isEmpty() ? QVariant() : QVariant(orgUnitId(db, user.orgUnitCode)), existing});
}

// The installation's groups the login belongs to now.
QStringList groupsOf(Database& db, const ServerRoles& roles, const QString& login)
{
    QStringList member;
    for (const QString& group : roles.groups()) {
        if (db.scalar(
                  QStringLiteral("SELECT count(*) FROM pg_auth_members m JOIN pg_roles g ON g.oid = m.roleid "
                                 "JOIN pg_roles u ON u.oid = m.member WHERE g.rolname = ? AND u.rolname = ?"),
                  {group, login})
                .toInt()
            > 0)
            member << group;
    }
    return member;
}

} // namespace

QString ServerUsers::add(Database& db, const User& user)
{
    requireLogin(user.login);
    applicationRole(user.role);
    if (db.dialect() == Dialect::SQLite) {
        db.transaction([&] { storeApplicationUser(db, user); });
        return QStringLiteral("%1 is a user of %2 with the %3 role")
            .arg(user.login, db.url().display(), user.role);
    }
    const ServerRoles roles = ServerRoles::of(db);
    if (!loginExists(db, user.login))
        createLogin(db, user.login);
    if (db.scalar(QStringLiteral("SELECT rolsuper OR pg_has_role(rolname, ?, 'MEMBER') FROM pg_roles WHERE "
                                 "rolname = ?"),
                  {roles.owner, user.login})
            .toBool())
        throw Error(ErrorNumber::InvalidArgument,
                    QStringLiteral("%1 is a superuser or acts as the owner %2; such a login administers the "
                                   "database and is no user of the application: add a login of its own")
                        .arg(user.login, roles.owner));
    const QString login = sqlIdentifier(user.login);
    db.transaction([&] {
        if (!user.password.isEmpty())
            db.exec(QStringLiteral("ALTER ROLE %1 PASSWORD %2")
                        .arg(login, sqlLiteral(encryptedPassword(db, user.login, user.password))));
        for (const QString& group : groupsOf(db, roles, user.login))
            db.exec(QStringLiteral("REVOKE %1 FROM %2").arg(sqlIdentifier(group), login));
        db.exec(QStringLiteral("GRANT %1 TO %2").arg(sqlIdentifier(roles.group(user.role)), login));
        storeApplicationUser(db, user);
    });
    return QStringLiteral("%1 is a user of %2 with the %3 role (member of %4)")
        .arg(user.login, db.url().display(), user.role, roles.group(user.role));
}

QString ServerUsers::remove(Database& db, const QString& login)
{
    requireLogin(login);
    auto removeRow = [&] {
        const QVariant id =
            db.scalar(QStringLiteral("SELECT user_id FROM app_user WHERE login_name = ?"), {login});
        if (id.isNull())
            return false;
        db.exec(QStringLiteral("DELETE FROM user_option WHERE user_id = ?"), {id});
        db.exec(QStringLiteral("DELETE FROM app_user WHERE user_id = ?"), {id});
        return true;
    };
    if (db.dialect() == Dialect::SQLite) {
        bool removed = false;
        db.transaction([&] { removed = removeRow(); });
        if (!removed)
            throw Error(ErrorNumber::InvalidArgument,
                        QStringLiteral("%1 is no user of %2").arg(login, db.url().display()));
        return QStringLiteral("%1 is no longer a user of %2").arg(login, db.url().display());
    }
    const ServerRoles roles = ServerRoles::of(db);
    bool removed = false;
    db.transaction([&] {
        if (loginExists(db, login)) {
            for (const QString& group : groupsOf(db, roles, login)) {
                db.exec(QStringLiteral("REVOKE %1 FROM %2").arg(sqlIdentifier(group), sqlIdentifier(login)));
                removed = true;
            }
        }
        removed = removeRow() || removed;
    });
    if (!removed)
        throw Error(ErrorNumber::InvalidArgument,
                    QStringLiteral("%1 is no user of %2").arg(login, db.url().display()));
    QString done = QStringLiteral("%1 is no longer a user of %2").arg(login, db.url().display());
    const bool stillMember = loginExists(db, login)
        && db.scalar(QStringLiteral(
                         "SELECT count(*) FROM pg_auth_members m JOIN pg_roles u ON u.oid = m.member WHERE "
                         "u.rolname = ?"),
                     {login})
                .toInt()
            > 0;
    if (!loginExists(db, login))
        return done;
    if (stillMember)
        return done + QStringLiteral("; the login stays, as it has other rights on the server");
    try {
        db.transaction([&] { db.exec(QStringLiteral("DROP ROLE %1").arg(sqlIdentifier(login))); });
        return done + QStringLiteral("; the login was dropped");
    } catch (const Error& error) {
        return done + QStringLiteral("; the login stays (%1)").arg(error.Description());
    }
}

QList<ServerUsers::User> ServerUsers::list(Database& db)
{
    QList<User> users;
    QSqlQuery rows = db.query(QStringLiteral(
        "SELECT u.login_name, r.role_name, u.full_name, o.org_unit_code FROM app_user u JOIN app_role r ON "
        "r.role_id = u.role_id LEFT JOIN org_unit o ON o.org_unit_id = u.org_unit_id ORDER BY u.login_name"));
    while (rows.next())
        users.append({rows.value(0).toString(),
                      rows.value(1).toString().toLower(),
                      rows.value(2).toString(),
                      rows.value(3).toString(),
                      {}});
    return users;
}

} // namespace bryx::host
