#pragma once

#include <QString>
#include <QStringList>
#include <vector>

namespace bryx {

// What a component library records about itself when it registers.
struct LibraryRegistration {
    struct Class {
        QString progId;
        QString classId;
        QString interfaceName;
        QString interfaceId;
        QString eventsName;
        QString eventsId;
    };
    QString typeLibraryId;
    QString typeLibraryName;
    QString helpString;
    QString typeLibraryVersion; // "1.0"
    int locale = 0x0409;
    QString fileVersion; // "2.03.0007"
    QString libraryPath;
    std::vector<Class> classes;
};

// The per-user registry of component libraries, an INI file in the XDG config folder
// ($XDG_CONFIG_HOME/bryx/components.ini). Registering writes exactly the library's entries;
// unregistering removes exactly those and leaves every other library's entries alone.
class RegistryFile {
public:
    static QString defaultPath();
    explicit RegistryFile(QString path = defaultPath());

    void registerLibrary(const LibraryRegistration& library);
    void unregisterLibrary(const LibraryRegistration& library);

    // The class identifier and library path recorded for a ProgID (empty when unknown).
    QString classIdOf(const QString& progId) const;
    QString libraryOf(const QString& classId) const;

private:
    QString m_path;
};

} // namespace bryx
