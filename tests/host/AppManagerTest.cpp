#include "../support/ErrorMatchers.h"
#include "../support/QtPrinters.h"
#include "../support/RecordsetBuilder.h"
#include "../support/ScriptedMessageBox.h"
#include "SearchStatement.h"
#include "TestDatabase.h"
#include "collection/Collection.h"
#include "common/LookupLists.h"
#include "common/SqlText.h"
#include "controls/ListSink.h"
#include "services/MessageCatalogue.h"
#include "services/SqlAppManager.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QObject>
#include <QSqlQuery>
#include <QTemporaryDir>

using namespace bryx;
using namespace bryx::host;
using namespace bryx::test;

namespace {

class Items : public ListSink {
public:
    void Clear() override { items.clear(); }
    void AddItem(const QString& item) override { items << item; }
    QStringList items;
};

// The values of one column, sorted: a search statement has no ORDER BY, so row order is the
// engine's own.
QStringList column(Recordset& rs, const QString& field)
{
    QStringList values;
    for (int position = 0; position < rs.RecordCount(); ++position)
        values << rs.TextAt(position, rs.FieldIndexOf(field));
    values.sort();
    return values;
}

} // namespace

class AppManagerOnEngine : public OnEachEngineWithHost {
protected:
    std::shared_ptr<Recordset> search(const SearchCriteria& criteria)
    {
        QString sql = BuildSearchSQL(criteria);
        return appManager->CallGetQueryRSXML(sql);
    }
};
INSTANTIATE_ON_EACH_ENGINE(AppManagerOnEngine);

TEST_P(AppManagerOnEngine, SearchesAnswerWhatTheStatementAsks)
{
    SearchCriteria contains {0, {}, {}, 0, "abies", {}};
    auto rows = search(contains);
    EXPECT_EQ(rows->FieldCount(), 6);
    EXPECT_EQ(
        column(*rows, "Scientific_Name"),
        QStringList({"Abies alba", "Abies alba", "Abies grandis", "Abies nordmanniana", "Picea abies"}));
    EXPECT_EQ(rows->Fields("ID").Type(), int(DataType::Integer));

    SearchCriteria begins {0, {}, {}, 2, "pinus", {}};
    EXPECT_EQ(search(begins)->RecordCount(), 8);
    SearchCriteria beginsWithQuote {1, {}, {}, 2, "o'", {}};
    EXPECT_EQ(search(beginsWithQuote)->RecordCount(), 0);
    SearchCriteria exactDifferentCase {0, {}, {}, 1, "acer SP.", {}};
    EXPECT_EQ(search(exactDifferentCase)->RecordCount(), 2);
    SearchCriteria hybrid {0, {}, {}, 0, "× e", {}};
    EXPECT_EQ(column(*search(hybrid), "Scientific_Name"), QStringList({"Tilia × europaea"}));
    SearchCriteria ends {1, {}, {}, 3, "idae", {}};
    EXPECT_EQ(search(ends)->RecordCount(), 3);
    SearchCriteria wildcard {1, {}, {}, 4, "C_NIS%", {}};
    EXPECT_EQ(column(*search(wildcard), "Scientific_Name"),
              QStringList({"Canis", "Canis lupus", "Canis lupus familiaris"}));
    SearchCriteria categoryAndLevel {2, "Wetland Community", "Alliance", 0, "", {}};
    EXPECT_EQ(search(categoryAndLevel)->RecordCount(), 10);
    SearchCriteria authorText {2, {}, {}, 0, "RÜBEL", {}};
    EXPECT_EQ(search(authorText)->RecordCount(), 0); // the name is searched, not the author
}

TEST_P(AppManagerOnEngine, AnIdTypedAsTextFindsTheNumberedRecord)
{
    auto rows = search(SearchCriteria {0, "ignored", "ignored", 0, "ignored", "42"});
    ASSERT_EQ(rows->RecordCount(), 1);
    EXPECT_EQ(rows->Fields("ID").Value(), QVariant(42));
    EXPECT_EQ(search(SearchCriteria {0, {}, {}, 0, {}, "999999"})->RecordCount(), 0);
}

TEST_P(AppManagerOnEngine, UpperFoldsNonAsciiLettersLikeTheServer)
{
    QString sql = "select upper('müll.arg. ärger') as folded, upper('straße') as kept";
    auto rows = appManager->CallGetQueryRSXML(sql);
    EXPECT_EQ(rows->Fields("folded").Value(), QVariant("MÜLL.ARG. ÄRGER"));
    // One code point for one, as the search composer upper-cases the typed text.
    EXPECT_EQ(rows->Fields("kept").Value(), QVariant(upperCaseForSql("straße")));
}

TEST_P(AppManagerOnEngine, TheSearchPathRefusesEverythingButOneSelect)
{
    auto db = database->open();
    const int before = db->scalar("SELECT count(*) FROM scientific_name").toInt();
    const QString attempts[] = {
        "delete from scientific_name",
        "select 1; delete from scientific_name",
        "select * from scientific_srch_vw where ID='1'; drop table reference --'",
        "  /* comment */ update scientific_name set scientific_name = 'x'",
        "with gone as (delete from scientific_name returning *) select * from gone",
        "select * from scientific_srch_vw where ID='1",
        "",
    };
    for (QString sql : attempts) {
        try {
            appManager->CallGetQueryRSXML(sql);
            ADD_FAILURE() << "ran: " << sql.toStdString();
        } catch (const Error& error) {
            EXPECT_FALSE(error.Description().isEmpty());
        }
    }
    EXPECT_EQ(db->scalar("SELECT count(*) FROM scientific_name").toInt(), before);
    QString harmless = "select count(*) as n from scientific_srch_vw where Scientific_Name <> 'a;b' -- ;";
    EXPECT_EQ(appManager->CallGetQueryRSXML(harmless)->Fields("n").Value().toInt(), before);
}

TEST_P(AppManagerOnEngine, LookupListsLoadThroughTheHostInDisplayOrder)
{
    Items categories;
    LoadNameCategories(*appManager, categories, "P");
    EXPECT_EQ(categories.items, QStringList({"Vascular Plant", "Nonvascular Plant", "Fungus"}));
    Items levels;
    LoadClassificationLevels(*appManager, levels, "Vascular Plant");
    EXPECT_EQ(levels.items, QStringList({"Species", "Subspecies", "Variety", "Form"}));
    Items communityLevels;
    LoadClassificationLevels(*appManager, communityLevels, "Wetland Community");
    EXPECT_EQ(communityLevels.items, QStringList({"Alliance", "Association"}));
}

TEST_P(AppManagerOnEngine, PrototypesUserAndOrgUnitComeFromTheDatabase)
{
    auto prototype = appManager->GetPrototypeRSForView("SNM");
    EXPECT_EQ(prototype->RecordCount(), 0);
    QStringList names;
    for (int f = 0; f < prototype->FieldCount(); ++f)
        names << prototype->Fields(f).Name().toLower();
    EXPECT_EQ(names, QStringList({"id", "scientific_name", "author", "category", "classification_level"}));
    EXPECT_EQ(appManager->GetPrototypeRSForView("REF")->FieldCount(), 4);
    EXPECT_BRYX_ERROR(appManager->GetPrototypeRSForView("ELE"), ErrorNumber::InvalidArgument);

    EXPECT_EQ(appManager->GetUserID(), 1);
    EXPECT_EQ(appManager->GetUserName(), QString("editor"));
    EXPECT_EQ(appManager->GetSystemOrgUnitID(), 1);
    EXPECT_EQ(appManager->GetOrgUnitCode(2), QString("NHZ"));
    EXPECT_EQ(appManager->GetServerType(), GetParam() == Dialect::SQLite ? 1 : 2);
    EXPECT_BRYX_ERROR(SqlAppManager(database->url(), "mallory"), ErrorNumber::InvalidArgument);

    auto views = appManager->ViewManager()->colViews();
    ASSERT_EQ(views->Count(), 4);
    EXPECT_EQ(Collection::entryOf(views->Item(2))->Item("WORKING_LIST_TYPE"), QVariant("REF"));
}

TEST_P(AppManagerOnEngine, RelatedRecordSqlFromTheMenuBuilderSelectsTheLinks)
{
    auto db = database->open();
    const int32_t picea = database->nameId("Picea abies", "(L.) H.Karst.");
    QString sql = appManager->MenuBuilder()->GetConvertFromParentSQL("SNM", "REF", "References...");
    sql.replace("?", QString::number(picea));
    EXPECT_EQ(appManager->CallGetQueryRSXML(sql)->RecordCount(), 3);
    QString established = appManager->MenuBuilder()->GetConvertFromParentSQL("SNM", "SNM", "Established");
    established.replace("?", QString::number(database->nameId("Abies alba", "Michx.")));
    EXPECT_EQ(column(*appManager->CallGetQueryRSXML(established), "Scientific_Name"),
              QStringList({"Picea glauca"}));
    EXPECT_EQ(appManager->MenuBuilder()->GetConvertFromParentSQL("SNM", "ETK", "x"), QString());
}

TEST_P(AppManagerOnEngine, DeleteRemovesTheNameWithItsLinksAndAuditsEveryValue)
{
    auto db = database->open();
    int32_t spruce = database->nameId("Picea glauca", "(Moench) Voss");
    int32_t abies = database->nameId("Abies alba", "Mill.");
    QString user = "editor";

    SqlAppManager viewer(database->urlFor("viewer"), "viewer");
    EXPECT_FALSE(viewer.Delete("delete_table_data", abies, user, "scientific_name"));
    EXPECT_EQ(
        db->scalar("SELECT count(*) FROM scientific_name WHERE scientific_name_id = ?", {abies}).toInt(), 1);

    ASSERT_TRUE(appManager->Delete("delete_table_data", abies, user, "scientific_name"));
    EXPECT_EQ(
        db->scalar("SELECT count(*) FROM scientific_name WHERE scientific_name_id = ?", {abies}).toInt(), 0);
    EXPECT_EQ(
        db->scalar("SELECT count(*) FROM scientific_name_reference WHERE scientific_name_id = ?", {abies})
            .toInt(),
        0);
    const QVariant oldAuthor =
        db->scalar("SELECT old_value FROM audit_log WHERE primary_key = ? AND action = 'D' "
                   "AND column_name = 'author_name'",
                   {abies});
    EXPECT_EQ(oldAuthor, QVariant("Mill."));

    // A name others point at as their established name can go; the pointers are cleared.
    ASSERT_TRUE(appManager->Delete("delete_table_data", spruce, user, "scientific_name"));
    EXPECT_TRUE(
        db->scalar(
              "SELECT nomenclaturally_est_sn_id FROM scientific_name WHERE scientific_name = 'Abies alba'")
            .isNull());
    int32_t gone = 999999;
    EXPECT_FALSE(appManager->Delete("delete_table_data", gone, user, "scientific_name"));
    EXPECT_BRYX_ERROR(appManager->Delete("drop_everything", gone, user, "scientific_name"),
                      ErrorNumber::InvalidArgument);
}

TEST_P(AppManagerOnEngine, CopyTakesTheChosenNamesDataIntoTheCurrentOneWithAudit)
{
    auto db = database->open();
    int32_t target = database->nameId("Larix decidua", "Mill.");
    const int32_t source = database->nameId("Larix kaempferi", "(Lamb.) Carrière");
    QString user = "editor";
    ASSERT_TRUE(appManager->Copy("COPY_SNM", source, target, user));
    EXPECT_EQ(db->scalar("SELECT author_name FROM scientific_name WHERE scientific_name_id = ?", {target}),
              QVariant("(Lamb.) Carrière"));
    EXPECT_EQ(
        db->scalar("SELECT count(*) FROM audit_log WHERE primary_key = ? AND action = 'U'", {target}).toInt(),
        3);
    EXPECT_FALSE(appManager->Copy("COPY_SNM", target, target, user));
    EXPECT_FALSE(appManager->Copy("COPY_SNM", "not a number", target, user));
}

TEST_P(AppManagerOnEngine, AuditingAnswersTheRecordOrOneColumnWithComments)
{
    auto db = database->open();
    const int32_t picea = database->nameId("Picea abies", "(L.) H.Karst.");
    auto all = appManager->Auditing("SCIENTIFIC_NAME", picea, "");
    EXPECT_EQ(all->RecordCount(), 3);
    auto author = appManager->Auditing("scientific_name", picea, "AUTHOR_NAME");
    ASSERT_EQ(author->RecordCount(), 1);
    EXPECT_EQ(author->Fields("Old_Value").Value(), QVariant("(L.) Karst."));
    EXPECT_TRUE(author->Fields("Comments").Value().toString().startsWith("Author abbreviation"));
    EXPECT_EQ(appManager->Auditing("SCIENTIFIC_NAME", picea, "it's")->RecordCount(), 0);
}

TEST_P(AppManagerOnEngine, SecurityFollowsTheRole)
{
    SqlAppManager viewer(database->urlFor("viewer"), "viewer");
    QObject component;
    std::vector<std::unique_ptr<QObject>> owned;
    ControlList controls;
    for (const char* name :
         {"mnuFileSave", "cmdNew", "mnuEditDelete", "mnuNewBotanical", "mnuFileSaveSearch",
          "mnuFileNewSearch", "mnuFileDeleteSearch", "cmdStartSearch", "mnuToolsCopyDataFrom"}) {
        owned.push_back(std::make_unique<QObject>());
        owned.back()->setObjectName(name);
        owned.back()->setProperty("Enabled", true);
        controls << owned.back().get();
    }
    auto disabledBy = [&](const QString& componentName) {
        for (QObject* control : controls)
            control->setProperty("Enabled", true);
        viewer.ApplySecurity(component, {}, componentName, controls);
        QStringList disabled;
        for (QObject* control : controls) {
            if (!control->property("Enabled").toBool())
                disabled << control->objectName();
        }
        return disabled;
    };
    EXPECT_EQ(
        disabledBy("ScientificDetails"),
        QStringList({"mnuFileSave", "cmdNew", "mnuEditDelete", "mnuNewBotanical", "mnuToolsCopyDataFrom"}));
    // In the search panel New, Open and Save concern the user's own searches; only new names
    // are records.
    EXPECT_EQ(disabledBy("ScientificSearch"), QStringList({"cmdNew", "mnuNewBotanical"}));
    EXPECT_EQ(viewer.GetControlAccess("ScientificDetails", "mnuFileSave"), QString("R"));
    EXPECT_EQ(appManager->GetControlAccess("ScientificDetails", "mnuFileSave"), QString("F"));
    int32_t any = 1;
    EXPECT_FALSE(viewer.CheckPermission(any));
    EXPECT_TRUE(appManager->CheckPermission(any));

    for (QObject* control : controls)
        control->setProperty("Enabled", false);
    appManager->ApplySecurity(component, {}, "ScientificSearch", controls);
    appManager->EnableControl(*controls.front(), "ScientificSearch");
    EXPECT_TRUE(controls.front()->property("Enabled").toBool());
}

TEST(MessageCatalogue, EveryIdentifierTheComponentsShowHasATextAndButtons)
{
    for (const char* id :
         {"APP001", "APP003", "APP007", "APP008", "APP009", "APP010", "APP011", "APP012", "APP013",
          "APP014", "APP027", "APP028", "APP029", "APP036", "APP043", "APP046", "SNM001", "SNM002",
          "SNM003", "SNM004", "SNM005", "SNM006", "SNM007", "SNM008", "SNM009", "MGA013"})
        EXPECT_TRUE(MessageCatalogue::find(id).has_value()) << id;
    EXPECT_EQ(MessageCatalogue::find("APP043")->style & 7, MsgBoxStyle::YesNo);
    EXPECT_EQ(MessageCatalogue::find("SNM001")->style & 7, MsgBoxStyle::YesNoCancel);
    EXPECT_EQ(MessageCatalogue::find("APP029")->style & 7, MsgBoxStyle::OKCancel);

    const auto filled = MessageCatalogue::compose("APP007", {"Trees %2 of 'mine'"});
    EXPECT_TRUE(filled.text.contains("\"Trees %2 of 'mine'\"")) << filled.text.toStdString();
    EXPECT_TRUE(MessageCatalogue::compose("XYZ999", {}).text.contains("XYZ999"));
}

TEST_P(AppManagerOnEngine, MessagesGoThroughTheMessageBoxServiceWithTheirAnswers)
{
    ScriptedMessageBox boxes;
    boxes.answer(MsgBoxResult::No);
    auto arguments = std::make_shared<Collection>();
    arguments->Add(QString("Oaks"));
    EXPECT_EQ(appManager->Message("APP007", arguments), MsgBoxResult::No);
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_TRUE(boxes.shown()[0].prompt.contains("\"Oaks\""));
    EXPECT_EQ(boxes.shown()[0].style & 7, MsgBoxStyle::YesNo);
    EXPECT_EQ(appManager->Message("APP043", nullptr), MsgBoxResult::OK);
}

TEST(AppManagerHelp, TheHelpSetIsFoundBesideTheProgramOrWhereItIsInstalled)
{
    QTemporaryDir prefix;
    const QDir root(prefix.path());
    root.mkpath("bin");
    const QString programs = root.filePath("bin");
    const QString beside = root.filePath("bin/help/index.html");
    const QString installed = root.filePath("share/bryx-host/help/index.html");
    auto write = [](const QString& path) {
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    };
    EXPECT_EQ(SqlAppManager::helpFileFor(programs), beside)
        << "with neither, the message about a missing help file names the build folder's place";
    write(installed);
    EXPECT_EQ(SqlAppManager::helpFileFor(programs), installed);
    write(beside);
    EXPECT_EQ(SqlAppManager::helpFileFor(programs), beside) << "a build folder's own help set wins";
}
