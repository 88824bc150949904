#pragma once

#include "error/Error.h"

#include <QHash>
#include <QString>
#include <functional>
#include <memory>

namespace bryx {

// Base of every object that can be created by ProgID.
class CreatableObject {
public:
    virtual ~CreatableObject() = default;
};

// Creates objects by ProgID ("ClientFramework.ComponentCollection"), matched without regard to
// case. Hosts register the classes they provide; components create them by name, as they would
// through the desktop's component runtime.
class ObjectRegistry {
public:
    using Factory = std::function<std::shared_ptr<CreatableObject>()>;

    // The registry in use; one per process.
    static ObjectRegistry& instance();

    void registerClass(const QString& progId, Factory factory);
    void unregisterClass(const QString& progId);
    bool isRegistered(const QString& progId) const;

    // Throws Error 429 when no class of that ProgID is registered or it is not a T.
    template<typename T> std::shared_ptr<T> create(const QString& progId) const
    {
        auto object = std::dynamic_pointer_cast<T>(createObject(progId));
        if (!object)
            throw Error(
                ErrorNumber::CannotCreateObject,
                QStringLiteral("Component \"%1\" can't be created: it does not offer the interface asked for")
                    .arg(progId));
        return object;
    }

private:
    std::shared_ptr<CreatableObject> createObject(const QString& progId) const;

    QHash<QString, Factory> m_factories; // keyed by the lower-case ProgID
};

// CreateObject("ProgID") as component code writes it.
template<typename T> std::shared_ptr<T> CreateObject(const QString& progId)
{
    return ObjectRegistry::instance().create<T>(progId);
}

} // namespace bryx
