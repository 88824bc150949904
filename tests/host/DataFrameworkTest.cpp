#include "../support/ErrorMatchers.h"
#include "../support/QtPrinters.h"
#include "TestDatabase.h"
#include "data/SqlDataFramework.h"
#include "data/SqlScientificNameRecord.h"
#include "db/Schema.h"
#include "recordset/Recordset.h"
#include "services/SqlAppManager.h"

#include <QDomDocument>
#include <set>

using namespace bryx;
using namespace bryx::host;
using namespace bryx::test;

namespace {

// A control with one text property that tells when the user changes it.
class TextControl : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString Text READ text WRITE setText NOTIFY textChanged)
public:
    QString text() const { return m_text; }
    void setText(const QString& text)
    {
        if (text == m_text)
            return;
        m_text = text;
        emit textChanged();
    }
    // What a user's typing does: the property changes and the control says so.
    void type(const QString& text) { setText(text); }
signals:
    void textChanged();

private:
    QString m_text;
};

} // namespace

class DataFrameworkOnEngine : public OnEachEngineWithHost {
protected:
    std::unique_ptr<SqlScientificNameRecord> record()
    {
        auto made = std::make_unique<SqlScientificNameRecord>();
        made->Connect(appManager->GetServerName(), appManager->GetServerType());
        return made;
    }
};
INSTANTIATE_ON_EACH_ENGINE(DataFrameworkOnEngine);

TEST_P(DataFrameworkOnEngine, BoundControlsShowFieldsAndOnlyRealEditsCount)
{
    auto name = record();
    const int32_t id = database->nameId("Pelargonium zonale", "(L.) L'Hér.");
    ASSERT_TRUE(name->Retrieve(id, 0, 0));
    EXPECT_EQ(name->ScientificName(), QString("Pelargonium zonale"));
    EXPECT_EQ(name->FormattedScientificName(), QString("<i>Pelargonium</i> <i>zonale</i>"));

    TextControl author;
    TextControl comments;
    name->BindField(author, "Text", "AuthorName", {});
    name->BindField(comments, "text", "ScientificNameCom", {}); // property names match without regard to case
    EXPECT_EQ(author.text(), QString("(L.) L'Hér."));
    EXPECT_EQ(comments.text(), QString());
    EXPECT_FALSE(name->IsChanged(0));

    author.type("(L.) L'Hér.");
    EXPECT_FALSE(name->IsChanged(0)); // typing the same text is no change
    author.type("(L.) L'Hér. ex Aiton");
    EXPECT_TRUE(name->IsChanged(0));
    EXPECT_EQ(name->AuthorName(), QString("(L.) L'Hér. ex Aiton"));

    name->UnbindField("AuthorName");
    author.type("no longer bound");
    EXPECT_EQ(name->AuthorName(), QString("(L.) L'Hér. ex Aiton"));
    EXPECT_BRYX_ERROR(name->BindField(author, "Colour", "AuthorName", {}), ErrorNumber::ObjectDoesNotSupport);
    EXPECT_BRYX_ERROR(name->BindField(author, "Text", "NoSuchField", {}), ErrorNumber::ItemNotFound);
}

TEST_P(DataFrameworkOnEngine, SaveWritesTheRecordItsAuditAndTheModifyingUser)
{
    auto name = record();
    const int32_t id = database->nameId("Pinus cembra", "L.");
    name->Retrieve(id, 0, 0);
    name->SetAuthorName("L. (1753)");
    name->SetField("ScientificNameCom", "Swiss stone pine");
    name->SetModifiedBy("editor");
    ASSERT_TRUE(name->Save()) << name->lastRefusal().toStdString();
    EXPECT_FALSE(name->IsChanged(0));

    auto db = database->open();
    EXPECT_EQ(db->scalar("SELECT author_name FROM scientific_name WHERE scientific_name_id = ?", {id}),
              QVariant("L. (1753)"));
    EXPECT_EQ(db->scalar("SELECT rec_last_mod_user FROM scientific_name WHERE scientific_name_id = ?", {id}),
              QVariant("editor"));
    auto audit = appManager->Auditing("SCIENTIFIC_NAME", id, "");
    QStringList audited;
    for (int position = 0; position < audit->RecordCount(); ++position)
        audited << audit->TextAt(position, audit->FieldIndexOf("Column_Name"));
    audited.sort();
    ASSERT_EQ(audited, QStringList({"author_name", "scientific_name_com"}));
    EXPECT_EQ(appManager->Auditing("SCIENTIFIC_NAME", id, "author_name")->Fields("Old_Value").Value(),
              QVariant("L."));
    EXPECT_TRUE(
        appManager->Auditing("SCIENTIFIC_NAME", id, "scientific_name_com")->Fields("Old_Value").IsNull());

    // Saving again without edits stores nothing new.
    ASSERT_TRUE(name->Save());
    EXPECT_EQ(appManager->Auditing("SCIENTIFIC_NAME", id, "")->RecordCount(), 2);
}

TEST_P(DataFrameworkOnEngine, TheSecondOfTwoConcurrentSavesIsRefusedAndTheFirstSurvives)
{
    const int32_t id = database->nameId("Ginkgo biloba", "L.");
    auto first = record();
    auto second = record();
    first->Retrieve(id, 0, 0);
    second->Retrieve(id, 0, 0);
    first->SetField("TranslatedName", "maidenhair tree");
    second->SetField("TranslatedName", "ginkgo");
    second->SetAuthorName("L. (edited)");
    ASSERT_TRUE(first->Save());
    EXPECT_FALSE(second->Save());
    EXPECT_TRUE(second->lastRefusal().contains("another user"));

    auto db = database->open();
    EXPECT_EQ(db->scalar("SELECT translated_name FROM scientific_name WHERE scientific_name_id = ?", {id}),
              QVariant("maidenhair tree"));
    EXPECT_EQ(db->scalar("SELECT author_name FROM scientific_name WHERE scientific_name_id = ?", {id}),
              QVariant("L."));

    // Read again, the second editor can save over the first one's version.
    second->Retrieve(id, 0, 0);
    second->SetField("TranslatedName", "ginkgo");
    EXPECT_TRUE(second->Save());
    // A record deleted meanwhile is refused too.
    QString user = "editor";
    int32_t doomed = id;
    first->SetField("Acronym", "GB");
    ASSERT_TRUE(appManager->Delete("delete_table_data", doomed, user, "scientific_name"));
    EXPECT_FALSE(first->Save());
}

TEST_P(DataFrameworkOnEngine, BlankRecordsHaveUniqueIdsAndInvalidOnesStoreNothing)
{
    std::set<int32_t> ids;
    for (int i = 0; i < 5; ++i) {
        auto blank = record();
        blank->NewRecord(false, {});
        EXPECT_TRUE(blank->IsNew());
        EXPECT_TRUE(ids.insert(blank->ID()).second);
    }
    auto blank = record();
    blank->NewRecord(false, {});
    const int32_t id = blank->ID();
    EXPECT_FALSE(blank->Save());
    EXPECT_TRUE(blank->lastRefusal().contains("empty"));
    blank->SetScientificName("Quercus cerris");
    EXPECT_FALSE(blank->Save()); // no category yet
    blank->SetField("DNameCategoryId", 9999);
    EXPECT_FALSE(blank->Save());
    EXPECT_TRUE(blank->lastRefusal().contains("not one of the known categories"));
    blank->SetField("DNameCategoryId", 1);
    blank->SetField("Acronym", QString(41, 'A'));
    EXPECT_FALSE(blank->Save()) << "PostgreSQL would refuse it and SQLite must not keep it";
    EXPECT_TRUE(blank->lastRefusal().contains("at most 40 fit")) << blank->lastRefusal().toStdString();
    blank->SetField("Acronym", QVariant());
    blank->SetNomenclaturallyEstablishedId(blank->ID());
    EXPECT_FALSE(blank->Save());
    EXPECT_TRUE(blank->lastRefusal().contains("its own")) << blank->lastRefusal().toStdString();
    blank->SetNomenclaturallyEstablishedId(QString());
    blank->SetPlaceholderNameIndicator("maybe");
    EXPECT_FALSE(blank->Save());
    auto db = database->open();
    EXPECT_EQ(db->scalar("SELECT count(*) FROM scientific_name WHERE scientific_name_id = ?", {id}).toInt(),
              0);

    blank->SetPlaceholderNameIndicator("N");
    blank->SetAuthorName("L.");
    blank->SetModifiedBy("editor");
    ASSERT_TRUE(blank->Save()) << blank->lastRefusal().toStdString();
    EXPECT_FALSE(blank->IsNew());
    EXPECT_EQ(
        db->scalar("SELECT count(*) FROM scientific_srch_vw WHERE ID = ? AND Category = 'Vascular Plant'",
                   {id})
            .toInt(),
        1);
    EXPECT_EQ(appManager->Auditing("SCIENTIFIC_NAME", id, "")->Fields("Action").Value(), QVariant("I"));
}

TEST_P(DataFrameworkOnEngine, ASecondOriginalPublicationIsRefusedClearlyAndOlderDataIsMadeToFit)
{
    auto name = record();
    const int32_t id = database->nameId("Picea abies", "(L.) H.Karst.");
    name->Retrieve(id, 0, 0);
    auto links = name->ReferenceLinks();
    int originals = 0;
    std::shared_ptr<ReferenceLink> other;
    for (int i = 1; i <= links->Count(); ++i) {
        if (links->Item(i)->Field("OriginalPublicationInd") == QVariant("Y"))
            ++originals;
        else
            other = links->Item(i);
    }
    ASSERT_EQ(originals, 1);
    ASSERT_TRUE(other);
    other->SetField("OriginalPublicationInd", "Y");
    try {
        other->Save();
        ADD_FAILURE() << "a second original publication was stored";
    } catch (const Error& error) {
        EXPECT_TRUE(error.Description().contains("Only one reference can be the original publication"))
            << error.Description().toStdString();
    }

    // A database of the previous version with two originals for one name keeps the first.
    auto db = database->openAsAdmin();
    db->exec("DROP INDEX scientific_name_reference_original_idx");
    db->exec(
        "UPDATE scientific_name_reference SET original_publication_ind = 'Y' WHERE scientific_name_id = ?",
        {id});
    db->exec("DELETE FROM schema_version WHERE version >= 3");
    Schema::upgrade(*db);
    EXPECT_EQ(Schema::version(*db), Schema::CurrentVersion);
    EXPECT_EQ(db->scalar("SELECT count(*) FROM scientific_name_reference WHERE scientific_name_id = ? AND "
                         "original_publication_ind = 'Y'",
                         {id})
                  .toInt(),
              1);
}

TEST_P(DataFrameworkOnEngine, ReferenceLinksLeaveTheListWhenDeletedAndTheDatabaseWithTheRecordsSave)
{
    auto name = record();
    const int32_t id = database->nameId("Picea abies", "(L.) H.Karst.");
    name->Retrieve(id, 0, 0);
    auto links = name->ReferenceLinks();
    ASSERT_EQ(links->Count(), 3);
    EXPECT_EQ(links->Item(1)->Field("ReferenceCode"), QVariant("KARS1881"));
    auto linnaeus = links->Find("ReferenceID = " + links->Item(2)->Field("ReferenceID").toString());
    ASSERT_TRUE(linnaeus);
    EXPECT_EQ(linnaeus->Field("PrimaryReferenceInd"), QVariant("Y"));

    const int newReference =
        database->open()
            ->scalar("SELECT reference_id FROM reference WHERE reference_code = 'ELLE1996'")
            .toInt();
    auto added = links->Add();
    EXPECT_TRUE(added->IsNew());
    EXPECT_EQ(links->Item(4), added);
    added->SetField("ReferenceID", newReference);
    added->SetField("DisplayOrder", "4");
    EXPECT_TRUE(
        links->Find("ScientificNameReferenceId = " + added->Field("ScientificNameReferenceId").toString()));
    linnaeus->SetField("PrimaryReferenceInd", "N");
    EXPECT_TRUE(linnaeus->IsChanged());
    const QString gone = links->Item(3)->Field("ScientificNameReferenceId").toString();
    links->Item(3)->Delete();
    EXPECT_EQ(links->Count(), 3) << "a deleted link is no longer listed";
    EXPECT_FALSE(links->Find("ScientificNameReferenceId = " + gone));
    EXPECT_EQ(
        database->open()
            ->scalar("SELECT count(*) FROM scientific_name_reference WHERE scientific_name_id = ?", {id})
            .toInt(),
        3)
        << "nor is it deleted before the save";
    // Saved as the editor saves: the record, then every link.
    name->SetModifiedBy("editor");
    ASSERT_TRUE(name->Save());
    for (int i = 1; i <= links->Count(); ++i)
        EXPECT_TRUE(links->Item(i)->Save());

    auto reread = record();
    reread->Retrieve(id, 0, 0);
    auto stored = reread->ReferenceLinks();
    QStringList codes;
    for (int i = 1; i <= stored->Count(); ++i)
        codes << stored->Item(i)->Field("ReferenceCode").toString() + "/"
                + stored->Item(i)->Field("PrimaryReferenceInd").toString();
    EXPECT_EQ(codes, QStringList({"KARS1881/N", "LINN1753/N", "ELLE1996/N"}));

    // A link added and deleted before any save never reaches the database.
    auto passing = stored->Add();
    passing->SetField("ReferenceID", newReference);
    passing->Delete();
    EXPECT_EQ(stored->Count(), 3);
    reread->SetModifiedBy("editor");
    ASSERT_TRUE(reread->Save());
    EXPECT_EQ(
        database->open()
            ->scalar("SELECT count(*) FROM scientific_name_reference WHERE scientific_name_reference_id = ?",
                     {passing->Field("ScientificNameReferenceId")})
            .toInt(),
        0);
    EXPECT_BRYX_ERROR(stored->Item(0), ErrorNumber::SubscriptOutOfRange);
}

TEST_P(DataFrameworkOnEngine, CodeListsPropertyDescriptionAndQueryObjects)
{
    auto name = record();
    name->Retrieve(database->nameId("Abies alba", "Mill."), 0, 0);
    auto categories = name->GetLookup("NameCategory", "%", true);
    EXPECT_EQ(categories->Count(), 7);
    EXPECT_EQ(categories->ValueForKey(name->DNameCategoryId(), "Name_Type_CD"), QVariant("P"));
    auto levels = name->GetLookup("ClassificationLevel", name->DNameCategoryId(), true);
    EXPECT_EQ(levels->ValueForKey(name->DClassificationLevelId(), "Classification_Level_Name"),
              QVariant("Species"));
    auto establishment = name->GetLookup("NomenclaturallyEst", {}, true);
    const int empty = establishment->AddRow();
    establishment->SetValue(empty, "Nomenclaturally_Est_Desc", "");
    EXPECT_EQ(establishment->Count(), 5);
    EXPECT_EQ(establishment->Value(1, "Nomenclaturally_Est_Desc"), QVariant("Accepted"));
    EXPECT_BRYX_ERROR(name->GetLookup("Colours", {}, true), ErrorNumber::InvalidArgument);

    QDomDocument description;
    ASSERT_TRUE(description.setContent(name->PropertyDescription()));
    const QDomElement author = description.documentElement()
                                   .firstChildElement("COMPONENT_PROPERTIES")
                                   .firstChildElement("AuthorName");
    EXPECT_EQ(author.firstChild().nodeValue(), QString("scientific_name.author_name"));

    SqlDataFramework framework;
    auto query = framework.CreateQueryObject();
    query->Connect(appManager->GetServerName(), appManager->GetServerType());
    EXPECT_EQ(query->Run("select * from scientific_wl_vw where 1=0")->FieldCount(), 5);
    EXPECT_BRYX_ERROR(query->Run("delete from scientific_name"), ErrorNumber::InvalidArgument);
}

TEST_P(DataFrameworkOnEngine, TheRecordExtensionKeepsAPrivateNotePerUserAndRecord)
{
    SqlRecordExtension extension;
    extension.Initialize(1, appManager);
    QObject component;
    extension.Attach(component, "ScientificDetails", {});
    extension.RecordShown(component, "ScientificDetails", {}, 42);
    EXPECT_EQ(extension.note(), QString());
    extension.setNote("Check the type specimen");
    EXPECT_TRUE(extension.IsChanged());
    ASSERT_TRUE(extension.Save(42, component, "ScientificDetails", {}));
    extension.AcceptSaved();
    EXPECT_FALSE(extension.IsChanged());

    extension.RecordShown(component, "ScientificDetails", {}, 43);
    EXPECT_EQ(extension.note(), QString());
    extension.RecordShown(component, "ScientificDetails", {}, 42);
    EXPECT_EQ(extension.note(), QString("Check the type specimen"));

    SqlRecordExtension viewers;
    viewers.Initialize(2, appManager);
    viewers.RecordShown(component, "ScientificDetails", {}, 42);
    EXPECT_EQ(viewers.note(), QString());
}

#include "DataFrameworkTest.moc"
