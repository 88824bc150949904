#include "SampleData.h"

#include "AuditTriggers.h"
#include "Database.h"
#include "error/Error.h"

#include <QDateTime>
#include <QFile>
#include <QHash>
#include <QSqlError>
#include <QSqlQuery>

static void initSampleResources()
{
    Q_INIT_RESOURCE(sample);
}

namespace bryx::host {

namespace {

struct Category {
    int id;
    const char* type;
    const char* typeDesc;
    const char* desc;
    int framework;
    int order;
};
const Category Categories[] = {
    {1, "P", "Botanical", "Vascular Plant", 1, 1},
    {2, "P", "Botanical", "Nonvascular Plant", 1, 2},
    {3, "P", "Botanical", "Fungus", 1, 3},
    {4, "A", "Zoological", "Vertebrate Animal", 2, 1},
    {5, "A", "Zoological", "Invertebrate Animal", 2, 2},
    {6, "C", "Ecological", "Terrestrial Community", 3, 1},
    {7, "C", "Ecological", "Wetland Community", 3, 2},
};

struct Level {
    int id;
    int framework;
    const char* name;
    const char* lower;
    int order;
};
const Level Levels[] = {
    {6, 1, "Family", "N", 1},       {1, 1, "Genus", "N", 2},      {2, 1, "Species", "Y", 3},
    {3, 1, "Subspecies", "Y", 4},   {4, 1, "Variety", "Y", 5},    {5, 1, "Form", "Y", 6},
    {7, 2, "Family", "N", 1},       {8, 2, "Genus", "N", 2},      {9, 2, "Species", "Y", 3},
    {10, 2, "Subspecies", "Y", 4},  {11, 3, "Formation", "N", 1}, {12, 3, "Alliance", "Y", 2},
    {13, 3, "Association", "Y", 3},
};

QString typeOfCategory(int category)
{
    for (const Category& c : Categories) {
        if (c.id == category)
            return QString::fromLatin1(c.type);
    }
    return {};
}

} // namespace

BatchInserter::BatchInserter(Database& db, QString table, QStringList columns)
    : m_db(db)
    , m_table(std::move(table))
    , m_columns(std::move(columns))
    , m_rowsPerStatement(db.dialect() == Dialect::SQLite ? 20 : 400)
{
}

BatchInserter::~BatchInserter() noexcept(false)
{
    if (m_pendingRows > 0 && std::uncaught_exceptions() == 0)
        flush();
}

QString BatchInserter::statement(int rows) const
{
    const QString placeholders =
        QLatin1Char('(') + QStringList(m_columns.size(), QStringLiteral("?")).join(',') + ')';
    return QStringLiteral("INSERT INTO %1 (%2) VALUES %3")
        .arg(m_table, m_columns.join(','), QStringList(rows, placeholders).join(','));
}

void BatchInserter::add(const QVariantList& row)
{
    m_pending.append(row);
    if (++m_pendingRows < m_rowsPerStatement)
        return;
    if (!m_fullBatch) {
        m_fullBatch = std::make_unique<QSqlQuery>(m_db.sql());
        if (!m_fullBatch->prepare(statement(m_rowsPerStatement)))
            throw Error(
                ErrorNumber::InvalidArgument,
                QStringLiteral("Inserting into %1 failed: %2").arg(m_table, m_fullBatch->lastError().text()));
    }
    run(*m_fullBatch);
}

void BatchInserter::flush()
{
    if (m_pendingRows == 0)
        return;
    QSqlQuery query(m_db.sql());
    if (!query.prepare(statement(m_pendingRows)))
        throw Error(ErrorNumber::InvalidArgument,
                    QStringLiteral("Inserting into %1 failed: %2").arg(m_table, query.lastError().text()));
    run(query);
}

void BatchInserter::run(QSqlQuery& query)
{
    for (qsizetype i = 0; i < m_pending.size(); ++i)
        query.bindValue(int(i), m_pending[i]);
    if (!query.exec())
        throw Error(ErrorNumber::InvalidArgument,
                    QStringLiteral("Inserting into %1 failed: %2").arg(m_table, query.lastError().text()));
    m_pending.clear();
    m_pendingRows = 0;
}

std::vector<QStringList> SampleData::readTable(const QString& resource, int columns)
{
    initSampleResources();
    QFile file(resource);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        throw Error(ErrorNumber::InvalidArgument, QStringLiteral("Sample table %1 is missing").arg(resource));
    std::vector<QStringList> rows;
    int lineNumber = 0;
    while (!file.atEnd()) {
        ++lineNumber;
        const QString line = QString::fromUtf8(file.readLine()).remove(QLatin1Char('\n'));
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        QStringList cells = line.split(QLatin1Char('\t'));
        if (cells.size() < columns - 1 || cells.size() > columns)
            throw Error(ErrorNumber::InvalidArgument,
                        QStringLiteral("Sample table %1, line %2: %3 cells, expected %4")
                            .arg(resource)
                            .arg(lineNumber)
                            .arg(cells.size())
                            .arg(columns));
        while (cells.size() < columns)
            cells << QString();
        rows.push_back(cells);
    }
    return rows;
}

QString SampleData::formattedName(const QString& name, const QString& nameType)
{
    if (nameType == QLatin1String("C"))
        return name.toHtmlEscaped();
    static const QStringList plain = {QStringLiteral("×"),  QStringLiteral("subsp."), QStringLiteral("var."),
                                      QStringLiteral("f."), QStringLiteral("sp."),    QStringLiteral("SP.")};
    QStringList words;
    for (const QString& word : name.split(QLatin1Char(' '), Qt::SkipEmptyParts))
        words << (plain.contains(word) ? word.toHtmlEscaped()
                                       : QStringLiteral("<i>%1</i>").arg(word.toHtmlEscaped()));
    return words.join(QLatin1Char(' '));
}

void SampleData::loadReferenceTables(Database& db)
{
    db.transaction([&] {
        BatchInserter units(db, QStringLiteral("org_unit"),
                            {"org_unit_id", "org_unit_code", "org_unit_name"});
        units.add({1, "NHB", "Natural Heritage Botany Unit"});
        units.add({2, "NHZ", "Natural Heritage Zoology Unit"});
        units.flush();

        BatchInserter roles(db, QStringLiteral("app_role"),
                            {"role_id", "role_name", "may_save", "may_delete", "may_create"});
        roles.add({1, "Editor", "Y", "Y", "Y"});
        roles.add({2, "Viewer", "N", "N", "N"});
        roles.add({3, "Admin", "Y", "Y", "Y"});
        roles.flush();

        BatchInserter users(db, QStringLiteral("app_user"),
                            {"user_id", "login_name", "full_name", "role_id", "org_unit_id"});
        users.add({1, "editor", "Sample Editor", 1, 1});
        users.add({2, "viewer", "Sample Viewer", 2, 2});
        users.flush();

        BatchInserter frameworks(db, QStringLiteral("d_classification_framework"),
                                 {"d_classification_framework_id", "classification_framework_desc"});
        frameworks.add({1, "Botanical nomenclature"});
        frameworks.add({2, "Zoological nomenclature"});
        frameworks.add({3, "Phytosociological nomenclature"});
        frameworks.flush();

        BatchInserter levels(db, QStringLiteral("d_classification_level"),
                             {"d_classification_level_id", "d_class_framework_id",
                              "classification_level_name", "lower_level_ind", "display_order"});
        for (const Level& level : Levels)
            levels.add({level.id, level.framework, level.name, level.lower, level.order});
        levels.flush();

        BatchInserter categories(db, QStringLiteral("d_name_category"),
                                 {"d_name_category_id", "name_type_cd", "name_type_desc",
                                  "name_category_desc", "d_class_framework_id", "display_order"});
        for (const Category& category : Categories)
            categories.add({category.id, category.type, category.typeDesc, category.desc, category.framework,
                            category.order});
        categories.flush();

        BatchInserter establishment(
            db, QStringLiteral("d_nomenclaturally_est"),
            {"d_nomenclaturally_est_id", "nomenclaturally_est_desc", "display_order"});
        establishment.add({1, "Accepted", 1});
        establishment.add({2, "Synonym", 2});
        establishment.add({3, "Misapplied", 3});
        establishment.add({4, "Orthographic variant", 4});
        establishment.flush();

        BatchInserter optionCategories(db, QStringLiteral("user_option_category"),
                                       {"user_option_category_id", "category_name"});
        optionCategories.add({1, "$DEFAULT_FIND_CRITERIA"});
        optionCategories.add({2, "$DEFAULT_FIND_PROPERTIES"});
        optionCategories.add({3, "$USER_FIND_SCIENTIFIC"});
        optionCategories.flush();
    });
}

void SampleData::loadSampleNames(Database& db)
{
    const QDateTime created(QDate(2024, 3, 1), QTime(9, 0), Qt::UTC);
    QHash<QString, int> nameIds; // "name|author" -> id
    QHash<QString, int> referenceIds; // code -> id
    // The sample brings its own history: the database's own audit trail stands aside for it.
    db.transaction([&] {
        AuditTriggers::withoutTriggers(db, [&] {
            BatchInserter names(db, QStringLiteral("scientific_name"),
                                {"scientific_name_id", "scientific_name", "formatted_scientific_name",
                                 "author_name", "d_name_category_id", "d_classification_level_id",
                                 "placeholder_name_ind", "org_unit_id", "key_number", "rec_create_user",
                                 "rec_create_date", "rec_last_mod_user", "rec_last_mod_date"});
            int id = 0;
            for (const char* file :
                 {"names_botanical", "names_zoological", "names_ecological", "names_accented"}) {
                for (const QStringList& row :
                     readTable(QStringLiteral(":/bryx/sample/%1.tsv").arg(file), 4)) {
                    ++id;
                    const int category = row[0].toInt();
                    const QString type = typeOfCategory(category);
                    const QString& name = row[2];
                    const bool placeholder = name.endsWith(QLatin1String(" sp."), Qt::CaseInsensitive);
                    names.add({id, name, formattedName(name, type),
                               row[3].isEmpty() ? QVariant() : QVariant(row[3]), category, row[1].toInt(),
                               placeholder ? "Y" : "N", type == QLatin1String("A") ? 2 : 1, id, "editor",
                               created, "editor", created});
                    nameIds.insert(name + QLatin1Char('|') + row[3], id);
                }
            }
            names.flush();

            BatchInserter references(db, QStringLiteral("reference"),
                                     {"reference_id", "reference_code", "full_citation", "publication_year"});
            int referenceId = 0;
            for (const QStringList& row : readTable(QStringLiteral(":/bryx/sample/references.tsv"), 3)) {
                references.add({++referenceId, row[0], row[2], row[1].toInt()});
                referenceIds.insert(row[0], referenceId);
            }
            references.flush();

            BatchInserter links(db, QStringLiteral("scientific_name_reference"),
                                {"scientific_name_reference_id", "scientific_name_id", "reference_id",
                                 "primary_reference_ind", "original_publication_ind", "display_order",
                                 "org_unit_id", "rec_create_user", "rec_last_mod_user"});
            int linkId = 0;
            for (const QStringList& row : readTable(QStringLiteral(":/bryx/sample/name_references.tsv"), 6)) {
                const int nameId = nameIds.value(row[0] + QLatin1Char('|') + row[1]);
                const int refId = referenceIds.value(row[2]);
                if (nameId == 0 || refId == 0)
                    throw Error(ErrorNumber::InvalidArgument,
                                QStringLiteral("Sample link %1 %2 -> %3 names an unknown name or reference")
                                    .arg(row[0], row[1], row[2]));
                links.add({++linkId, nameId, refId, row[3], row[4], row[5].toInt(), 1, "editor", "editor"});
            }
            links.flush();

            struct Establishment {
                const char* name;
                const char* author;
                const char* established;
                const char* establishedAuthor;
                int code;
                const char* relationship;
            };
            const Establishment establishments[] = {
                {"Abies alba", "Michx.", "Picea glauca", "(Moench) Voss", 2,
                 "Later homonym; the white spruce"},
                {"Quercus × rosacea", "Bechst.", "Quercus petraea", "(Matt.) Liebl.", 1,
                 "Hybrid: Q. petraea × Q. robur"},
                {"ACER SP.", "", "Acer sp.", "", 4, "Same placeholder, written in capitals"},
            };
            QSqlQuery update(db.sql());
            update.prepare(QStringLiteral("UPDATE scientific_name SET d_nomenclaturally_est_id = ?, "
                                          "nomenclaturally_est_sn_id = ?, relationship_to_establ_name = ? "
                                          "WHERE scientific_name_id = ?"));
            for (const Establishment& e : establishments) {
                update.addBindValue(e.code);
                update.addBindValue(nameIds.value(QString::fromUtf8(e.established) + '|'
                                                  + QString::fromUtf8(e.establishedAuthor)));
                update.addBindValue(QString::fromUtf8(e.relationship));
                update.addBindValue(
                    nameIds.value(QString::fromUtf8(e.name) + '|' + QString::fromUtf8(e.author)));
                if (!update.exec())
                    throw Error(ErrorNumber::InvalidArgument, update.lastError().text());
            }

            const int picea = nameIds.value(QStringLiteral("Picea abies|(L.) H.Karst."));
            const int wolf = nameIds.value(QStringLiteral("Canis lupus|Linnaeus, 1758"));
            BatchInserter audit(db, QStringLiteral("audit_log"),
                                {"audit_log_id", "audit_date", "user_name", "table_name", "action",
                                 "column_name", "old_value", "primary_key", "org_unit_id",
                                 "audit_log_column_id"});
            audit.add(
                {1, created, "editor", "SCIENTIFIC_NAME", "I", QVariant(), QVariant(), picea, 1, QVariant()});
            audit.add({2, created.addDays(20), "editor", "SCIENTIFIC_NAME", "U", "author_name", "(L.) Karst.",
                       picea, 1, 2});
            audit.add({3, created.addDays(20), "editor", "SCIENTIFIC_NAME", "U", "scientific_name_com",
                       QVariant(), picea, 1, 3});
            audit.add({4, created.addDays(35), "editor", "SCIENTIFIC_NAME", "U", "d_classification_level_id",
                       "8", wolf, 2, 4});
            audit.flush();
            BatchInserter comments(db, QStringLiteral("audit_comment"),
                                   {"audit_comment_id", "audit_log_column_id", "comment_text"});
            comments.add({1, 2, "Author abbreviation corrected to the standard form H.Karst."});
            comments.flush();
        });
    });
}

} // namespace bryx::host
