#pragma once

#include "contracts/ScientificNameRecord.h"

#include <QHash>
#include <QVariantMap>
#include <functional>
#include <memory>
#include <vector>

namespace bryx::host {

class Database;
class FieldBinding;
class SqlReferenceLinks;

// A scientific name record read from and written to the reference database. Edits made
// through bound controls or the write accessors stay in the object until Save, which writes
// the record, its audit rows and the modifying user in one transaction, and refuses (storing
// nothing) an invalid record or one that someone else saved since it was read.
class SqlScientificNameRecord : public ScientificNameRecord {
public:
    SqlScientificNameRecord();
    ~SqlScientificNameRecord() override;

    void Connect(const QString& serverName, int32_t serverType) override;
    bool Retrieve(const QVariant& id, const QVariant& second, const QVariant& third) override;
    void NewRecord(const QVariant& first, const QVariant& second) override;
    void BindField(QObject& control, const QString& propertyName, const QString& fieldName,
                   const QVariant& dataFormat) override;
    void UnbindField(const QString& fieldName) override;
    std::shared_ptr<LookupList> GetLookup(const QString& listName, const QVariant& filter,
                                          bool third) override;
    bool IsNew() const override { return m_isNew; }
    bool IsChanged(int argument) const override;

    int32_t ID() const override { return m_id; }
    QString ScientificName() const override { return text("ScientificName"); }
    QString FormattedScientificName() const override { return text("FormattedScientificName"); }
    QString AuthorName() const override { return text("AuthorName"); }
    QVariant DNameCategoryId() const override { return value("DNameCategoryId"); }
    QVariant DClassificationLevelId() const override { return value("DClassificationLevelId"); }
    QString PlaceholderNameIndicator() const override { return text("PlaceholderNameIndicator"); }
    QVariant NomenclaturallyEstablishedId() const override { return value("NomenclaturallyEstSnId"); }
    QVariant OrgUnit() const override { return value("OrgUnitId"); }
    QVariant KeyNumber() const override { return value("KeyNumber"); }

    void SetScientificName(const QString& plainText) override { setValue("ScientificName", plainText); }
    void SetFormattedScientificName(const QString& text) override
    {
        setValue("FormattedScientificName", text);
    }
    void SetAuthorName(const QString& author) override { setValue("AuthorName", author); }
    void SetPlaceholderNameIndicator(const QString& yesOrNo) override
    {
        setValue("PlaceholderNameIndicator", yesOrNo);
    }
    void SetNomenclaturallyEstablishedId(const QVariant& id) override;
    void SetOrgUnit(const QVariant& orgUnit) override { setValue("OrgUnitId", orgUnit); }
    void SetCreatedBy(const QString& userName) override { setValue("RecCreateUser", userName); }
    void SetLastModifiedBy(const QString& userName) override { setValue("RecLastModUser", userName); }
    QVariant Field(const QString& fieldName) const override { return value(fieldName); }
    void SetField(const QString& fieldName, const QVariant& value) override { setValue(fieldName, value); }

    QString PropertyDescription() const override;
    void SetModifiedBy(const QString& userName) override;
    bool Save() override;
    std::shared_ptr<bryx::ReferenceLinks> ReferenceLinks() override;
    void Release() override;

    // The value of a field by name; throws Error 3265 for a name the record does not have.
    QVariant value(const QString& fieldName) const;
    void setValue(const QString& fieldName, const QVariant& value);
    // Why the last Save answered False ("" after a successful one).
    const QString& lastRefusal() const { return m_lastRefusal; }
    // Told why, each time Save refuses; the host shows it to the user.
    void setRefusalReporter(std::function<void(const QString&)> reporter)
    {
        m_refusalReporter = std::move(reporter);
    }

private:
    QString text(const QString& fieldName) const { return value(fieldName).toString(); }
    Database& database() const;
    QString checkedField(const QString& fieldName) const;
    QString validate() const;
    bool codeExists(const QString& table, const QString& keyColumn, const QVariant& key) const;
    void reportRefusal() const;

    std::shared_ptr<Database> m_db;
    int32_t m_id = 0;
    int32_t m_rowVersion = 0;
    bool m_isNew = false;
    QVariantMap m_values; // by field name
    QVariantMap m_original;
    QString m_modifiedBy;
    QString m_lastRefusal;
    std::function<void(const QString&)> m_refusalReporter;
    std::vector<std::pair<QString, std::unique_ptr<FieldBinding>>> m_bindings;
    std::shared_ptr<SqlReferenceLinks> m_links;
};

// The record's fields and the columns that hold them.
struct RecordField {
    const char* field;
    const char* column;
};
extern const RecordField ScientificNameFields[];
extern const size_t ScientificNameFieldCount;

} // namespace bryx::host
