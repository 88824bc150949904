#include "UserOptionStore.h"

#include "contracts/ClientComponents.h"
#include "error/Error.h"

namespace bryx {

UserOptionStore::UserOptionStore(QString serverName, int32_t serverType)
    : m_serverName(std::move(serverName))
    , m_serverType(serverType)
{
}

std::shared_ptr<ComponentCollection> UserOptionStore::connected(const char* clientProgId) const
{
    auto collection = CreateObject<ComponentCollection>(QLatin1String(CollectionProgId));
    collection->Initialize(QLatin1String(clientProgId), m_serverName, m_serverType);
    return collection;
}

std::shared_ptr<ComponentCollection> UserOptionStore::findOptions(const QString& finderName,
                                                                  const QStringList& parameters) const
{
    auto options = connected(OptionClientProgId);
    if (!options->Find(finderName, parameters, -1, -1, -1))
        return nullptr;
    return options;
}

bool UserOptionStore::addOption(const QString& category, const QString& name, const QString& value,
                                int32_t userId) const
{
    auto option = CreateObject<UserOption>(QLatin1String(OptionClientProgId));
    option->Connect(m_serverName, m_serverType);
    option->NewRecord(-1, QVariant());
    option->SetName(name);
    option->SetValue(value);
    option->SetUserID(userId);

    auto categories = connected(CategoryClientProgId);
    if (!categories->Find(QStringLiteral("User_Option_Category_Name"), {category}, -1, -1, -1)
        || categories->Count() < 1)
        return false;
    auto found = std::dynamic_pointer_cast<UserOptionCategory>(categories->Item(1));
    if (!found)
        throw Error(
            ErrorNumber::TypeMismatch,
            QStringLiteral("The option category \"%1\" is not an option category object").arg(category));
    found->Options()->Add(option, {});
    if (!categories->Save())
        throw Error(ErrorNumber::Unexpected,
                    QStringLiteral("The option store did not save the new option \"%1\"").arg(name));
    return true;
}

} // namespace bryx
