#pragma once

#include "contracts/ClientComponents.h"

#include <memory>
#include <vector>

namespace bryx::host {

class Database;

// "ClientFramework.ComponentCollection" of the reference host: a collection of client objects
// of the kind its client ProgID names, filled by a finder or a relation, saved in one
// transaction.
class ClientCollection : public ComponentCollection {
public:
    enum class Kind { None, UserOptions, OptionCategories, References, AuditComments };

    ClientCollection() = default;
    ~ClientCollection() override;

    void Initialize(const QString& clientProgId, const QString& serverName, int32_t serverType) override;
    bool Find(const QString& finderName, const QStringList& parameters, const QVariant& second,
              const QVariant& third, const QVariant& fourth) override;
    bool Load(const QString& relationName, const QVariant& key, const QVariant& second, const QVariant& third,
              const QVariant& fourth) override;
    int Count() const override { return int(m_items.size()); }
    std::shared_ptr<ClientObject> Item(int index) const override;
    std::shared_ptr<ClientObject> ItemByKey(const QString& key) const override;
    std::vector<std::shared_ptr<ClientObject>> Items() const override { return m_items; }
    std::shared_ptr<ClientObject> FindItem(const QString& criteria) const override;
    void Add(std::shared_ptr<ClientObject> item, const QString& key) override;
    void Remove(int index) override;
    bool Save() override;

    // A category's option collection: options added to it are saved into that category.
    void attachToCategory(int32_t categoryId) { m_categoryId = categoryId; }
    void initializeForKind(Kind kind, const QString& serverName, int32_t serverType);
    // Writes the collection's changes inside a transaction its owner opened.
    void saveWithin(Database& db);

private:
    Database& database();

    Kind m_kind = Kind::None;
    QString m_serverName;
    int32_t m_serverType = 0;
    std::unique_ptr<Database> m_db;
    int32_t m_categoryId = 0;
    std::vector<std::shared_ptr<ClientObject>> m_items;
    std::vector<QString> m_keys;
    std::vector<std::shared_ptr<ClientObject>> m_removed;
};

// Registers the client ProgIDs of the reference host with the object registry.
void registerClientComponents();

} // namespace bryx::host
