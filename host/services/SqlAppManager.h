#pragma once

#include "QueryRecordset.h"
#include "UserSession.h"
#include "contracts/AppManager.h"
#include "db/Database.h"

#include <memory>

namespace bryx::host {

// The reference host's application manager: every operation answered from the database.
// Searches run on a read-only connection (on PostgreSQL as the installation's reader role);
// changes (delete, copy) on a writable one, each in one transaction with its audit rows.
class SqlAppManager : public AppManager {
public:
    // `loginName` chooses the user of an SQLite file; on PostgreSQL the user is the URL's
    // login, and a name given must be that one. Throws bryx::Error (PasswordRequired when the
    // server wants a password) with what to do.
    SqlAppManager(const DatabaseUrl& url, const QString& loginName);
    ~SqlAppManager() override;

    std::shared_ptr<Recordset> CallGetQueryRSXML(QString& sql) override;
    std::shared_ptr<Recordset> GetPrototypeRSForView(const QString& workingListCode) override;
    QString GetServerName() override;
    int32_t GetServerType() override;
    int32_t GetUserID() override;
    QString GetUserName() override;
    int32_t GetSystemOrgUnitID() override;
    QString GetOrgUnitCode(const QVariant& orgUnit) override;
    int Message(const QString& messageId, const std::shared_ptr<Collection>& arguments) override;
    void ApplySecurity(QObject& component, const QVariant& omitted, const QString& componentName,
                       const ControlList& controls) override;
    void EnableControl(QObject& control, const QString& componentName) override;
    QString GetControlAccess(const QString& componentName, const QString& controlName) override;
    bool CheckPermission(int32_t& recordId) override;
    bool Delete(const QString& operation, int32_t& recordId, QString& userName,
                const QString& tableName) override;
    bool Copy(const QString& operation, const QVariant& chosenId, int32_t& currentId,
              QString& userName) override;
    std::shared_ptr<Recordset> Auditing(const QString& tableName, int32_t recordId,
                                        const QString& columnName) override;
    std::shared_ptr<bryx::MenuBuilder> MenuBuilder() override;
    std::shared_ptr<bryx::ViewManager> ViewManager() override;
    QString HelpFile() override;
    // The help set beside the program (a build folder), else where an installation puts it
    // beside the program's folder.
    static QString helpFileFor(const QString& programFolder);
    bool GetHelpTopicID(QObject& component, int32_t& topicId) override;
    void DisplaySystemControlEntry(QObject& component) override;
    void ShowAbout() override;
    void PopupEdit(QObject& grid) override;

    Database& writable() { return *m_writable; }
    Database& readOnly() { return *m_readOnly; }
    const UserSession& user() const { return m_user; }
    // How long a search may run before it is stopped (30 s unless set).
    void setQueryTimeout(std::chrono::milliseconds timeout);
    // The numbers GetServerType answers for each engine.
    static constexpr int32_t SqliteServerType = 1;
    static constexpr int32_t PostgresServerType = 2;
    static int32_t serverTypeOf(Dialect dialect)
    {
        return dialect == Dialect::SQLite ? SqliteServerType : PostgresServerType;
    }

    // Audit rows for the columns that differ between two versions of a record's values.
    static void writeAudit(Database& db, const QString& userName, int32_t orgUnitId, const QString& table,
                           const QString& action, int32_t primaryKey, const QVariantMap& before,
                           const QVariantMap& after);

private:
    std::unique_ptr<Database> m_writable;
    std::unique_ptr<Database> m_readOnly;
    UserSession m_user;
    ReadPolicy m_componentReads; // the components' statements: as the reader role
    ReadPolicy m_hostReads; // the host's own (the audit trail): with the login's rights
    std::shared_ptr<bryx::MenuBuilder> m_menuBuilder;
    std::shared_ptr<bryx::ViewManager> m_viewManager;
};

// Reads all columns of one row into a map (lower-case column names); empty when not found.
QVariantMap readRow(Database& db, const QString& table, const QString& keyColumn, int32_t key);

} // namespace bryx::host
