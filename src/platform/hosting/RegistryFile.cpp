#include "RegistryFile.h"

#include "error/Error.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace bryx {

namespace {
QString group(const char* kind, const QString& key)
{
    return QLatin1String(kind) + QLatin1Char('/') + key;
}

void check(QSettings& settings, const QString& path)
{
    settings.sync();
    if (settings.status() != QSettings::NoError)
        throw Error(ErrorNumber::IllegalOperation,
                    QStringLiteral("The component registry %1 cannot be written").arg(path));
}
} // namespace

QString RegistryFile::defaultPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
        + QStringLiteral("/bryx/components.ini");
}

RegistryFile::RegistryFile(QString path)
    : m_path(std::move(path))
{
}

void RegistryFile::registerLibrary(const LibraryRegistration& library)
{
    QDir().mkpath(QFileInfo(m_path).absolutePath());
    QSettings settings(m_path, QSettings::IniFormat);
    settings.beginGroup(group("TypeLib", library.typeLibraryId));
    settings.setValue(QStringLiteral("Name"), library.typeLibraryName);
    settings.setValue(QStringLiteral("HelpString"), library.helpString);
    settings.setValue(QStringLiteral("Version"), library.typeLibraryVersion);
    settings.setValue(QStringLiteral("Locale"),
                      QStringLiteral("0x%1").arg(library.locale, 4, 16, QLatin1Char('0')));
    settings.setValue(QStringLiteral("FileVersion"), library.fileVersion);
    settings.setValue(QStringLiteral("Path"), library.libraryPath);
    settings.endGroup();
    for (const auto& each : library.classes) {
        settings.beginGroup(group("ProgID", each.progId));
        settings.setValue(QStringLiteral("CLSID"), each.classId);
        settings.endGroup();
        settings.beginGroup(group("CLSID", each.classId));
        settings.setValue(QStringLiteral("ProgID"), each.progId);
        settings.setValue(QStringLiteral("InprocServer"), library.libraryPath);
        settings.setValue(QStringLiteral("TypeLib"), library.typeLibraryId);
        settings.setValue(QStringLiteral("Version"), library.fileVersion);
        settings.endGroup();
        for (const auto& [name, id] :
             {std::pair {each.interfaceName, each.interfaceId}, std::pair {each.eventsName, each.eventsId}}) {
            settings.beginGroup(group("Interface", id));
            settings.setValue(QStringLiteral("Name"), name);
            settings.setValue(QStringLiteral("TypeLib"), library.typeLibraryId);
            settings.endGroup();
        }
    }
    check(settings, m_path);
}

void RegistryFile::unregisterLibrary(const LibraryRegistration& library)
{
    if (!QFileInfo::exists(m_path))
        return;
    QSettings settings(m_path, QSettings::IniFormat);
    settings.remove(group("TypeLib", library.typeLibraryId));
    for (const auto& each : library.classes) {
        settings.remove(group("ProgID", each.progId));
        settings.remove(group("CLSID", each.classId));
        settings.remove(group("Interface", each.interfaceId));
        settings.remove(group("Interface", each.eventsId));
    }
    check(settings, m_path);
}

QString RegistryFile::classIdOf(const QString& progId) const
{
    return QSettings(m_path, QSettings::IniFormat)
        .value(group("ProgID", progId) + QStringLiteral("/CLSID"))
        .toString();
}

QString RegistryFile::libraryOf(const QString& classId) const
{
    return QSettings(m_path, QSettings::IniFormat)
        .value(group("CLSID", classId) + QStringLiteral("/InprocServer"))
        .toString();
}

} // namespace bryx
