#include "ComponentRegistry.h"

#include "UserControl.h"
#include "error/Error.h"

namespace bryx {

ComponentRegistry& ComponentRegistry::instance()
{
    static ComponentRegistry registry;
    return registry;
}

void ComponentRegistry::add(ComponentClass componentClass)
{
    const QString key = componentClass.progId.toLower();
    m_byProgId.insert(key, std::move(componentClass));
}

void ComponentRegistry::remove(const QString& progId)
{
    m_byProgId.remove(progId.toLower());
}

const ComponentClass* ComponentRegistry::byProgId(const QString& progId) const
{
    const auto it = m_byProgId.constFind(progId.toLower());
    return it == m_byProgId.constEnd() ? nullptr : &*it;
}

const ComponentClass* ComponentRegistry::byClassId(const QString& classId) const
{
    for (const ComponentClass& each : m_byProgId) {
        if (each.classId.compare(classId, Qt::CaseInsensitive) == 0)
            return &each;
    }
    return nullptr;
}

UserControl* ComponentRegistry::create(const QString& progId, QWidget* parent) const
{
    const ComponentClass* componentClass = byProgId(progId);
    if (!componentClass)
        throw Error(
            ErrorNumber::CannotCreateObject,
            QStringLiteral("Component \"%1\" can't be created: no component of that ProgID is registered")
                .arg(progId));
    return componentClass->create(parent);
}

} // namespace bryx
