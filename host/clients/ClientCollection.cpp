#include "ClientCollection.h"

#include "ClientObjects.h"
#include "components/ReferenceSearch.h"
#include "data/SqlDataFramework.h"
#include "db/Database.h"
#include "db/SqlText.h"
#include "error/Error.h"
#include "registry/ObjectRegistry.h"
#include "services/MessageBox.h"
#include "services/ServerRegistry.h"

#include <QSqlError>
#include <QSqlQuery>

namespace bryx::host {

namespace {

SqlClientObject& sqlObject(const std::shared_ptr<ClientObject>& item)
{
    auto* object = dynamic_cast<SqlClientObject*>(item.get());
    if (!object)
        throw Error(ErrorNumber::TypeMismatch,
                    QStringLiteral("The item was not made by this host's clients"));
    return *object;
}

// The finders receive names with their quotes doubled, as they once went into SQL text.
QString unescapeQuotes(QString text)
{
    return text.replace(QLatin1String("''"), QLatin1String("'"));
}

} // namespace

ClientCollection::~ClientCollection() = default;

void ClientCollection::Initialize(const QString& clientProgId, const QString& serverName, int32_t serverType)
{
    const QString id = clientProgId.toLower();
    Kind kind = Kind::None;
    if (id == QLatin1String("bryx_useroptclient.useroptclient"))
        kind = Kind::UserOptions;
    else if (id == QLatin1String("bryx_useropcatclient.useropcatclient"))
        kind = Kind::OptionCategories;
    else if (id == QLatin1String("bryx_referenceclient.refclient"))
        kind = Kind::References;
    else if (id == QLatin1String("bryx_auditlogclient.cauditlog"))
        kind = Kind::AuditComments;
    else
        throw Error(ErrorNumber::CannotCreateObject,
                    QStringLiteral("Client \"%1\" is not one this host provides").arg(clientProgId));
    initializeForKind(kind, serverName, serverType);
}

void ClientCollection::initializeForKind(Kind kind, const QString& serverName, int32_t serverType)
{
    m_kind = kind;
    m_serverName = serverName;
    m_serverType = serverType;
    m_db.reset();
    m_items.clear();
    m_keys.clear();
    m_removed.clear();
}

Database& ClientCollection::database()
{
    if (m_kind == Kind::None)
        throw Error(ErrorNumber::ObjectClosed, QStringLiteral("The client collection was not initialised"));
    if (!m_db)
        m_db = std::make_unique<Database>(ServerRegistry::lookup(m_serverName), Database::Access::ReadWrite);
    return *m_db;
}

bool ClientCollection::Find(const QString& finderName, const QStringList& parameters, const QVariant&,
                            const QVariant&, const QVariant&)
{
    const QString finder = finderName.toLower();
    QString sql;
    QVariantList bindings;
    if (m_kind == Kind::UserOptions && finder == QLatin1String("category_option_name")
        && parameters.size() == 3) {
        sql = QStringLiteral(
            "SELECT o.user_option_id, o.user_option_category_id, o.option_name, o.user_id, "
            "o.option_value FROM user_option o JOIN user_option_category c ON "
            "c.user_option_category_id = o.user_option_category_id WHERE c.category_name = ? AND "
            "o.option_name = ? AND o.user_id = ?");
        bindings = {parameters[0], unescapeQuotes(parameters[1]), parameters[2].toInt()};
    } else if (m_kind == Kind::UserOptions && finder == QLatin1String("category_options")
               && parameters.size() == 2) {
        sql = QStringLiteral(
            "SELECT o.user_option_id, o.user_option_category_id, o.option_name, o.user_id, "
            "o.option_value FROM user_option o JOIN user_option_category c ON "
            "c.user_option_category_id = o.user_option_category_id WHERE c.category_name = ? AND "
            "o.user_id = ? ORDER BY o.option_name");
        bindings = {parameters[0], parameters[1].toInt()};
    } else if (m_kind == Kind::OptionCategories && finder == QLatin1String("user_option_category_name")
               && parameters.size() == 1) {
        sql = QStringLiteral("SELECT user_option_category_id, category_name FROM user_option_category "
                             "WHERE category_name = ?");
        bindings = {parameters[0]};
    } else {
        return false;
    }
    QSqlQuery query(database().sql());
    query.prepare(sql);
    for (const QVariant& value : std::as_const(bindings))
        query.addBindValue(value);
    if (!query.exec())
        return false;
    m_items.clear();
    m_keys.clear();
    m_removed.clear();
    while (query.next()) {
        if (m_kind == Kind::UserOptions)
            m_items.push_back(std::make_shared<SqlUserOption>(
                query.value(0).toInt(), query.value(1).toInt(), query.value(2).toString(),
                query.value(3).toInt(), query.value(4).toString()));
        else
            m_items.push_back(std::make_shared<SqlUserOptionCategory>(
                query.value(0).toInt(), query.value(1).toString(), m_serverName, m_serverType));
        m_keys.emplace_back();
    }
    return true;
}

bool ClientCollection::Load(const QString& relationName, const QVariant& key, const QVariant&,
                            const QVariant&, const QVariant&)
{
    m_items.clear();
    m_keys.clear();
    m_removed.clear();
    if (relationName.compare(QLatin1String("Empty"), Qt::CaseInsensitive) == 0)
        return true;
    if (m_kind != Kind::References
        || relationName.compare(QLatin1String("ScientificName_References"), Qt::CaseInsensitive) != 0)
        return false;
    QSqlQuery query(database().sql());
    query.prepare(
        QStringLiteral("SELECT r.reference_id, r.reference_code, r.full_citation FROM reference r JOIN "
                       "scientific_name_reference l ON l.reference_id = r.reference_id WHERE "
                       "l.scientific_name_id = ? ORDER BY l.display_order, r.reference_code"));
    query.addBindValue(key.toInt());
    if (!query.exec())
        return false;
    while (query.next()) {
        m_items.push_back(std::make_shared<SqlReference>(query.value(0).toInt(), query.value(1).toString(),
                                                         query.value(2).toString()));
        m_keys.push_back(query.value(0).toString());
    }
    return true;
}

std::shared_ptr<ClientObject> ClientCollection::Item(int index) const
{
    if (index < 1 || index > Count())
        throw Error(ErrorNumber::SubscriptOutOfRange,
                    QStringLiteral("Item(%1): the collection holds %2 item(s)").arg(index).arg(Count()));
    return m_items[size_t(index - 1)];
}

std::shared_ptr<ClientObject> ClientCollection::ItemByKey(const QString& key) const
{
    for (size_t i = 0; i < m_keys.size(); ++i) {
        if (m_keys[i].compare(key, Qt::CaseInsensitive) == 0)
            return m_items[i];
    }
    throw Error(ErrorNumber::InvalidProcedureCall, QStringLiteral("No item has the key \"%1\"").arg(key));
}

std::shared_ptr<ClientObject> ClientCollection::FindItem(const QString& criteria) const
{
    const auto [field, value] = splitFieldCriteria(criteria, QStringLiteral("FindItem"));
    for (const auto& item : m_items) {
        if (sqlObject(item).fieldValue(field).toString().compare(value, Qt::CaseInsensitive) == 0)
            return item;
    }
    return nullptr;
}

void ClientCollection::Add(std::shared_ptr<ClientObject> item, const QString& key)
{
    sqlObject(item);
    if (auto* option = dynamic_cast<SqlUserOption*>(item.get()); option && m_categoryId != 0)
        option->setCategoryId(m_categoryId);
    m_items.push_back(std::move(item));
    m_keys.push_back(key);
}

void ClientCollection::Remove(int index)
{
    const auto item = Item(index);
    m_removed.push_back(item);
    m_items.erase(m_items.begin() + (index - 1));
    m_keys.erase(m_keys.begin() + (index - 1));
}

bool ClientCollection::Save()
{
    Database& db = database();
    db.transaction([&] { saveWithin(db); });
    return true;
}

void ClientCollection::saveWithin(Database& db)
{
    for (const auto& item : m_removed)
        sqlObject(item).remove(db);
    m_removed.clear();
    for (const auto& item : m_items)
        sqlObject(item).save(db);
}

void registerClientComponents()
{
    ObjectRegistry& registry = ObjectRegistry::instance();
    registry.registerClass(QStringLiteral("ClientFramework.ComponentCollection"),
                           [] { return std::make_shared<ClientCollection>(); });
    registry.registerClass(QStringLiteral("BRYX_UserOptClient.UserOptClient"),
                           [] { return std::make_shared<SqlUserOption>(); });
    registry.registerClass(QStringLiteral("BRYX_AuditLogClient.cAuditLog"),
                           [] { return std::make_shared<SqlAuditComment>(); });
    // The application's reference search, which the details editor runs to add references.
    ReferenceSearch::registerClass();
    // The details editor makes its records, companions and query objects through this one.
    registry.registerClass(QLatin1String(DataFrameworkProgId), [] {
        return std::make_shared<SqlDataFramework>([](const QString& why) {
            MsgBox(QStringLiteral("The scientific name was not saved: %1.").arg(why),
                   MsgBoxStyle::Exclamation, QStringLiteral("Save Scientific Name"));
        });
    });
}

} // namespace bryx::host
