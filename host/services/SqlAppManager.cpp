#include "SqlAppManager.h"

#include "ControlSecurity.h"
#include "CurationLog.h"
#include "MessageCatalogue.h"
#include "NameSnapshot.h"
#include "PopupCellEditor.h"
#include "QueryRecordset.h"
#include "ServerRegistry.h"
#include "collection/Collection.h"
#include "controls/FlexGrid.h"
#include "db/AuditTriggers.h"
#include "db/ServerRoles.h"
#include "db/SqlText.h"
#include "error/Error.h"
#include "recordset/Recordset.h"
#include "registration/Identities.h"
#include "services/MessageBox.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

namespace bryx::host {

namespace {

class SqlMenuBuilder : public MenuBuilder {
public:
    QString GetConvertFromParentSQL(const QString& parent, const QString& target, const QString&) override
    {
        if (parent.compare(QLatin1String("SNM"), Qt::CaseInsensitive) != 0)
            return {};
        if (target.compare(QLatin1String("REF"), Qt::CaseInsensitive) == 0)
            return QStringLiteral("select * from reference_wl_vw where ID in (select reference_id from "
                                  "scientific_name_reference where scientific_name_id = ?)");
        if (target.compare(QLatin1String("SNM"), Qt::CaseInsensitive) == 0)
            return QStringLiteral(
                "select * from scientific_wl_vw where ID in (select nomenclaturally_est_sn_id "
                "from scientific_name where scientific_name_id = ?)");
        return {};
    }
};

class FixedViewManager : public ViewManager {
public:
    FixedViewManager()
        : m_views(std::make_shared<Collection>())
    {
        for (const char* code : {"SNM", "REF", "ELE", "ETK"}) {
            auto view = std::make_shared<Collection>();
            view->Add(QString::fromLatin1(code), QStringLiteral("WORKING_LIST_TYPE"));
            m_views->Add(Collection::fromEntry(view));
        }
    }
    std::shared_ptr<Collection> colViews() override { return m_views; }

private:
    std::shared_ptr<Collection> m_views;
};

// Columns copied by Tools > Copy Data From; identity, ownership and audit columns stay.
const char* const CopiedColumns[] = {"scientific_name",
                                     "formatted_scientific_name",
                                     "author_name",
                                     "translated_name",
                                     "acronym",
                                     "d_name_category_id",
                                     "d_classification_level_id",
                                     "placeholder_name_ind",
                                     "d_nomenclaturally_est_id",
                                     "nomenclaturally_est_sn_id",
                                     "relationship_to_establ_name",
                                     "scientific_name_com",
                                     "scientific_name_internal_notes"};

} // namespace

QVariantMap readRow(Database& db, const QString& table, const QString& keyColumn, int32_t key)
{
    QSqlQuery query(db.sql());
    query.prepare(QStringLiteral("SELECT * FROM %1 WHERE %2 = ?").arg(table, keyColumn));
    query.addBindValue(key);
    if (!query.exec())
        throw Error(
            ErrorNumber::InvalidArgument,
            QStringLiteral("Reading %1 %2 failed: %3").arg(table).arg(key).arg(query.lastError().text()));
    QVariantMap row;
    if (query.next()) {
        const QSqlRecord record = query.record();
        for (int i = 0; i < record.count(); ++i)
            row.insert(record.fieldName(i).toLower(), query.value(i));
    }
    return row;
}

SqlAppManager::SqlAppManager(const DatabaseUrl& url, const QString& loginName)
    : m_writable(std::make_unique<Database>(url, Database::Access::ReadWrite))
    , m_readOnly(std::make_unique<Database>(url, Database::Access::ReadOnly))
    , m_user(UserSession::load(*m_writable, loginName))
    , m_menuBuilder(std::make_shared<SqlMenuBuilder>())
    , m_viewManager(std::make_shared<FixedViewManager>())
{
    if (url.dialect == Dialect::PostgreSQL)
        m_componentReads.role = ServerRoles::of(*m_writable).reader;
    ServerRegistry::remember(url.display(), url);
}

void SqlAppManager::setQueryTimeout(std::chrono::milliseconds timeout)
{
    m_componentReads.timeout = timeout;
    m_hostReads.timeout = timeout;
}

SqlAppManager::~SqlAppManager() = default;

std::shared_ptr<Recordset> SqlAppManager::CallGetQueryRSXML(QString& sql)
{
    return QueryRecordset::run(*m_readOnly, sql, m_componentReads);
}

std::shared_ptr<Recordset> SqlAppManager::GetPrototypeRSForView(const QString& workingListCode)
{
    QString sql;
    if (workingListCode.compare(QLatin1String("SNM"), Qt::CaseInsensitive) == 0)
        sql = QStringLiteral("select * from scientific_wl_vw where 1=0");
    else if (workingListCode.compare(QLatin1String("REF"), Qt::CaseInsensitive) == 0)
        sql = QStringLiteral("select * from reference_wl_vw where 1=0");
    else
        throw Error(ErrorNumber::InvalidArgument,
                    QStringLiteral("GetPrototypeRSForView: \"%1\" is not a list of this application")
                        .arg(workingListCode));
    return QueryRecordset::run(*m_readOnly, sql, m_componentReads);
}

QString SqlAppManager::GetServerName()
{
    return m_writable->url().display();
}

int32_t SqlAppManager::GetServerType()
{
    return serverTypeOf(m_writable->dialect());
}

int32_t SqlAppManager::GetUserID()
{
    return m_user.userId;
}

QString SqlAppManager::GetUserName()
{
    return m_user.loginName;
}

int32_t SqlAppManager::GetSystemOrgUnitID()
{
    return m_user.orgUnitId;
}

QString SqlAppManager::GetOrgUnitCode(const QVariant& orgUnit)
{
    if (orgUnit.isNull() || !orgUnit.isValid())
        return {};
    return m_readOnly
        ->scalar(QStringLiteral("SELECT org_unit_code FROM org_unit WHERE org_unit_id = ?"), {orgUnit})
        .toString();
}

int SqlAppManager::Message(const QString& messageId, const std::shared_ptr<Collection>& arguments)
{
    QStringList texts;
    if (arguments) {
        for (int i = 1; i <= arguments->Count(); ++i)
            texts << arguments->Item(i).toString();
    }
    const MessageCatalogue::Entry entry = MessageCatalogue::compose(messageId, texts);
    return MsgBox(entry.text, entry.style, entry.title);
}

void SqlAppManager::ApplySecurity(QObject&, const QVariant&, const QString& componentName,
                                  const ControlList& controls)
{
    for (QObject* control : controls) {
        if (control && !ControlSecurity::allows(m_user, componentName, control->objectName()))
            control->setProperty("Enabled", false);
    }
}

void SqlAppManager::EnableControl(QObject& control, const QString& componentName)
{
    control.setProperty("Enabled", ControlSecurity::allows(m_user, componentName, control.objectName()));
}

QString SqlAppManager::GetControlAccess(const QString& componentName, const QString& controlName)
{
    return ControlSecurity::allows(m_user, componentName, controlName) ? QStringLiteral("F")
                                                                       : QStringLiteral("R");
}

bool SqlAppManager::CheckPermission(int32_t&)
{
    return m_user.maySave;
}

void SqlAppManager::writeAudit(Database& db, const QString& userName, int32_t orgUnitId, const QString& table,
                               const QString& action, int32_t primaryKey, const QVariantMap& before,
                               const QVariantMap& after)
{
    // PostgreSQL writes the names' trail itself, whoever changes them.
    if (AuditTriggers::auditsNames(db)
        && table.compare(QLatin1String("scientific_name"), Qt::CaseInsensitive) == 0)
        return;
    const QDateTime now = QDateTime::currentDateTimeUtc();
    QSqlQuery insert(db.sql());
    insert.prepare(
        QStringLiteral("INSERT INTO audit_log (audit_log_id, audit_date, user_name, table_name, action, "
                       "column_name, old_value, primary_key, org_unit_id, audit_log_column_id) "
                       "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
    auto add = [&](const QVariant& column, const QVariant& oldValue) {
        const int32_t id = db.nextId();
        for (const QVariant& value :
             {QVariant(id), QVariant(now), QVariant(userName), QVariant(table.toUpper()), QVariant(action),
              column, oldValue, QVariant(primaryKey), QVariant(orgUnitId),
              column.isNull() ? QVariant() : QVariant(id)})
            insert.addBindValue(value);
        if (!insert.exec())
            throw Error(ErrorNumber::InvalidArgument,
                        QStringLiteral("Writing the audit trail failed: %1").arg(insert.lastError().text()));
    };
    if (action == QLatin1String("I")) {
        add(QVariant(), QVariant());
        return;
    }
    for (auto it = before.constBegin(); it != before.constEnd(); ++it) {
        if (it.key() == QLatin1String("row_version") || it.key().startsWith(QLatin1String("rec_")))
            continue;
        const QVariant newValue = after.value(it.key());
        const bool changed = action == QLatin1String("D") ? !sameStoredValue(it.value(), QVariant())
                                                          : !sameStoredValue(it.value(), newValue);
        if (changed)
            add(it.key(),
                sameStoredValue(it.value(), QVariant()) ? QVariant() : QVariant(it.value().toString()));
    }
}

bool SqlAppManager::Delete(const QString& operation, int32_t& recordId, QString& userName,
                           const QString& tableName)
{
    if (operation.compare(QLatin1String("delete_table_data"), Qt::CaseInsensitive) != 0
        || tableName.compare(QLatin1String("scientific_name"), Qt::CaseInsensitive) != 0)
        throw Error(ErrorNumber::InvalidArgument,
                    QStringLiteral("Delete: \"%1\" on table \"%2\" is not an operation of this host")
                        .arg(operation, tableName));
    if (!m_user.mayDelete)
        return false;
    bool deleted = false;
    m_writable->transaction([&] {
        const QVariantMap before = readRow(*m_writable, QStringLiteral("scientific_name"),
                                           QStringLiteral("scientific_name_id"), recordId);
        if (before.isEmpty())
            return;
        writeAudit(*m_writable, userName, m_user.orgUnitId, QStringLiteral("scientific_name"),
                   QStringLiteral("D"), recordId, before, {});
        // Kept whole, so that File > Recently Deleted Names can bring the name back.
        QJsonObject snapshot = NameSnapshot::capture(*m_writable, before).toJson();
        snapshot.insert(QStringLiteral("resting"),
                        readRows(*m_writable,
                                 QStringLiteral("SELECT scientific_name_id, row_version FROM scientific_name "
                                                "WHERE nomenclaturally_est_sn_id = ?"),
                                 {recordId}));
        CurationLog::record(*m_writable, CurationLog::Kind::Delete, recordId, 0, m_user.loginName, snapshot);
        // The names that rested on this one lose their established name: that is a change of
        // theirs, and their history says so.
        const QString established = QStringLiteral("nomenclaturally_est_sn_id");
        QSqlQuery resting = m_writable->query(
            QStringLiteral(
                "SELECT scientific_name_id FROM scientific_name WHERE nomenclaturally_est_sn_id = ?"),
            {recordId}, Database::Reading::Buffered);
        while (resting.next())
            writeAudit(*m_writable, userName, m_user.orgUnitId, QStringLiteral("scientific_name"),
                       QStringLiteral("U"), resting.value(0).toInt(), {{established, recordId}},
                       {{established, QVariant()}});
        QSqlQuery query(m_writable->sql());
        for (const QString& sql :
             {QStringLiteral("UPDATE scientific_name SET nomenclaturally_est_sn_id = NULL "
                             "WHERE nomenclaturally_est_sn_id = ?"),
              QStringLiteral("DELETE FROM scientific_name_reference WHERE scientific_name_id = ?"),
              QStringLiteral("DELETE FROM scientific_name WHERE scientific_name_id = ?")}) {
            query.prepare(sql);
            query.addBindValue(recordId);
            if (!query.exec())
                throw Error(ErrorNumber::InvalidArgument,
                            QStringLiteral("Deleting scientific name %1 failed: %2")
                                .arg(recordId)
                                .arg(query.lastError().text()));
        }
        deleted = query.numRowsAffected() == 1;
    });
    return deleted;
}

bool SqlAppManager::Copy(const QString& operation, const QVariant& chosenId, int32_t& currentId,
                         QString& userName)
{
    if (operation.compare(QLatin1String("COPY_SNM"), Qt::CaseInsensitive) != 0)
        throw Error(ErrorNumber::InvalidArgument,
                    QStringLiteral("Copy: \"%1\" is not an operation of this host").arg(operation));
    bool ok = false;
    const int32_t sourceId = chosenId.toInt(&ok);
    if (!ok || !m_user.maySave || sourceId == currentId)
        return false;
    bool copied = false;
    m_writable->transaction([&] {
        const QVariantMap source = readRow(*m_writable, QStringLiteral("scientific_name"),
                                           QStringLiteral("scientific_name_id"), sourceId);
        const QVariantMap before = readRow(*m_writable, QStringLiteral("scientific_name"),
                                           QStringLiteral("scientific_name_id"), currentId);
        if (source.isEmpty() || before.isEmpty())
            return;
        QStringList columns;
        QVariantList values;
        QVariantMap after = before;
        for (const char* column : CopiedColumns) {
            columns << QLatin1String(column);
            values << source.value(QLatin1String(column));
            after.insert(QLatin1String(column), source.value(QLatin1String(column)));
        }
        QSqlQuery update(m_writable->sql());
        columns << QStringLiteral("rec_last_mod_user") << QStringLiteral("rec_last_mod_date");
        update.prepare(updateStatement(QStringLiteral("scientific_name"), columns,
                                       QStringLiteral("scientific_name_id = ?"),
                                       QStringLiteral("row_version = row_version + 1")));
        for (const QVariant& value : std::as_const(values))
            update.addBindValue(value);
        update.addBindValue(userName);
        update.addBindValue(QDateTime::currentDateTimeUtc());
        update.addBindValue(currentId);
        if (!update.exec())
            throw Error(ErrorNumber::InvalidArgument,
                        QStringLiteral("Copying failed: %1").arg(update.lastError().text()));
        writeAudit(*m_writable, userName, m_user.orgUnitId, QStringLiteral("scientific_name"),
                   QStringLiteral("U"), currentId, before, after);
        copied = true;
    });
    return copied;
}

std::shared_ptr<Recordset> SqlAppManager::Auditing(const QString& tableName, int32_t recordId,
                                                   const QString& columnName)
{
    QString sql =
        QStringLiteral(
            "select a.audit_log_id as ID, a.audit_date as Audit_Date, a.user_name as User_Name, a.table_name "
            "as Table_Name, "
            "a.action as Action, a.column_name as Column_Name, a.old_value as Old_Value, c.comment_text as "
            "Comments, "
            "a.primary_key as Primary_Key, a.org_unit_id as Org_Unit, a.audit_log_id as Audit_Log_Id, "
            "a.audit_log_column_id as Column_Id from audit_log a left join audit_comment c on "
            "c.audit_log_column_id = "
            "a.audit_log_column_id where upper(a.table_name) = %1 and a.primary_key = %2")
            .arg(sqlLiteral(tableName.toUpper()))
            .arg(recordId);
    if (!columnName.isEmpty())
        sql += QStringLiteral(" and upper(a.column_name) = %1").arg(sqlLiteral(columnName.toUpper()));
    sql += QStringLiteral(" order by a.audit_date, a.audit_log_id");
    return QueryRecordset::run(*m_readOnly, sql, m_hostReads);
}

std::shared_ptr<MenuBuilder> SqlAppManager::MenuBuilder()
{
    return m_menuBuilder;
}

std::shared_ptr<ViewManager> SqlAppManager::ViewManager()
{
    return m_viewManager;
}

QString SqlAppManager::HelpFile()
{
    return helpFileFor(QCoreApplication::applicationDirPath());
}

QString SqlAppManager::helpFileFor(const QString& programFolder)
{
    const QDir programs(programFolder);
    const QString beside = programs.filePath(QStringLiteral("help/index.html"));
    const QString installed =
        QDir::cleanPath(programs.filePath(QStringLiteral(BRYX_INSTALLED_HELP "/index.html")));
    return !QFileInfo::exists(beside) && QFileInfo::exists(installed) ? installed : beside;
}

bool SqlAppManager::GetHelpTopicID(QObject& component, int32_t& topicId)
{
    const QString name = QString::fromLatin1(component.metaObject()->className());
    if (name.contains(QLatin1String("ScientificSearch"))) {
        topicId = 2000;
        return true;
    }
    if (name.contains(QLatin1String("ScientificDetails"))) {
        topicId = 3000;
        return true;
    }
    return false;
}

void SqlAppManager::DisplaySystemControlEntry(QObject& component)
{
    MsgBox(
        QStringLiteral("Component: %1\nDatabase: %2\nUser: %3")
            .arg(QString::fromLatin1(component.metaObject()->className()), GetServerName(), m_user.loginName),
        MsgBoxStyle::OKOnly | MsgBoxStyle::Information, QStringLiteral("System Control"));
}

void SqlAppManager::ShowAbout()
{
    const QString host = QCoreApplication::applicationName().isEmpty() ? QStringLiteral("Reference host")
                                                                       : QCoreApplication::applicationName();
    MsgBox(QStringLiteral("BRYX Scientific Name library %1\n%2 %3 on Qt %4\nDatabase: %5")
               .arg(QLatin1String(registration::FileVersion), host, QCoreApplication::applicationVersion(),
                    QString::fromLatin1(qVersion()), GetServerName()),
           MsgBoxStyle::OKOnly | MsgBoxStyle::Information, QStringLiteral("About"));
}

void SqlAppManager::PopupEdit(QObject& grid)
{
    if (auto* flexGrid = qobject_cast<FlexGrid*>(&grid))
        PopupCellEditor::editCurrentCell(*flexGrid);
}

} // namespace bryx::host
