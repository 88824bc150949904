#include "ComponentLibrary.h"

#include "ComponentRegistry.h"
#include "RegistryFile.h"
#include "error/Error.h"

namespace bryx {

ComponentLibrary::ComponentLibrary(const QString& path)
    : m_library(path)
{
    if (!m_library.load())
        throw Error(
            ErrorNumber::CannotCreateObject,
            QStringLiteral("Component library %1 cannot be loaded: %2").arg(path, m_library.errorString()));
    m_register = reinterpret_cast<StatusFunction>(m_library.resolve("DllRegisterServer"));
    m_unregister = reinterpret_cast<StatusFunction>(m_library.resolve("DllUnregisterServer"));
    m_canUnload = reinterpret_cast<StatusFunction>(m_library.resolve("DllCanUnloadNow"));
    m_classObject = reinterpret_cast<ClassObjectFunction>(m_library.resolve("DllGetClassObject"));
    if (!m_register || !m_unregister || !m_canUnload || !m_classObject)
        throw Error(ErrorNumber::CannotCreateObject,
                    QStringLiteral("%1 is not a component library: its entry points are missing").arg(path));
}

int ComponentLibrary::registerServer()
{
    return m_register();
}

int ComponentLibrary::unregisterServer()
{
    return m_unregister();
}

bool ComponentLibrary::canUnloadNow()
{
    return m_canUnload() == 0;
}

UserControl* ComponentLibrary::create(const QString& progId, QWidget* parent,
                                      const QString& registryPath) const
{
    const QString classId = RegistryFile(registryPath).classIdOf(progId);
    if (classId.isEmpty())
        throw Error(ErrorNumber::CannotCreateObject,
                    QStringLiteral("Component \"%1\" is not registered").arg(progId));
    const void* factory = nullptr;
    if (m_classObject(classId.toLatin1().constData(), &factory) != 0 || !factory)
        throw Error(
            ErrorNumber::CannotCreateObject,
            QStringLiteral("Component \"%1\" (%2) is registered but its library does not offer it yet")
                .arg(progId, classId));
    return static_cast<const ComponentClass*>(factory)->create(parent);
}

} // namespace bryx
