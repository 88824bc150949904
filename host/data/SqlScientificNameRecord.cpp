#include "SqlScientificNameRecord.h"

#include "FieldBinding.h"
#include "SqlLookupList.h"
#include "SqlReferenceLinks.h"
#include "controls/RichTextMarkup.h"
#include "db/Database.h"
#include "db/SqlText.h"
#include "error/Error.h"
#include "services/ServerRegistry.h"
#include "services/SqlAppManager.h"

#include <QDateTime>
#include <QDomDocument>
#include <QSqlError>
#include <QSqlQuery>
#include <limits>

namespace bryx::host {

const RecordField ScientificNameFields[] = {
    {"ScientificName", "scientific_name"},
    {"FormattedScientificName", "formatted_scientific_name"},
    {"AuthorName", "author_name"},
    {"TranslatedName", "translated_name"},
    {"Acronym", "acronym"},
    {"DNameCategoryId", "d_name_category_id"},
    {"DClassificationLevelId", "d_classification_level_id"},
    {"PlaceholderNameIndicator", "placeholder_name_ind"},
    {"NomenclaturallyEst", "d_nomenclaturally_est_id"},
    {"NomenclaturallyEstSnId", "nomenclaturally_est_sn_id"},
    {"RelationshipToEstablName", "relationship_to_establ_name"},
    {"ScientificNameCom", "scientific_name_com"},
    {"ScientificNameInternalNotes", "scientific_name_internal_notes"},
    {"OrgUnitId", "org_unit_id"},
    {"KeyNumber", "key_number"},
    {"RecCreateUser", "rec_create_user"},
    {"RecLastModUser", "rec_last_mod_user"},
};
const size_t ScientificNameFieldCount = std::size(ScientificNameFields);

namespace {

// Values as the database and the controls disagree on them least: empty text is no value.
bool sameValue(const QVariant& a, const QVariant& b)
{
    const bool aEmpty = a.isNull() || !a.isValid() || a.toString().isEmpty();
    const bool bEmpty = b.isNull() || !b.isValid() || b.toString().isEmpty();
    if (aEmpty || bEmpty)
        return aEmpty == bEmpty;
    return a.toString() == b.toString();
}

QVariant stored(const QVariant& value)
{
    return value.isNull() || !value.isValid() || value.toString().isEmpty() ? QVariant() : value;
}

// Rolls the save back without an error reaching the user: the save answers False.
struct SaveRefused {
    QString why;
};

} // namespace

SqlScientificNameRecord::SqlScientificNameRecord() = default;
SqlScientificNameRecord::~SqlScientificNameRecord() = default;

void SqlScientificNameRecord::Connect(const QString& serverName, int32_t)
{
    m_db = std::make_shared<Database>(ServerRegistry::lookup(serverName), Database::Access::ReadWrite);
}

Database& SqlScientificNameRecord::database() const
{
    if (!m_db)
        throw Error(ErrorNumber::ObjectClosed, QStringLiteral("The scientific name record is not connected"));
    return *m_db;
}

QString SqlScientificNameRecord::checkedField(const QString& fieldName) const
{
    for (const RecordField& field : ScientificNameFields) {
        if (fieldName.compare(QLatin1String(field.field), Qt::CaseInsensitive) == 0)
            return QString::fromLatin1(field.field);
    }
    throw Error(ErrorNumber::ItemNotFound,
                QStringLiteral("The scientific name record has no field \"%1\"").arg(fieldName));
}

bool SqlScientificNameRecord::Retrieve(const QVariant& id, const QVariant&, const QVariant&)
{
    const QVariantMap row = readRow(database(), QStringLiteral("scientific_name"),
                                    QStringLiteral("scientific_name_id"), id.toInt());
    if (row.isEmpty())
        throw Error(ErrorNumber::NoCurrentRecord,
                    QStringLiteral("Scientific name %1 does not exist (any more)").arg(id.toInt()));
    m_id = id.toInt();
    m_rowVersion = row.value(QStringLiteral("row_version")).toInt();
    m_isNew = false;
    m_values.clear();
    for (const RecordField& field : ScientificNameFields)
        m_values.insert(QLatin1String(field.field), row.value(QLatin1String(field.column)));
    m_original = m_values;
    m_links.reset();
    for (const auto& [field, binding] : m_bindings)
        binding->show(m_values.value(field));
    return true;
}

void SqlScientificNameRecord::NewRecord(const QVariant&, const QVariant&)
{
    m_id = database().nextId();
    m_rowVersion = 0;
    m_isNew = true;
    m_values.clear();
    for (const RecordField& field : ScientificNameFields)
        m_values.insert(QLatin1String(field.field), QVariant());
    m_values.insert(QStringLiteral("PlaceholderNameIndicator"), QStringLiteral("N"));
    m_values.insert(QStringLiteral("KeyNumber"), m_id);
    m_original = m_values;
    m_links.reset();
}

void SqlScientificNameRecord::BindField(QObject& control, const QString& propertyName,
                                        const QString& fieldName, const QVariant&)
{
    const QString field = checkedField(fieldName);
    UnbindField(field);
    auto binding = std::make_unique<FieldBinding>(
        control, propertyName, [this, field](const QVariant& edited) { setValue(field, edited); });
    binding->show(m_values.value(field));
    m_bindings.emplace_back(field, std::move(binding));
}

void SqlScientificNameRecord::UnbindField(const QString& fieldName)
{
    if (fieldName.isEmpty()) {
        m_bindings.clear();
        return;
    }
    std::erase_if(m_bindings, [&](const auto& binding) {
        return binding.first.compare(fieldName, Qt::CaseInsensitive) == 0;
    });
}

std::shared_ptr<LookupList> SqlScientificNameRecord::GetLookup(const QString& listName,
                                                               const QVariant& filter, bool)
{
    return SqlLookupList::load(database(), listName, filter);
}

bool SqlScientificNameRecord::IsChanged(int) const
{
    for (auto it = m_values.constBegin(); it != m_values.constEnd(); ++it) {
        if (!sameValue(it.value(), m_original.value(it.key())))
            return true;
    }
    return false;
}

QVariant SqlScientificNameRecord::value(const QString& fieldName) const
{
    return m_values.value(checkedField(fieldName));
}

void SqlScientificNameRecord::setValue(const QString& fieldName, const QVariant& value)
{
    const QString field = checkedField(fieldName);
    m_values.insert(field, value);
    for (const auto& [bound, binding] : m_bindings) {
        if (bound == field && !sameValue(binding->shownValue(), value))
            binding->show(value);
    }
}

void SqlScientificNameRecord::SetNomenclaturallyEstablishedId(const QVariant& id)
{
    setValue(QStringLiteral("NomenclaturallyEstSnId"),
             id.toString().isEmpty() ? QVariant() : QVariant(id.toInt()));
}

QString SqlScientificNameRecord::PropertyDescription() const
{
    QDomDocument document;
    QDomElement root = document.createElement(QStringLiteral("BRYX"));
    document.appendChild(root);
    QDomElement properties = document.createElement(QStringLiteral("COMPONENT_PROPERTIES"));
    root.appendChild(properties);
    for (const RecordField& field : ScientificNameFields) {
        QDomElement element = document.createElement(QLatin1String(field.field));
        element.appendChild(
            document.createTextNode(QStringLiteral("scientific_name.") + QLatin1String(field.column)));
        properties.appendChild(element);
    }
    return document.toString(-1);
}

void SqlScientificNameRecord::reportRefusal() const
{
    if (m_refusalReporter)
        m_refusalReporter(m_lastRefusal);
}

void SqlScientificNameRecord::SetModifiedBy(const QString& userName)
{
    m_modifiedBy = userName;
}

QString SqlScientificNameRecord::validate() const
{
    if (text("ScientificName").trimmed().isEmpty())
        return QStringLiteral("the scientific name is empty");
    // What fits each text column: PostgreSQL would refuse the rest, SQLite would keep it
    // silently. Both engines get the same rule.
    struct TextColumn {
        const char* field;
        const char* words;
        int maximum;
    };
    const TextColumn columns[] = {{"ScientificName", "scientific name", 255},
                                  {"FormattedScientificName", "formatted scientific name", 1000},
                                  {"AuthorName", "author", 255},
                                  {"TranslatedName", "translated name", 255},
                                  {"Acronym", "acronym", 40},
                                  {"RelationshipToEstablName", "relationship to the established name", 255},
                                  {"ScientificNameCom", "name comments", 4000},
                                  {"ScientificNameInternalNotes", "internal notes", 4000}};
    for (const auto& [field, words, maximum] : columns) {
        const int length = int(text(QLatin1String(field)).size());
        if (length > maximum)
            return QStringLiteral("the %1 is %2 characters long; at most %3 fit")
                .arg(QLatin1String(words))
                .arg(length)
                .arg(maximum);
    }
    const QString placeholder = text("PlaceholderNameIndicator");
    if (placeholder != QLatin1String("Y") && placeholder != QLatin1String("N"))
        return QStringLiteral("the placeholder indicator is \"%1\", not Y or N").arg(placeholder);
    if (value("DNameCategoryId").isNull() || text("DNameCategoryId").isEmpty())
        return QStringLiteral("no name category is chosen");
    if (!codeExists(QStringLiteral("d_name_category"), QStringLiteral("d_name_category_id"),
                    value("DNameCategoryId")))
        return QStringLiteral("the name category %1 is not one of the known categories")
            .arg(text("DNameCategoryId"));
    if (value("NomenclaturallyEstSnId").toString() == QString::number(m_id))
        return QStringLiteral("a scientific name cannot be its own nomenclaturally established name");
    const QVariant level = value("DClassificationLevelId");
    if (!level.isNull() && !level.toString().isEmpty()
        && !codeExists(QStringLiteral("d_classification_level"), QStringLiteral("d_classification_level_id"),
                       level))
        return QStringLiteral("the classification level %1 is not one of the known levels")
            .arg(level.toString());
    return {};
}

bool SqlScientificNameRecord::codeExists(const QString& table, const QString& keyColumn,
                                         const QVariant& key) const
{
    QSqlQuery query(database().sql());
    query.prepare(QStringLiteral("SELECT 1 FROM %1 WHERE %2 = ?").arg(table, keyColumn));
    query.addBindValue(key.toInt());
    return query.exec() && query.next();
}

bool SqlScientificNameRecord::Save()
{
    m_lastRefusal = validate();
    if (!m_lastRefusal.isEmpty()) {
        reportRefusal();
        return false;
    }
    Database& db = database();
    // A name given as plain text only (a copy's) shows as itself.
    if (text("FormattedScientificName").isEmpty())
        setValue(QStringLiteral("FormattedScientificName"),
                 RichTextMarkup::fromPlainText(text("ScientificName")));
    const QString user = m_modifiedBy.isEmpty() ? text("RecLastModUser") : m_modifiedBy;
    const QDateTime now = QDateTime::currentDateTimeUtc();
    QVariantMap before;
    QVariantMap after;
    for (const RecordField& field : ScientificNameFields) {
        before.insert(QLatin1String(field.column), m_original.value(QLatin1String(field.field)));
        after.insert(QLatin1String(field.column), stored(m_values.value(QLatin1String(field.field))));
    }
    try {
        db.transaction([&] {
            QSqlQuery query(db.sql());
            QStringList columns;
            QVariantList bindings;
            for (const RecordField& field : ScientificNameFields) {
                if (QLatin1String(field.field) == QLatin1String("RecLastModUser")
                    || QLatin1String(field.field) == QLatin1String("RecCreateUser"))
                    continue;
                columns << QLatin1String(field.column);
                bindings << stored(m_values.value(QLatin1String(field.field)));
            }
            if (m_isNew) {
                columns << "scientific_name_id"
                        << "row_version"
                        << "rec_create_user"
                        << "rec_create_date"
                        << "rec_last_mod_user"
                        << "rec_last_mod_date";
                bindings << m_id << 1 << user << now << user << now;
                query.prepare(insertStatement(QStringLiteral("scientific_name"), columns));
            } else {
                columns << "rec_last_mod_user"
                        << "rec_last_mod_date";
                query.prepare(updateStatement(QStringLiteral("scientific_name"), columns,
                                              QStringLiteral("scientific_name_id = ? AND row_version = ?"),
                                              QStringLiteral("row_version = row_version + 1")));
                bindings << user << now << m_id << m_rowVersion;
            }
            for (const QVariant& binding : std::as_const(bindings))
                query.addBindValue(binding);
            if (!query.exec())
                throw SaveRefused {query.lastError().databaseText().simplified()};
            if (!m_isNew && query.numRowsAffected() != 1)
                throw SaveRefused {QStringLiteral(
                    "another user changed or deleted this scientific name after you opened it. Nothing of "
                    "theirs was overwritten and your changes are still in the window: note them, close the "
                    "window without saving and open the name again to see what is stored now")};
            const int32_t orgUnit = value("OrgUnitId").toInt();
            SqlAppManager::writeAudit(db, user, orgUnit, QStringLiteral("scientific_name"),
                                      m_isNew ? QStringLiteral("I") : QStringLiteral("U"), m_id, before,
                                      after);
            // Links made before the record was first stored go in with it (a copy's links).
            // Deleted links go first, so a reference unlinked and linked again stays linked.
            if (m_links) {
                m_links->saveDeletions();
                for (int index = 1; index <= m_links->Count(); ++index) {
                    const auto link = m_links->Item(index);
                    if (link->IsNew() || link->IsChanged())
                        link->Save();
                }
            }
        });
    } catch (const SaveRefused& refused) {
        m_lastRefusal = refused.why;
        reportRefusal();
        return false;
    }
    if (m_links)
        m_links->forgetSavedDeletions();
    m_rowVersion = m_isNew ? 1 : m_rowVersion + 1;
    m_isNew = false;
    m_values.insert(QStringLiteral("RecLastModUser"), user);
    if (text("RecCreateUser").isEmpty())
        m_values.insert(QStringLiteral("RecCreateUser"), user);
    m_original = m_values;
    return true;
}

std::shared_ptr<ReferenceLinks> SqlScientificNameRecord::ReferenceLinks()
{
    if (!m_links)
        m_links = std::make_shared<SqlReferenceLinks>(m_db, m_id);
    return m_links;
}

void SqlScientificNameRecord::Release()
{
    m_bindings.clear();
    m_links.reset();
    m_db.reset();
}

} // namespace bryx::host
