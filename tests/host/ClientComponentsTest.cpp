#include "../support/ErrorMatchers.h"
#include "../support/QtPrinters.h"
#include "TestDatabase.h"
#include "clients/ClientCollection.h"
#include "recordset/Recordset.h"
#include "services/SqlAppManager.h"

using namespace bryx;
using namespace bryx::host;
using namespace bryx::test;

class ClientComponents : public OnEachEngineWithHost {
protected:
    void SetUp() override
    {
        OnEachEngineWithHost::SetUp();
        if (IsSkipped())
            return;
        registerClientComponents();
        server = appManager->GetServerName();
        type = appManager->GetServerType();
    }
    std::shared_ptr<ComponentCollection> collectionFor(const char* client)
    {
        auto collection = CreateObject<ComponentCollection>("ClientFramework.ComponentCollection");
        collection->Initialize(client, server, type);
        return collection;
    }
    std::shared_ptr<ComponentCollection> findOption(const QString& category, const QString& escapedName,
                                                    int user = 1)
    {
        auto options = collectionFor("BRYX_UserOptClient.UserOptClient");
        EXPECT_TRUE(options->Find("Category_Option_Name", {category, escapedName, QString::number(user)}, -1,
                                  -1, -1));
        return options;
    }
    void addOption(const QString& category, const QString& name, const QString& value, int user = 1)
    {
        auto categories = collectionFor("BRYX_UserOpCatClient.UserOpCatClient");
        ASSERT_TRUE(categories->Find("User_Option_Category_Name", {category}, -1, -1, -1));
        ASSERT_EQ(categories->Count(), 1);
        auto option = CreateObject<UserOption>("BRYX_UserOptClient.UserOptClient");
        option->Connect(server, type);
        option->NewRecord(-1, {});
        option->SetName(name);
        option->SetValue(value);
        option->SetUserID(user);
        std::dynamic_pointer_cast<UserOptionCategory>(categories->Item(1))->Options()->Add(option, {});
        EXPECT_TRUE(categories->Save());
    }

    // Each user writes only their own options, so the viewer's is written on their connection.
    void addViewersOption(const QString& name, const QString& value)
    {
        Database viewer(database->urlFor("viewer"), Database::Access::ReadWrite);
        const QVariant category =
            viewer.scalar("SELECT user_option_category_id FROM user_option_category WHERE category_name = ?",
                          {"$USER_FIND_SCIENTIFIC"});
        viewer.exec("INSERT INTO user_option (user_option_id, user_option_category_id, option_name, user_id, "
                    "option_value) VALUES (?, ?, ?, 2, ?)",
                    {viewer.nextId(), category, name, value});
    }

    QString server;
    int32_t type = 0;
};
INSTANTIATE_ON_EACH_ENGINE(ClientComponents);

TEST_P(ClientComponents, OptionsAreCreatedFoundChangedAndRemovedPerUser)
{
    EXPECT_EQ(findOption("$USER_FIND_SCIENTIFIC", "O''Brien''s oaks")->Count(), 0);
    addOption("$USER_FIND_SCIENTIFIC", "O'Brien's oaks", "<BRYX>first</BRYX>");
    addOption("$USER_FIND_SCIENTIFIC", "Alpine mosses", "<BRYX>moss</BRYX>");
    addViewersOption("Viewer's own", "<BRYX/>");

    // The finder takes the name with its quotes doubled, as it once went into SQL text.
    auto found = findOption("$USER_FIND_SCIENTIFIC", "O''Brien''s oaks");
    ASSERT_EQ(found->Count(), 1);
    auto option = std::dynamic_pointer_cast<UserOption>(found->Item(1));
    EXPECT_EQ(option->Name(), QString("O'Brien's oaks"));
    EXPECT_EQ(option->Value(), QString("<BRYX>first</BRYX>"));
    option->SetValue("<BRYX>second</BRYX>");
    EXPECT_TRUE(found->Save());
    EXPECT_EQ(std::dynamic_pointer_cast<UserOption>(
                  findOption("$USER_FIND_SCIENTIFIC", "O''Brien''s oaks")->Item(1))
                  ->Value(),
              QString("<BRYX>second</BRYX>"));

    auto list = collectionFor("BRYX_UserOptClient.UserOptClient");
    ASSERT_TRUE(list->Find("CATEGORY_OPTIONS", {"$USER_FIND_SCIENTIFIC", "1"}, -1, -1, -1));
    QStringList names;
    for (const auto& item : list->Items())
        names << std::dynamic_pointer_cast<UserOption>(item)->Name();
    EXPECT_EQ(names, QStringList({"Alpine mosses", "O'Brien's oaks"}));

    auto toDelete = collectionFor("BRYX_UserOptClient.UserOptClient");
    ASSERT_TRUE(
        toDelete->Find("CATEGORY_OPTION_NAME", {"$USER_FIND_SCIENTIFIC", "Alpine mosses", "1"}, -1, -1, -1));
    ASSERT_EQ(toDelete->Count(), 1);
    toDelete->Remove(1);
    EXPECT_TRUE(toDelete->Save());
    EXPECT_EQ(findOption("$USER_FIND_SCIENTIFIC", "Alpine mosses")->Count(), 0);
    Database viewer(database->urlFor("viewer"), Database::Access::ReadOnly);
    EXPECT_EQ(
        viewer.scalar("SELECT count(*) FROM user_option WHERE option_name = ?", {"Viewer's own"}).toInt(), 1)
        << "the editor's removal left the viewer's option alone";
}

TEST_P(ClientComponents, FindersFailCleanlyAndCategoriesMustExist)
{
    auto options = collectionFor("BRYX_UserOptClient.UserOptClient");
    EXPECT_FALSE(options->Find("No_Such_Finder", {"x"}, -1, -1, -1));
    EXPECT_FALSE(options->Find("Category_Option_Name", {"too few"}, -1, -1, -1));
    auto categories = collectionFor("BRYX_UserOpCatClient.UserOpCatClient");
    ASSERT_TRUE(categories->Find("user_option_category_name", {"$NO_SUCH_CATEGORY"}, -1, -1, -1));
    EXPECT_EQ(categories->Count(), 0);
    EXPECT_BRYX_ERROR(collectionFor("BRYX_Unknown.Client"), ErrorNumber::CannotCreateObject);
    EXPECT_BRYX_ERROR(CreateObject<ComponentCollection>("No.Such.ProgId"), ErrorNumber::CannotCreateObject);
    EXPECT_BRYX_ERROR(CreateObject<UserOption>("ClientFramework.ComponentCollection"),
                      ErrorNumber::CannotCreateObject);
    EXPECT_BRYX_ERROR(options->Item(1), ErrorNumber::SubscriptOutOfRange);

    // An option saved outside any category has nowhere to go.
    auto loose = CreateObject<UserOption>("BRYX_UserOptClient.UserOptClient");
    loose->NewRecord(-1, {});
    loose->SetName("loose");
    options->Add(loose, {});
    EXPECT_BRYX_ERROR(options->Save(), ErrorNumber::InvalidArgument);
}

TEST_P(ClientComponents, ReferencesOfANameLoadInDisplayOrderAndAreFoundById)
{
    auto db = database->open();
    const int picea =
        db->scalar("SELECT scientific_name_id FROM scientific_name WHERE scientific_name = 'Picea abies'")
            .toInt();
    auto references = collectionFor("BRYX_ReferenceClient.RefClient");
    ASSERT_TRUE(references->Load("ScientificName_References", picea, {}, {}, {}));
    ASSERT_EQ(references->Count(), 3);
    QStringList codes;
    for (const auto& item : references->Items())
        codes << std::dynamic_pointer_cast<Reference>(item)->ReferenceCode();
    EXPECT_EQ(codes, QStringList({"KARS1881", "LINN1753", "STAC2019"}));
    const int linnaeus = std::dynamic_pointer_cast<Reference>(references->Item(2))->ID();
    auto found =
        std::dynamic_pointer_cast<Reference>(references->FindItem(QStringLiteral("ID = %1").arg(linnaeus)));
    ASSERT_TRUE(found);
    EXPECT_TRUE(found->FullCitation().startsWith("Linnaeus, C. 1753. Species Plantarum"));
    EXPECT_EQ(references->FindItem("ID = 999999"), nullptr);
    EXPECT_EQ(references->ItemByKey(QString::number(linnaeus)), references->Item(2));
}

TEST_P(ClientComponents, AuditCommentsAreLoadedEditedAndSavedTogether)
{
    auto comments = collectionFor("BRYX_AuditLogClient.cAuditLog");
    ASSERT_TRUE(comments->Load("Empty", QString(), {}, {}, {}));
    EXPECT_EQ(comments->Count(), 0);

    auto existing = CreateObject<AuditComment>("BRYX_AuditLogClient.cAuditLog");
    existing->Connect(server, type);
    ASSERT_TRUE(existing->Load(2));
    EXPECT_TRUE(existing->Comment().startsWith("Author abbreviation"));
    existing->SetComment("first edit");
    existing->SetComment("Checked against IPNI");
    comments->Add(existing, "2");
    auto fresh = CreateObject<AuditComment>("BRYX_AuditLogClient.cAuditLog");
    fresh->Connect(server, type);
    fresh->Load(3);
    fresh->SetComment("Comment added later");
    comments->Add(fresh, "3");
    EXPECT_EQ(comments->FindItem("AuditLogColumnId = 3"), fresh);
    ASSERT_TRUE(comments->Save());

    auto picea = appManager->Auditing(
        "SCIENTIFIC_NAME",
        database->open()->scalar("SELECT primary_key FROM audit_log WHERE audit_log_column_id = 2").toInt(),
        "");
    QStringList texts;
    for (int position = 0; position < picea->RecordCount(); ++position)
        texts << picea->TextAt(position, picea->FieldIndexOf("Comments"));
    EXPECT_EQ(texts, QStringList({"", "Checked against IPNI", "Comment added later"}));
}
