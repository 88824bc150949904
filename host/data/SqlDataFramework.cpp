#include "SqlDataFramework.h"

#include "SqlScientificNameRecord.h"
#include "db/Database.h"
#include "db/ServerRoles.h"
#include "error/Error.h"
#include "services/QueryRecordset.h"
#include "services/ServerRegistry.h"

#include <QSqlError>
#include <QSqlQuery>

namespace bryx::host {

namespace {
const QString NotesCategory = QStringLiteral("$RECORD_NOTES");
}

void SqlRecordExtension::Initialize(int32_t userId, std::shared_ptr<AppManager> appManager)
{
    m_userId = userId;
    m_appManager = std::move(appManager);
    m_db.reset();
}

Database& SqlRecordExtension::database()
{
    if (!m_appManager)
        throw Error(ErrorNumber::ObjectClosed, QStringLiteral("The record extension was not initialised"));
    if (!m_db)
        m_db = std::make_unique<Database>(ServerRegistry::lookup(m_appManager->GetServerName()),
                                          Database::Access::ReadWrite);
    return *m_db;
}

void SqlRecordExtension::Attach(QObject&, const QString&, const ControlList&)
{
}

void SqlRecordExtension::RecordShown(QObject&, const QString&, const ControlList&, int32_t recordId)
{
    m_note =
        database()
            .scalar(QStringLiteral(
                        "SELECT o.option_value FROM user_option o JOIN user_option_category c ON "
                        "c.user_option_category_id = o.user_option_category_id WHERE c.category_name = ? "
                        "AND o.option_name = ? AND o.user_id = ?"),
                    {NotesCategory, QString::number(recordId), m_userId})
            .toString();
    m_changed = false;
}

void SqlRecordExtension::setNote(const QString& note)
{
    if (note == m_note)
        return;
    m_note = note;
    m_changed = true;
}

bool SqlRecordExtension::Save(int32_t recordId, QObject&, const QString&, const ControlList&)
{
    Database& db = database();
    db.transaction([&] {
        QVariant category =
            db.scalar(QStringLiteral(
                          "SELECT user_option_category_id FROM user_option_category WHERE category_name = ?"),
                      {NotesCategory});
        if (category.isNull()) {
            category = db.nextId();
            db.exec(
                QStringLiteral("INSERT INTO user_option_category (user_option_category_id, category_name) "
                               "VALUES (?, ?)"),
                {category, NotesCategory});
        }
        db.exec(QStringLiteral(
                    "DELETE FROM user_option WHERE user_option_category_id = ? AND option_name = ? AND "
                    "user_id = ?"),
                {category, QString::number(recordId), m_userId});
        if (!m_note.isEmpty())
            db.exec(QStringLiteral(
                        "INSERT INTO user_option (user_option_id, user_option_category_id, option_name, "
                        "user_id, option_value) VALUES (?, ?, ?, ?, ?)"),
                    {db.nextId(), category, QString::number(recordId), m_userId, m_note});
    });
    return true;
}

SqlQueryObject::~SqlQueryObject() = default;

void SqlQueryObject::Connect(const QString& serverName, int32_t)
{
    m_db = std::make_unique<Database>(ServerRegistry::lookup(serverName), Database::Access::ReadOnly);
    if (m_db->dialect() == Dialect::PostgreSQL)
        m_policy.role = ServerRoles::of(*m_db).reader;
}

std::shared_ptr<Recordset> SqlQueryObject::Run(const QString& sql)
{
    if (!m_db)
        throw Error(ErrorNumber::ObjectClosed, QStringLiteral("The query object is not connected"));
    return QueryRecordset::run(*m_db, sql, m_policy);
}

std::unique_ptr<ScientificNameRecord> SqlDataFramework::CreateScientificNameRecord()
{
    auto record = std::make_unique<SqlScientificNameRecord>();
    record->setRefusalReporter(m_onRefusal);
    return record;
}

std::unique_ptr<RecordExtension> SqlDataFramework::CreateRecordExtension()
{
    return std::make_unique<SqlRecordExtension>();
}

std::unique_ptr<QueryObject> SqlDataFramework::CreateQueryObject()
{
    return std::make_unique<SqlQueryObject>();
}

} // namespace bryx::host
