#include "registration/EntryPoints.h"

#include "ScientificSearch.h"
#include "core/ScientificDetails.h"
#include "hosting/ComponentRegistry.h"
#include "hosting/UserControl.h"
#include "registration/Identities.h"

#include <QDebug>

using namespace bryx;
using namespace bryx::registration;

namespace {

// Loading the library makes its components creatable by ProgID; unloading withdraws them.
struct LibraryComponents {
    LibraryComponents()
    {
        ScientificSearch::registerClass();
        ScientificDetails::registerClass();
    }
    ~LibraryComponents()
    {
        ComponentRegistry::instance().remove(QLatin1String(SearchProgId));
        ComponentRegistry::instance().remove(QLatin1String(DetailsProgId));
    }
};
const LibraryComponents libraryComponents;

} // namespace

extern "C" {

__attribute__((visibility("default"))) int DllRegisterServer()
{
    try {
        RegistryFile().registerLibrary(libraryRegistration(thisLibraryPath()));
        return S_Ok;
    } catch (const std::exception& error) {
        qWarning("DllRegisterServer: %s", error.what());
        return E_Fail;
    }
}

__attribute__((visibility("default"))) int DllUnregisterServer()
{
    try {
        RegistryFile().unregisterLibrary(libraryRegistration(thisLibraryPath()));
        return S_Ok;
    } catch (const std::exception& error) {
        qWarning("DllUnregisterServer: %s", error.what());
        return E_Fail;
    }
}

__attribute__((visibility("default"))) int DllGetClassObject(const char* classId, const void** factory)
{
    if (!classId || !factory)
        return E_Fail;
    const ComponentClass* componentClass =
        ComponentRegistry::instance().byClassId(QString::fromLatin1(classId));
    *factory = componentClass;
    return componentClass ? S_Ok : ClassNotAvailable;
}

__attribute__((visibility("default"))) int DllCanUnloadNow()
{
    return UserControl::liveCount() == 0 ? S_Ok : S_False;
}

} // extern "C"
