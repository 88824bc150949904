#include "DetailsTestHost.h"

#include "collection/Collection.h"
#include "recordset/Recordset.h"

#include <QMetaProperty>

namespace bryx::test {

using ::testing::_;
using ::testing::NiceMock;
using ::testing::Return;

namespace {

std::shared_ptr<LookupList> categoriesOf(const QString& code)
{
    const std::vector<QVariantMap> all = {
        {{"ID", 1}, {"Name_Category_Desc", "Vascular Plant"}, {"Name_Type_CD", "P"}},
        {{"ID", 2}, {"Name_Category_Desc", "Nonvascular Plant"}, {"Name_Type_CD", "P"}},
        {{"ID", 3}, {"Name_Category_Desc", "Vertebrate Animal"}, {"Name_Type_CD", "A"}},
        {{"ID", 4}, {"Name_Category_Desc", "Terrestrial Community"}, {"Name_Type_CD", "C"}},
        {{"ID", 5}, {"Name_Category_Desc", "Unplaced"}, {"Name_Type_CD", "X"}}};
    std::vector<QVariantMap> rows;
    for (const QVariantMap& row : all) {
        if (code == "%" || row.value("Name_Type_CD").toString() == code)
            rows.push_back(row);
    }
    return std::make_shared<FakeLookupList>(rows);
}

std::shared_ptr<LookupList> levelsOf(const QVariant& category)
{
    // Category 2 has no levels of its own.
    if (category.toInt() == 2)
        return std::make_shared<FakeLookupList>(std::vector<QVariantMap> {});
    return std::make_shared<FakeLookupList>(
        std::vector<QVariantMap> {{{"ID", 10}, {"Classification_Level_Name", "Species"}},
                                  {{"ID", 11}, {"Classification_Level_Name", "Variety"}}});
}

} // namespace

void DetailsTestHost::SetUp()
{
    names = {{1, {"Abies alba", "Mill."}},
             {2, {"Abies grandis", "(Douglas ex D.Don) Lindl."}},
             {3, {"Picea abies", "(L.) H.Karst."}},
             {4, {"Pinus sylvestris", "L."}},
             {5, {"Larix decidua", "Mill."}}};
    ON_CALL(*host, GetServerName()).WillByDefault(Return(QString("bryx")));
    ON_CALL(*host, GetServerType()).WillByDefault(Return(1));
    ON_CALL(*host, GetUserID()).WillByDefault(Return(7));
    ON_CALL(*host, GetUserName()).WillByDefault(Return(QString("ann")));
    ON_CALL(*host, GetOrgUnitCode(_)).WillByDefault(Return(QString("XYZ")));
    ON_CALL(*host, GetControlAccess(_, _)).WillByDefault([this](const QString&, const QString&) {
        return controlAccess;
    });
    ON_CALL(*host, Message(_, _)).WillByDefault(Return(1));
    ON_CALL(*host, CheckPermission(_)).WillByDefault(Return(true));
    ON_CALL(*host, Delete(_, _, _, _))
        .WillByDefault([this](const QString&, int32_t& id, QString&, const QString&) {
            names.remove(id);
            return true;
        });
    ON_CALL(*host, CallGetQueryRSXML(_)).WillByDefault([this](QString& sql) {
        statements << sql;
        // The existence test of a move, and the duplicate test (no duplicates by default).
        const QString prefix = "Select * from scientific_name where scientific_name_id = ";
        if (sql.startsWith(prefix) && names.contains(sql.mid(prefix.size()).toInt()))
            return makeNameList({{sql.mid(prefix.size()).toInt(), "x"}});
        return makeNameList({});
    });
    auto viewManager = std::make_shared<NiceMock<MockViewManager>>();
    ON_CALL(*viewManager, colViews()).WillByDefault(Return(views));
    ON_CALL(*host, ViewManager()).WillByDefault(Return(viewManager));

    ON_CALL(*links, Count()).WillByDefault(Return(0));
    ON_CALL(*framework, CreateScientificNameRecord()).WillByDefault([this] { return makeRecord(); });
    ON_CALL(*framework, CreateRecordExtension()).WillByDefault([this] {
        auto made = std::make_unique<NiceMock<MockRecordExtension>>();
        extension = made.get();
        return made;
    });
    ON_CALL(*framework, CreateQueryObject()).WillByDefault([this] {
        auto query = std::make_unique<NiceMock<MockQueryObject>>();
        ON_CALL(*query, Run(_)).WillByDefault([this](const QString& sql) {
            statements << sql;
            const QString prefix = "select * from scientific_wl_vw where id=";
            const int id = sql.startsWith(prefix) ? sql.mid(prefix.size()).section(' ', 0, 0).toInt() : 0;
            std::vector<std::vector<QVariant>> rows;
            if (names.contains(id))
                rows.push_back({id, names[id].name, names[id].author, "Vascular Plant", "Species"});
            return makeRecordset({{"ID", DataType::Integer},
                                  {"Scientific_Name", DataType::VarWChar, 255},
                                  {"Author", DataType::VarWChar, 255},
                                  {"Category", DataType::VarWChar, 80},
                                  {"Classification_Level", DataType::VarWChar, 80}},
                                 rows);
        });
        return query;
    });
    ObjectRegistry::instance().registerClass(QLatin1String(DataFrameworkProgId),
                                             [this] { return framework; });

    ON_CALL(form, SetCaption(_)).WillByDefault([this](const QString& text) { caption = text; });
    ON_CALL(form, Caption()).WillByDefault([this] { return caption; });
    editor = new ScientificDetails(&form);
    form.resize(editor->size());
}

void DetailsTestHost::TearDown()
{
    delete editor;
    editor = nullptr;
    ObjectRegistry::instance().unregisterClass(QLatin1String(DataFrameworkProgId));
}

std::unique_ptr<ScientificNameRecord> DetailsTestHost::makeRecord()
{
    auto record = std::make_unique<Record>();
    auto shown = std::make_shared<int>(0);
    ON_CALL(*record, Retrieve(_, _, _))
        .WillByDefault([this, shown](const QVariant& id, const QVariant&, const QVariant&) {
            if (!names.contains(id.toInt()))
                throw Error(ErrorNumber::NoCurrentRecord,
                            QStringLiteral("Scientific name %1 does not exist").arg(id.toInt()));
            *shown = id.toInt();
            return true;
        });
    ON_CALL(*record, ID()).WillByDefault([shown] { return *shown; });
    ON_CALL(*record, ScientificName()).WillByDefault([this, shown] { return names.value(*shown).name; });
    ON_CALL(*record, AuthorName()).WillByDefault([this, shown] { return names.value(*shown).author; });
    ON_CALL(*record, DNameCategoryId()).WillByDefault([this, shown] {
        return QVariant(names.value(*shown).categoryId);
    });
    ON_CALL(*record, DClassificationLevelId()).WillByDefault([this, shown] {
        return names.value(*shown).levelId;
    });
    ON_CALL(*record, PlaceholderNameIndicator()).WillByDefault(Return(QString("N")));
    ON_CALL(*record, OrgUnit()).WillByDefault(Return(QVariant(1)));
    ON_CALL(*record, KeyNumber()).WillByDefault([shown] { return QVariant(1000 + *shown); });
    ON_CALL(*record, IsChanged(_)).WillByDefault([this](int) { return edited; });
    // A binding shows the field's value once, as the real one does when it is made.
    ON_CALL(*record, BindField(_, _, _, _))
        .WillByDefault([this, shown](QObject& control, const QString& property, const QString& field,
                                     const QVariant&) {
            const StoredName stored = names.value(*shown);
            const QMap<QString, QVariant> values = {{"FormattedScientificName", stored.name},
                                                    {"AuthorName", stored.author},
                                                    {"DNameCategoryId", QString::number(stored.categoryId)},
                                                    {"DClassificationLevelId", stored.levelId.toString()}};
            const QMetaObject& meta = *control.metaObject();
            for (int index = 0; index < meta.propertyCount(); ++index) {
                if (QString::fromLatin1(meta.property(index).name()).compare(property, Qt::CaseInsensitive)
                    == 0)
                    meta.property(index).write(&control, values.value(field, QString()));
            }
        });
    ON_CALL(*record, Save()).WillByDefault(Return(true));
    ON_CALL(*record, ReferenceLinks()).WillByDefault(Return(links));
    ON_CALL(*record, GetLookup(_, _, _)).WillByDefault([](const QString& list, const QVariant& filter, bool) {
        if (list == "NameCategory")
            return categoriesOf(filter.toString());
        if (list == "ClassificationLevel")
            return levelsOf(filter);
        return std::shared_ptr<LookupList>(std::make_shared<FakeLookupList>(
            std::vector<QVariantMap> {{{"ID", 1}, {"Nomenclaturally_Est_Desc", "Valid"}}}));
    });
    records.push_back(record.get());
    if (onRecordCreated)
        onRecordCreated(*record);
    return record;
}

void DetailsTestHost::startEmbedded(std::shared_ptr<Recordset> list, int id, const QString& extraInfo)
{
    QVariantList arguments {QVariant::fromValue(list),
                            QVariant::fromValue(std::shared_ptr<AppManager>(host)),
                            1,
                            QVariant::fromValue(std::shared_ptr<WindowManager>(winMan)),
                            QVariant::fromValue(views),
                            extraInfo};
    CallByName(*editor, "InitDetails", arguments);
    CallByName(*editor, "LoadData", {id});
    form.show();
}

void DetailsTestHost::startModal(int id, const QString& extraInfo)
{
    CallByName(*editor, "InitModalDetails",
               {QVariant::fromValue(std::shared_ptr<AppManager>(host)), extraInfo});
    CallByName(*editor, "LoadData", {id});
    form.show();
}

} // namespace bryx::test
