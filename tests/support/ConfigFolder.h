#pragma once

#include <QByteArray>
#include <QTemporaryDir>

namespace bryx::test {

// Points the per-user configuration (the component registry file, saved settings) at a fresh
// folder for the life of the object.
class ConfigFolder {
public:
    ConfigFolder()
        : m_previous(qgetenv("XDG_CONFIG_HOME"))
    {
        qputenv("XDG_CONFIG_HOME", m_folder.path().toLocal8Bit());
    }
    ~ConfigFolder() { qputenv("XDG_CONFIG_HOME", m_previous); }
    ConfigFolder(const ConfigFolder&) = delete;
    ConfigFolder& operator=(const ConfigFolder&) = delete;
    QString registry() const { return m_folder.filePath("bryx/components.ini"); }

private:
    QTemporaryDir m_folder;
    QByteArray m_previous;
};

} // namespace bryx::test
