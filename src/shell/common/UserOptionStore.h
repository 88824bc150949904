#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <memory>

namespace bryx {

class ComponentCollection;

// The user's options as the host's option store keeps them, reached through fresh client
// component collections: options by category, name and user, text values, categories that
// must exist before an option can be added to them.
class UserOptionStore {
public:
    static constexpr const char* CollectionProgId = "ClientFramework.ComponentCollection";
    static constexpr const char* OptionClientProgId = "BRYX_UserOptClient.UserOptClient";
    static constexpr const char* CategoryClientProgId = "BRYX_UserOpCatClient.UserOpCatClient";

    UserOptionStore(QString serverName, int32_t serverType);

    // Runs an options finder on a fresh collection; null when the lookup itself failed.
    std::shared_ptr<ComponentCollection> findOptions(const QString& finderName,
                                                     const QStringList& parameters) const;
    // Creates an option inside an existing category and commits it; false when the category
    // does not exist.
    bool addOption(const QString& category, const QString& name, const QString& value, int32_t userId) const;

private:
    std::shared_ptr<ComponentCollection> connected(const char* clientProgId) const;

    QString m_serverName;
    int32_t m_serverType;
};

} // namespace bryx
