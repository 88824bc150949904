#pragma once

#include <QLibrary>
#include <QString>

class QWidget;

namespace bryx {

class UserControl;

// A component library loaded at run time by path, as a host loads the library that a ProgID
// is registered to: its entry points are found by name, and components are created through
// DllGetClassObject with the class identifier the registry file records for the ProgID.
class ComponentLibrary {
public:
    // Throws Error 429 when the file cannot be loaded or lacks the entry points.
    explicit ComponentLibrary(const QString& path);

    int registerServer();
    int unregisterServer();
    bool canUnloadNow();
    // Throws Error 429 when the ProgID is not registered or the library has no such class.
    UserControl* create(const QString& progId, QWidget* parent, const QString& registryPath) const;

private:
    using StatusFunction = int (*)();
    using ClassObjectFunction = int (*)(const char*, const void**);

    QLibrary m_library;
    StatusFunction m_register = nullptr;
    StatusFunction m_unregister = nullptr;
    StatusFunction m_canUnload = nullptr;
    ClassObjectFunction m_classObject = nullptr;
};

} // namespace bryx
