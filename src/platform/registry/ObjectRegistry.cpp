#include "ObjectRegistry.h"

namespace bryx {

ObjectRegistry& ObjectRegistry::instance()
{
    static ObjectRegistry registry;
    return registry;
}

void ObjectRegistry::registerClass(const QString& progId, Factory factory)
{
    m_factories.insert(progId.toLower(), std::move(factory));
}

void ObjectRegistry::unregisterClass(const QString& progId)
{
    m_factories.remove(progId.toLower());
}

bool ObjectRegistry::isRegistered(const QString& progId) const
{
    return m_factories.contains(progId.toLower());
}

std::shared_ptr<CreatableObject> ObjectRegistry::createObject(const QString& progId) const
{
    const auto it = m_factories.constFind(progId.toLower());
    if (it == m_factories.constEnd())
        throw Error(ErrorNumber::CannotCreateObject,
                    QStringLiteral("Component \"%1\" can't be created: no class of that ProgID is registered")
                        .arg(progId));
    return (*it)();
}

} // namespace bryx
