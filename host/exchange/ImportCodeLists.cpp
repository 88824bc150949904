#include "ImportCodeLists.h"

#include "ChecklistVocabulary.h"
#include "db/Database.h"
#include "db/Schema.h"

#include <QSqlQuery>

namespace bryx::host {

namespace {

QString levelKey(int32_t framework, const QString& name)
{
    return QString::number(framework) + QLatin1Char('|') + name.toLower();
}

} // namespace

ImportCodeLists::ImportCodeLists(Database& db)
    : m_db(db)
{
    QSqlQuery categories =
        db.query(QStringLiteral("SELECT d_name_category_id, name_type_cd, d_class_framework_id, "
                                "name_category_desc FROM d_name_category"));
    while (categories.next())
        m_categories.insert(categories.value(3).toString().toLower(),
                            {categories.value(0).toInt(), categories.value(1).toString().front(),
                             categories.value(2).toInt()});
    QSqlQuery levels = db.query(
        QStringLiteral("SELECT d_classification_level_id, d_class_framework_id, classification_level_name, "
                       "display_order FROM d_classification_level"));
    while (levels.next()) {
        const int32_t framework = levels.value(1).toInt();
        m_levels.insert(levelKey(framework, levels.value(2).toString()), levels.value(0).toInt());
        m_levelOrder[framework] = std::max(m_levelOrder.value(framework), levels.value(3).toInt());
    }
    QSqlQuery establishments = db.query(QStringLiteral(
        "SELECT d_nomenclaturally_est_id, nomenclaturally_est_desc FROM d_nomenclaturally_est"));
    while (establishments.next())
        m_establishments.insert(establishments.value(1).toString().toLower(),
                                establishments.value(0).toInt());
}

QString ImportCodeLists::storable(const QString& text)
{
    return QString(text).replace(QLatin1Char('\''), QChar(Schema::TypographicApostrophe));
}

std::optional<ImportCodeLists::Category> ImportCodeLists::category(const QString& checklistText,
                                                                   QChar nameType)
{
    const QString description = storable(checklistText);
    const auto found = m_categories.constFind(description.toLower());
    if (found != m_categories.cend())
        return found->type == nameType ? std::optional(*found) : std::nullopt;
    Category created {m_db.nextId(), nameType, frameworkOfType(nameType)};
    const int order = int(m_categories.size()) + 1;
    m_db.exec(
        QStringLiteral("INSERT INTO d_name_category (d_name_category_id, name_type_cd, name_type_desc, "
                       "name_category_desc, d_class_framework_id, display_order) VALUES (?, ?, ?, ?, ?, ?)"),
        {created.id, QString(nameType), ChecklistVocabulary::nameTypeDescription(nameType), description,
         created.framework, order});
    m_categories.insert(description.toLower(), created);
    return created;
}

std::optional<QChar> ImportCodeLists::typeOfCategory(const QString& description) const
{
    const auto found = m_categories.constFind(storable(description).toLower());
    return found != m_categories.cend() ? std::optional(found->type) : std::nullopt;
}

int32_t ImportCodeLists::frameworkOfType(QChar nameType)
{
    for (const Category& category : std::as_const(m_categories)) {
        if (category.type == nameType)
            return category.framework;
    }
    const int32_t framework = m_db.nextId();
    m_db.exec(
        QStringLiteral("INSERT INTO d_classification_framework (d_classification_framework_id, "
                       "classification_framework_desc) VALUES (?, ?)"),
        {framework, ChecklistVocabulary::nameTypeDescription(nameType) + QStringLiteral(" nomenclature")});
    return framework;
}

std::optional<int32_t> ImportCodeLists::level(int32_t framework, const QString& rank)
{
    const auto existing = m_levels.constFind(levelKey(framework, rank.trimmed()));
    if (existing != m_levels.cend())
        return *existing;
    const std::optional<ChecklistVocabulary::Rank> known = ChecklistVocabulary::rankOf(rank);
    if (!known)
        return std::nullopt;
    const QString key = levelKey(framework, known->levelName);
    if (const auto named = m_levels.constFind(key); named != m_levels.cend())
        return *named;
    const int32_t id = m_db.nextId();
    const int32_t order = m_levelOrder.value(framework) + 1;
    m_db.exec(
        QStringLiteral("INSERT INTO d_classification_level (d_classification_level_id, d_class_framework_id, "
                       "classification_level_name, lower_level_ind, display_order) VALUES (?, ?, ?, ?, ?)"),
        {id, framework, known->levelName, known->lowerLevel ? "Y" : "N", order});
    m_levels.insert(key, id);
    m_levelOrder.insert(framework, order);
    return id;
}

int32_t ImportCodeLists::establishment(const QString& description)
{
    const auto found = m_establishments.constFind(description.toLower());
    if (found != m_establishments.cend())
        return *found;
    const int32_t id = m_db.nextId();
    m_db.exec(QStringLiteral(
                  "INSERT INTO d_nomenclaturally_est (d_nomenclaturally_est_id, nomenclaturally_est_desc, "
                  "display_order) VALUES (?, ?, ?)"),
              {id, description, int(m_establishments.size()) + 1});
    m_establishments.insert(description.toLower(), id);
    return id;
}

} // namespace bryx::host
