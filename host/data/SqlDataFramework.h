#pragma once

#include "contracts/ScientificNameRecord.h"
#include "services/QueryRecordset.h"

#include <functional>
#include <memory>

namespace bryx::host {

class Database;

// The record's companion: a private note of the current user on each record, kept in the
// option store under "$RECORD_NOTES" with the record ID as the option name.
class SqlRecordExtension : public RecordExtension {
public:
    void Initialize(int32_t userId, std::shared_ptr<AppManager> appManager) override;
    void Attach(QObject& component, const QString& componentName, const ControlList& controls) override;
    void RecordShown(QObject& component, const QString& componentName, const ControlList& controls,
                     int32_t recordId) override;
    bool IsChanged() const override { return m_changed; }
    bool Save(int32_t recordId, QObject& component, const QString& componentName,
              const ControlList& controls) override;
    void AcceptSaved() override { m_changed = false; }

    QString note() const { return m_note; }
    void setNote(const QString& note);

private:
    Database& database();

    int32_t m_userId = 0;
    std::shared_ptr<AppManager> m_appManager;
    std::unique_ptr<Database> m_db;
    QString m_note;
    bool m_changed = false;
};

// Runs one statement on a read-only connection.
class SqlQueryObject : public QueryObject {
public:
    ~SqlQueryObject() override;
    void Connect(const QString& serverName, int32_t serverType) override;
    std::shared_ptr<Recordset> Run(const QString& sql) override;

private:
    std::unique_ptr<Database> m_db;
    ReadPolicy m_policy; // a component's statements, as on the application manager's read path
};

// Creates the reference host's record objects, companions and query objects. Records it
// makes tell `onRefusal` why a save was refused.
class SqlDataFramework : public DataFramework {
public:
    using RefusalReporter = std::function<void(const QString& why)>;
    SqlDataFramework() = default;
    explicit SqlDataFramework(RefusalReporter onRefusal)
        : m_onRefusal(std::move(onRefusal))
    {
    }

    std::unique_ptr<ScientificNameRecord> CreateScientificNameRecord() override;
    std::unique_ptr<bryx::RecordExtension> CreateRecordExtension() override;
    std::unique_ptr<bryx::QueryObject> CreateQueryObject() override;

private:
    RefusalReporter m_onRefusal;
};

} // namespace bryx::host
