#pragma once

#include <QString>
#include <memory>

namespace bryx {

class ComponentCollection;
class ScientificSearch;
class UserOptionStore;

// The searches a user keeps: the default criteria and settings loaded at start-up and saved
// on closing, and the searches saved, opened and deleted by name. Each operation traps its own
// errors and reports them through the panel's DisplayMessage, so a broken option store never
// stops the panel from starting or closing.
class SavedSearches {
public:
    static constexpr const char* DefaultCriteria = "$DEFAULT_FIND_CRITERIA";
    static constexpr const char* DefaultProperties = "$DEFAULT_FIND_PROPERTIES";
    static constexpr const char* UserSearches = "$USER_FIND_SCIENTIFIC";

    explicit SavedSearches(ScientificSearch& panel);

    void LoadDefaultProperties();
    // True only when default criteria were found and applied.
    bool LoadDefaultCriteria();
    void SaveDefaultProperties();
    void SaveDefaultCriteria();
    // Sets saveAs when it asked the user for a name.
    void SaveSearch(bool& saveAs);
    void OpenSearch();
    void DeleteSearch();

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
    void report(const char* messageId, const QString& description);
    std::shared_ptr<ComponentCollection> findUserSearch(const UserOptionStore& options,
                                                        const char* finderName, const QString& name) const;

    ScientificSearch& m_panel;
};

} // namespace bryx
