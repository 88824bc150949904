#include "NameHistory.h"

#include "CurationAudit.h"
#include "db/Database.h"
#include "services/SqlAppManager.h"

#include <QDateTime>
#include <QHash>
#include <QSqlQuery>

namespace bryx::host {

namespace {

struct ColumnCaption {
    const char* column;
    const char* caption;
};
const ColumnCaption Captions[] = {
    {"scientific_name", "Scientific name"},
    {"formatted_scientific_name", "Formatted name"},
    {"author_name", "Author"},
    {"translated_name", "Translated name"},
    {"acronym", "Acronym"},
    {"d_name_category_id", "Category"},
    {"d_classification_level_id", "Classification level"},
    {"placeholder_name_ind", "Placeholder name"},
    {"d_nomenclaturally_est_id", "Nomenclaturally established"},
    {"nomenclaturally_est_sn_id", "Established name"},
    {"relationship_to_establ_name", "Relationship to established name"},
    {"scientific_name_com", "Comments"},
    {"scientific_name_internal_notes", "Internal notes"},
    {"org_unit_id", "Organisation unit"},
    {"key_number", "Key number"},
    {"scientific_name_id", "ID"},
    {"scientific_name_key", "Comparison key"},
    {CurationAudit::MergedNamesColumn, "Merge"},
};

struct CodeColumn {
    const char* column;
    const char* sql;
};
const CodeColumn CodeColumns[] = {
    {"d_name_category_id", "SELECT name_category_desc FROM d_name_category WHERE d_name_category_id = ?"},
    {"d_classification_level_id",
     "SELECT classification_level_name FROM d_classification_level WHERE d_classification_level_id = ?"},
    {"d_nomenclaturally_est_id",
     "SELECT nomenclaturally_est_desc FROM d_nomenclaturally_est WHERE d_nomenclaturally_est_id = ?"},
    {"nomenclaturally_est_sn_id", "SELECT scientific_name FROM scientific_name WHERE scientific_name_id = ?"},
};

// Texts of the codes a history shows, each looked up once however often it recurs.
class ValueTexts {
public:
    explicit ValueTexts(Database& db)
        : m_db(db)
    {
    }
    QString of(const QString& column, const QVariant& value)
    {
        if (value.isNull() || value.toString().isEmpty())
            return {};
        for (const auto& [code, sql] : CodeColumns) {
            if (column != QLatin1String(code))
                continue;
            const QString key = column + QLatin1Char('|') + value.toString();
            auto known = m_known.constFind(key);
            if (known == m_known.constEnd()) {
                const QString text = m_db.scalar(QLatin1String(sql), {value}).toString();
                known =
                    m_known.insert(key,
                                   text.isEmpty() ? value.toString()
                                                  : QStringLiteral("%1 (%2)").arg(text, value.toString()));
            }
            return *known;
        }
        return value.toString().simplified();
    }

private:
    Database& m_db;
    QHash<QString, QString> m_known;
};

} // namespace

QString NameHistory::fieldOf(const QString& column)
{
    for (const auto& [name, caption] : Captions) {
        if (column.compare(QLatin1String(name), Qt::CaseInsensitive) == 0)
            return QLatin1String(caption);
    }
    return column;
}

std::vector<HistoryEntry> NameHistory::of(Database& db, int32_t nameId)
{
    QSqlQuery query = db.query(
        QStringLiteral(
            "SELECT a.audit_log_id, a.audit_date, a.user_name, a.action, a.column_name, a.old_value, "
            "c.comment_text FROM audit_log a LEFT JOIN audit_comment c ON c.audit_log_column_id = "
            "a.audit_log_column_id WHERE a.table_name = 'SCIENTIFIC_NAME' AND a.primary_key = ? "
            "ORDER BY a.audit_date, a.audit_log_id"),
        {nameId}, Database::Reading::Buffered);
    std::vector<HistoryEntry> entries;
    while (query.next()) {
        HistoryEntry entry;
        entry.auditLogId = query.value(0).toInt();
        entry.date = query.value(1).toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        entry.user = query.value(2).toString();
        const QString action = query.value(3).toString();
        entry.action = action.isEmpty() ? QChar() : action.front();
        entry.column = query.value(4).toString().toLower();
        entry.field = entry.column.isEmpty() ? QStringLiteral("(created)") : fieldOf(entry.column);
        entry.oldValue = query.value(5);
        entry.comment = query.value(6).toString();
        entry.isMerge = entry.column == QLatin1String(CurationAudit::MergedNamesColumn);
        entries.push_back(std::move(entry));
    }
    // Each change's new value is the old value of the next change of its column, or for the
    // last one what the name holds now (nothing, once it is deleted).
    const QVariantMap stored =
        readRow(db, QStringLiteral("scientific_name"), QStringLiteral("scientific_name_id"), nameId);
    QHash<QString, QVariant> following;
    for (auto it = entries.rbegin(); it != entries.rend(); ++it) {
        HistoryEntry& entry = *it;
        if (entry.column.isEmpty() || entry.isMerge)
            continue;
        const auto next = following.constFind(entry.column);
        entry.latestOfColumn = next == following.constEnd();
        if (entry.action == QLatin1Char('D'))
            entry.newValue = QVariant();
        else
            entry.newValue = entry.latestOfColumn ? stored.value(entry.column) : next.value();
        following.insert(entry.column, entry.oldValue);
    }
    ValueTexts texts(db);
    for (HistoryEntry& entry : entries) {
        entry.oldText = entry.isMerge ? entry.oldValue.toString() : texts.of(entry.column, entry.oldValue);
        if (entry.action == QLatin1Char('U') && !entry.isMerge)
            entry.newText = texts.of(entry.column, entry.newValue);
    }
    return entries;
}

} // namespace bryx::host
