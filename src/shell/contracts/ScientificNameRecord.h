#pragma once

#include "AppManager.h"
#include "registry/ObjectRegistry.h"

#include <QObject>
#include <QString>
#include <QVariant>
#include <cstdint>
#include <memory>

namespace bryx {

inline constexpr const char* DataFrameworkProgId = "BRYX_DataFramework.DataFramework";

// A code list of the data framework ("NameCategory", "ClassificationLevel",
// "NomenclaturallyEst"); rows are counted from 1.
class LookupList {
public:
    virtual ~LookupList() = default;
    virtual int Count() const = 0;
    // The named column of the row whose key equals `key`; null when no row has that key.
    virtual QVariant ValueForKey(const QVariant& key, const QString& column) const = 0;
    // The named column of a row.
    virtual QVariant Value(int row, const QString& column) const = 0;
    // The key of a row: the value a bound combo stores for it.
    virtual QVariant Key(int row) const = 0;
    // Appends an empty row and answers its number.
    virtual int AddRow() = 0;
    virtual void SetValue(int row, const QString& column, const QVariant& value) = 0;
};

// One reference link of a scientific name: a child row that cites a reference.
class ReferenceLink {
public:
    virtual ~ReferenceLink() = default;
    virtual QVariant Field(const QString& name) const = 0;
    virtual void SetField(const QString& name, const QVariant& value) = 0;
    virtual bool IsNew() const = 0;
    virtual bool IsChanged() const = 0;
    // Marks the link for deletion; the next Save removes it.
    virtual void Delete() = 0;
    virtual bool Save() = 0;
};

// The reference links of a record, counted from 1; Add appends a new link as the last item.
class ReferenceLinks {
public:
    virtual ~ReferenceLinks() = default;
    virtual int Count() const = 0;
    virtual std::shared_ptr<ReferenceLink> Item(int index) const = 0;
    // The first link matching "FieldName = value"; null when none does.
    virtual std::shared_ptr<ReferenceLink> Find(const QString& criteria) const = 0;
    virtual std::shared_ptr<ReferenceLink> Add() = 0;
};

// One scientific name record of the host's data framework. Connect precedes every other call;
// bound controls show fields and write edits back; Save stores the record or answers false
// and stores nothing.
class ScientificNameRecord {
public:
    virtual ~ScientificNameRecord() = default;

    virtual void Connect(const QString& serverName, int32_t serverType) = 0;
    virtual bool Retrieve(const QVariant& id, const QVariant& second, const QVariant& third) = 0;
    // Starts an unsaved record (first argument false, second omitted) and hands out its ID at once.
    virtual void NewRecord(const QVariant& first, const QVariant& second) = 0;

    virtual void BindField(QObject& control, const QString& propertyName, const QString& fieldName,
                           const QVariant& dataFormat) = 0;
    // Drops the binding of one field; an empty name drops every binding.
    virtual void UnbindField(const QString& fieldName) = 0;
    virtual std::shared_ptr<LookupList> GetLookup(const QString& listName, const QVariant& filter,
                                                  bool third) = 0;

    virtual bool IsNew() const = 0;
    virtual bool IsChanged(int argument) const = 0;

    virtual int32_t ID() const = 0;
    virtual QString ScientificName() const = 0;
    virtual QString FormattedScientificName() const = 0;
    virtual QString AuthorName() const = 0;
    virtual QVariant DNameCategoryId() const = 0;
    virtual QVariant DClassificationLevelId() const = 0;
    virtual QString PlaceholderNameIndicator() const = 0;
    virtual QVariant NomenclaturallyEstablishedId() const = 0;
    virtual QVariant OrgUnit() const = 0;
    virtual QVariant KeyNumber() const = 0;

    virtual void SetScientificName(const QString& plainText) = 0;
    virtual void SetFormattedScientificName(const QString& formattedText) = 0;
    virtual void SetAuthorName(const QString& author) = 0;
    virtual void SetPlaceholderNameIndicator(const QString& yesOrNo) = 0;
    // A 32-bit ID, or the empty text for none.
    virtual void SetNomenclaturallyEstablishedId(const QVariant& id) = 0;
    virtual void SetOrgUnit(const QVariant& orgUnit) = 0;
    virtual void SetCreatedBy(const QString& userName) = 0;
    virtual void SetLastModifiedBy(const QString& userName) = 0;
    // The further fields a copy carries, by field name.
    virtual QVariant Field(const QString& fieldName) const = 0;
    virtual void SetField(const QString& fieldName, const QVariant& value) = 0;

    // XML in which "BRYX/COMPONENT_PROPERTIES/<field>" leads to an element whose first child's
    // text is "table.column".
    virtual QString PropertyDescription() const = 0;
    virtual void SetModifiedBy(const QString& userName) = 0;
    virtual bool Save() = 0;
    virtual std::shared_ptr<bryx::ReferenceLinks> ReferenceLinks() = 0;
    virtual void Release() = 0;
};

// Companion of a record that keeps data of its own for the record shown.
class RecordExtension {
public:
    virtual ~RecordExtension() = default;
    virtual void Initialize(int32_t userId, std::shared_ptr<AppManager> appManager) = 0;
    virtual void Attach(QObject& component, const QString& componentName, const ControlList& controls) = 0;
    virtual void RecordShown(QObject& component, const QString& componentName, const ControlList& controls,
                             int32_t recordId) = 0;
    virtual bool IsChanged() const = 0;
    virtual bool Save(int32_t recordId, QObject& component, const QString& componentName,
                      const ControlList& controls) = 0;
    virtual void AcceptSaved() = 0;
};

// Runs one statement for the details editor.
class QueryObject {
public:
    virtual ~QueryObject() = default;
    virtual void Connect(const QString& serverName, int32_t serverType) = 0;
    virtual std::shared_ptr<Recordset> Run(const QString& sql) = 0;
};

// Creates the data framework's objects; the details editor owns what it creates. The host
// registers it by ProgID (DataFrameworkProgId) and the editor creates it by that name.
class DataFramework : public CreatableObject {
public:
    virtual ~DataFramework() = default;
    virtual std::unique_ptr<ScientificNameRecord> CreateScientificNameRecord() = 0;
    virtual std::unique_ptr<bryx::RecordExtension> CreateRecordExtension() = 0;
    virtual std::unique_ptr<bryx::QueryObject> CreateQueryObject() = 0;
};

} // namespace bryx
