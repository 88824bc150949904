#include "ClientObjects.h"

#include "ClientCollection.h"
#include "db/Database.h"
#include "error/Error.h"
#include "services/ServerRegistry.h"

namespace bryx::host {

namespace {

bool sameField(const QString& a, const char* b)
{
    return a.compare(QLatin1String(b), Qt::CaseInsensitive) == 0;
}

} // namespace

SqlUserOption::SqlUserOption(int32_t id, int32_t categoryId, QString name, int32_t userId, QString value)
    : m_id(id)
    , m_categoryId(categoryId)
    , m_name(std::move(name))
    , m_userId(userId)
    , m_value(std::move(value))
{
}

void SqlUserOption::Connect(const QString& serverName, int32_t)
{
    ServerRegistry::lookup(serverName); // refuses a server the host never opened
}

void SqlUserOption::NewRecord(const QVariant&, const QVariant&)
{
    m_id = 0;
    m_new = true;
    m_changed = true;
}

void SqlUserOption::SetName(const QString& name)
{
    m_name = name;
    m_changed = true;
}

void SqlUserOption::SetValue(const QString& value)
{
    m_value = value;
    m_changed = true;
}

void SqlUserOption::SetUserID(int32_t userId)
{
    m_userId = userId;
    m_changed = true;
}

QVariant SqlUserOption::fieldValue(const QString& name) const
{
    if (sameField(name, "ID") || sameField(name, "UserOptionId"))
        return m_id;
    if (sameField(name, "Name") || sameField(name, "OptionName"))
        return m_name;
    if (sameField(name, "Value") || sameField(name, "OptionValue"))
        return m_value;
    if (sameField(name, "UserId"))
        return m_userId;
    return {};
}

void SqlUserOption::save(Database& db)
{
    if (!m_changed)
        return;
    if (m_new) {
        if (m_categoryId == 0)
            throw Error(ErrorNumber::InvalidArgument,
                        QStringLiteral("Option \"%1\" belongs to no category; add it to a category's options")
                            .arg(m_name));
        m_id = db.nextId();
        db.exec(QStringLiteral(
                    "INSERT INTO user_option (user_option_id, user_option_category_id, option_name, user_id, "
                    "option_value) VALUES (?, ?, ?, ?, ?)"),
                {m_id, m_categoryId, m_name, m_userId, m_value});
    } else {
        db.exec(QStringLiteral(
                    "UPDATE user_option SET option_name = ?, option_value = ? WHERE user_option_id = ?"),
                {m_name, m_value, m_id});
    }
    m_new = false;
    m_changed = false;
}

void SqlUserOption::remove(Database& db)
{
    if (!m_new)
        db.exec(QStringLiteral("DELETE FROM user_option WHERE user_option_id = ?"), {m_id});
}

SqlUserOptionCategory::SqlUserOptionCategory(int32_t id, QString name, QString serverName, int32_t serverType)
    : m_id(id)
    , m_name(std::move(name))
    , m_serverName(std::move(serverName))
    , m_serverType(serverType)
{
}

std::shared_ptr<ComponentCollection> SqlUserOptionCategory::Options()
{
    if (!m_options) {
        m_options = std::make_shared<ClientCollection>();
        m_options->initializeForKind(ClientCollection::Kind::UserOptions, m_serverName, m_serverType);
        m_options->attachToCategory(m_id);
    }
    return m_options;
}

QVariant SqlUserOptionCategory::fieldValue(const QString& name) const
{
    if (sameField(name, "ID") || sameField(name, "UserOptionCategoryId"))
        return m_id;
    if (sameField(name, "Name") || sameField(name, "CategoryName"))
        return m_name;
    return {};
}

void SqlUserOptionCategory::save(Database& db)
{
    if (m_options)
        m_options->saveWithin(db);
}

void SqlUserOptionCategory::remove(Database&)
{
    throw Error(ErrorNumber::IllegalOperation,
                QStringLiteral("Option category \"%1\" cannot be removed from here").arg(m_name));
}

SqlReference::SqlReference(int32_t id, QString code, QString citation)
    : m_id(id)
    , m_code(std::move(code))
    , m_citation(std::move(citation))
{
}

QVariant SqlReference::fieldValue(const QString& name) const
{
    if (sameField(name, "ID") || sameField(name, "ReferenceId"))
        return m_id;
    if (sameField(name, "ReferenceCode") || sameField(name, "Reference_Code"))
        return m_code;
    if (sameField(name, "FullCitation") || sameField(name, "Full_Citation"))
        return m_citation;
    return {};
}

void SqlAuditComment::Connect(const QString& serverName, int32_t)
{
    ServerRegistry::lookup(serverName);
    m_serverName = serverName;
}

bool SqlAuditComment::Load(int32_t auditColumnId)
{
    m_auditColumnId = auditColumnId;
    Database db(ServerRegistry::lookup(m_serverName), Database::Access::ReadOnly);
    m_comment =
        db.scalar(QStringLiteral("SELECT comment_text FROM audit_comment WHERE audit_log_column_id = ?"),
                  {auditColumnId})
            .toString();
    m_changed = false;
    return true;
}

void SqlAuditComment::SetComment(const QString& comment)
{
    m_comment = comment;
    m_changed = true;
}

QVariant SqlAuditComment::fieldValue(const QString& name) const
{
    if (sameField(name, "AuditLogColumnId"))
        return m_auditColumnId;
    if (sameField(name, "Comment") || sameField(name, "CommentText"))
        return m_comment;
    return {};
}

void SqlAuditComment::save(Database& db)
{
    if (!m_changed)
        return;
    const int existing =
        db.scalar(QStringLiteral("SELECT count(*) FROM audit_comment WHERE audit_log_column_id = ?"),
                  {m_auditColumnId})
            .toInt();
    if (existing > 0)
        db.exec(QStringLiteral("UPDATE audit_comment SET comment_text = ? WHERE audit_log_column_id = ?"),
                {m_comment, m_auditColumnId});
    else
        db.exec(
            QStringLiteral("INSERT INTO audit_comment (audit_comment_id, audit_log_column_id, comment_text) "
                           "VALUES (?, ?, ?)"),
            {db.nextId(), m_auditColumnId, m_comment});
    m_changed = false;
}

void SqlAuditComment::remove(Database& db)
{
    db.exec(QStringLiteral("DELETE FROM audit_comment WHERE audit_log_column_id = ?"), {m_auditColumnId});
}

} // namespace bryx::host
