#pragma once

#include <QChar>
#include <QHash>
#include <QString>
#include <cstdint>
#include <optional>

namespace bryx::host {

class Database;

// The code lists an import maps a checklist's words onto: name categories, classification
// levels and establishment codes. Read once, looked up per row from memory, and extended in
// the import's own transaction when a checklist uses an entry the database lacks.
class ImportCodeLists {
public:
    struct Category {
        int32_t id = 0;
        QChar type;
        int32_t framework = 0;
    };

    explicit ImportCodeLists(Database& db);

    // The category with that description; created for the name type when missing. No value
    // when it exists for another name type.
    std::optional<Category> category(const QString& checklistText, QChar nameType);
    // Any existing category's type, for a row that names its category but no code or kingdom.
    std::optional<QChar> typeOfCategory(const QString& description) const;
    // The classification level for a rank word in a framework: a level of that name, or the
    // rank's own level (created when missing). No value when the word is no rank.
    std::optional<int32_t> level(int32_t framework, const QString& rank);
    // The establishment code with that description, created when missing.
    int32_t establishment(const QString& description);

    // A checklist's text as a code list may hold it: the components' statements quote code-list
    // texts with straight quotes, so an apostrophe is stored as the typographic one.
    static QString storable(const QString& text);

private:
    int32_t frameworkOfType(QChar nameType);

    Database& m_db;
    QHash<QString, Category> m_categories; // by lower-case description
    QHash<QString, int32_t> m_levels; // "framework|lower-case name"
    QHash<int32_t, int32_t> m_levelOrder; // framework -> highest display order
    QHash<QString, int32_t> m_establishments; // by lower-case description
};

} // namespace bryx::host
