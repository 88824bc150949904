#pragma once

#include "contracts/ClientComponents.h"

#include <QVariant>
#include <memory>

namespace bryx::host {

class Database;
class ClientCollection;

// What the client collection needs of each object it holds: field values for FindItem, and
// writing itself inside the collection's save transaction.
class SqlClientObject {
public:
    virtual ~SqlClientObject() = default;
    virtual QVariant fieldValue(const QString& name) const = 0;
    virtual void save(Database& db) = 0;
    virtual void remove(Database& db) = 0;
};

// One row of user_option.
class SqlUserOption : public UserOption, public SqlClientObject {
public:
    SqlUserOption() = default;
    SqlUserOption(int32_t id, int32_t categoryId, QString name, int32_t userId, QString value);

    void Connect(const QString& serverName, int32_t serverType) override;
    void NewRecord(const QVariant& first, const QVariant& second) override;
    QString Name() const override { return m_name; }
    void SetName(const QString& name) override;
    QString Value() const override { return m_value; }
    void SetValue(const QString& value) override;
    void SetUserID(int32_t userId) override;

    QVariant fieldValue(const QString& name) const override;
    void save(Database& db) override;
    void remove(Database& db) override;
    void setCategoryId(int32_t categoryId) { m_categoryId = categoryId; }

private:
    int32_t m_id = 0;
    int32_t m_categoryId = 0;
    QString m_name;
    int32_t m_userId = 0;
    QString m_value;
    bool m_new = false;
    bool m_changed = false;
};

// One row of user_option_category, with the options added to it since it was found.
class SqlUserOptionCategory : public UserOptionCategory, public SqlClientObject {
public:
    SqlUserOptionCategory(int32_t id, QString name, QString serverName, int32_t serverType);
    std::shared_ptr<ComponentCollection> Options() override;

    QVariant fieldValue(const QString& name) const override;
    void save(Database& db) override;
    void remove(Database& db) override;

private:
    int32_t m_id;
    QString m_name;
    QString m_serverName;
    int32_t m_serverType;
    std::shared_ptr<ClientCollection> m_options;
};

// A literature reference, read only.
class SqlReference : public Reference, public SqlClientObject {
public:
    SqlReference(int32_t id, QString code, QString citation);
    int32_t ID() const override { return m_id; }
    QString ReferenceCode() const override { return m_code; }
    QString FullCitation() const override { return m_citation; }

    QVariant fieldValue(const QString& name) const override;
    void save(Database&) override { }
    void remove(Database&) override { }

private:
    int32_t m_id;
    QString m_code;
    QString m_citation;
};

// The comment on one audited column.
class SqlAuditComment : public AuditComment, public SqlClientObject {
public:
    void Connect(const QString& serverName, int32_t serverType) override;
    bool Load(int32_t auditColumnId) override;
    QString Comment() const override { return m_comment; }
    void SetComment(const QString& comment) override;

    QVariant fieldValue(const QString& name) const override;
    void save(Database& db) override;
    void remove(Database& db) override;

private:
    QString m_serverName;
    int32_t m_auditColumnId = 0;
    QString m_comment;
    bool m_changed = false;
};

} // namespace bryx::host
