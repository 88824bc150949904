#include "CurationAudit.h"

#include "db/Database.h"
#include "services/SqlAppManager.h"
#include "services/UserSession.h"

#include <QDateTime>

namespace bryx::host {

namespace {

const QString NameTable = QStringLiteral("scientific_name");

} // namespace

int32_t CurationAudit::writeNote(Database& db, const UserSession& user, int32_t nameId, const QString& text)
{
    const int32_t id = db.nextId();
    db.exec(QStringLiteral("INSERT INTO audit_log (audit_log_id, audit_date, user_name, table_name, action, "
                           "column_name, old_value, primary_key, org_unit_id, audit_log_column_id) "
                           "VALUES (?, ?, ?, 'SCIENTIFIC_NAME', 'U', ?, ?, ?, ?, ?)"),
            {id, QDateTime::currentDateTimeUtc(), user.loginName, QLatin1String(MergedNamesColumn),
             text.left(4000), nameId, user.orgUnitId, id});
    return id;
}

void CurationAudit::nameInserted(Database& db, const UserSession& user, int32_t nameId)
{
    SqlAppManager::writeAudit(db, user.loginName, user.orgUnitId, NameTable, QStringLiteral("I"), nameId, {},
                              {});
}

void CurationAudit::nameDeleted(Database& db, const UserSession& user, int32_t nameId,
                                const QVariantMap& before)
{
    SqlAppManager::writeAudit(db, user.loginName, user.orgUnitId, NameTable, QStringLiteral("D"), nameId,
                              before, {});
}

void CurationAudit::nameTouched(Database& db, const UserSession& user, int32_t nameId)
{
    db.exec(QStringLiteral("UPDATE scientific_name SET row_version = row_version + 1, rec_last_mod_user = ?, "
                           "rec_last_mod_date = ? WHERE scientific_name_id = ?"),
            {user.loginName, QDateTime::currentDateTimeUtc(), nameId});
}

void CurationAudit::columnChanged(Database& db, const UserSession& user, int32_t nameId,
                                  const QString& column, const QVariant& oldValue, const QVariant& newValue)
{
    SqlAppManager::writeAudit(db, user.loginName, user.orgUnitId, NameTable, QStringLiteral("U"), nameId,
                              {{column, oldValue}}, {{column, newValue}});
}

} // namespace bryx::host
