#pragma once

#include <QString>
#include <memory>
#include <optional>

namespace bryx {

class ComponentCollection;
class ComponentHost;
class UserOptionStore;

// The searches a user keeps: the default criteria and settings loaded at start-up and saved
// on closing, and the searches saved, opened and deleted by name. The documents go in and come
// out as text; the panel reads and writes its criteria itself. Each operation traps its own
// errors and reports them through the host, so a broken option store never stops the panel from
// starting or closing.
class SavedSearches {
public:
    static constexpr const char* DefaultCriteria = "$DEFAULT_FIND_CRITERIA";
    static constexpr const char* DefaultProperties = "$DEFAULT_FIND_PROPERTIES";
    static constexpr const char* UserSearches = "$USER_FIND_SCIENTIFIC";

    // A search opened by name: the name chosen, and its state document when one is stored.
    struct Opened {
        QString name;
        std::optional<QString> state;
    };

    explicit SavedSearches(const ComponentHost& host);

    // The stored document, if there is one; nothing when none is stored or it cannot be read.
    std::optional<QString> LoadDefaultProperties();
    std::optional<QString> LoadDefaultCriteria();
    void SaveDefaultProperties(const QString& properties);
    void SaveDefaultCriteria(const QString& state);
    // Stores `state` under the search's name, asking for one when there is none yet or
    // `saveAs` is set (then saveAs stays set); answers the search's name afterwards.
    QString SaveSearch(const QString& currentName, const QString& state, bool& saveAs);
    // Nothing when the user cancelled the choice.
    std::optional<Opened> OpenSearch();
    // The name of the search deleted; empty when the user cancelled.
    QString DeleteSearch();
    // Reports a failure of a saved search's use (one the panel met applying a document).
    void report(const char* messageId, const QString& description) const;

    // The name chosen in the search dialog; empty when the user cancelled.
    QString ShowSearchDialog(const QString& category, int mode);
    static QString EscapeQuotes(const QString& text);

private:
    UserOptionStore store() const;
    QString userIdText() const;
    // Stores a value under the default option name: overwrites an existing option or creates
    // one in its category.
    void saveDefault(const char* finderName, const char* category, const QString& value,
                     const char* messageId);
    std::shared_ptr<ComponentCollection> findUserSearch(const UserOptionStore& options,
                                                        const char* finderName, const QString& name) const;

    const ComponentHost& m_host;
};

} // namespace bryx
