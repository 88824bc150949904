#pragma once

#include "registry/ObjectRegistry.h"

#include <QString>
#include <QStringList>
#include <QVariant>
#include <cstdint>
#include <memory>
#include <vector>

namespace bryx {

// Sibling client components of the application, reached through a component collection
// ("ClientFramework.ComponentCollection") connected to one client ProgID.

class ClientObject : public CreatableObject { };

class ComponentCollection;

// A user option: one text value stored per category, name and user.
class UserOption : public ClientObject {
public:
    virtual void Connect(const QString& serverName, int32_t serverType) = 0;
    // Prepares a new record (called with -1 and an omitted argument).
    virtual void NewRecord(const QVariant& first, const QVariant& second) = 0;
    virtual QString Name() const = 0;
    virtual void SetName(const QString& name) = 0;
    virtual QString Value() const = 0;
    virtual void SetValue(const QString& value) = 0;
    virtual void SetUserID(int32_t userId) = 0;
};

// A user option category; options can only be created inside an existing category.
class UserOptionCategory : public ClientObject {
public:
    virtual std::shared_ptr<ComponentCollection> Options() = 0;
};

// A literature reference as the reference client answers it.
class Reference : public ClientObject {
public:
    virtual int32_t ID() const = 0;
    virtual QString ReferenceCode() const = 0;
    virtual QString FullCitation() const = 0;
};

// A comment on one logged audit column.
class AuditComment : public ClientObject {
public:
    virtual void Connect(const QString& serverName, int32_t serverType) = 0;
    virtual bool Load(int32_t auditColumnId) = 0;
    virtual QString Comment() const = 0;
    virtual void SetComment(const QString& comment) = 0;
};

// A collection of client objects of one kind, filled by a named finder or relation;
// items are counted from 1.
class ComponentCollection : public CreatableObject {
public:
    virtual void Initialize(const QString& clientProgId, const QString& serverName, int32_t serverType) = 0;
    // Runs a finder (names matched without regard to case) with its parameter values; the
    // three trailing arguments are passed as -1. True when the lookup itself succeeded.
    virtual bool Find(const QString& finderName, const QStringList& parameters, const QVariant& second,
                      const QVariant& third, const QVariant& fourth) = 0;
    // Fills the collection through a relation ("ScientificName_References", "Empty").
    virtual bool Load(const QString& relationName, const QVariant& key, const QVariant& second,
                      const QVariant& third, const QVariant& fourth) = 0;

    virtual int Count() const = 0;
    virtual std::shared_ptr<ClientObject> Item(int index) const = 0;
    virtual std::shared_ptr<ClientObject> ItemByKey(const QString& key) const = 0;
    virtual std::vector<std::shared_ptr<ClientObject>> Items() const = 0;
    // The first item matching "FieldName = value"; null when none does.
    virtual std::shared_ptr<ClientObject> FindItem(const QString& criteria) const = 0;
    virtual void Add(std::shared_ptr<ClientObject> item, const QString& key) = 0;
    virtual void Remove(int index) = 0;
    // Commits the collection's changes; true on success.
    virtual bool Save() = 0;
};

} // namespace bryx
