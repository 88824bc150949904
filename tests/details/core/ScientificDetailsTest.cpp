// The details editor against a mocked host and data framework: what the host and the record
// receive, in which order, and what the user sees, when the editor is driven as a user would.
#include "../../support/QtPrinters.h"
#include "../../support/ScriptedMessageBox.h"
#include "../../support/UserInput.h"
#include "DetailsTestHost.h"
#include "collection/Collection.h"
#include "controls/Controls.h"
#include "controls/DataCombo.h"
#include "controls/FlexGrid.h"
#include "controls/Pictures.h"
#include "controls/RichTextBox.h"
#include "controls/Toolbar.h"
#include "core/BusyPicture.h"
#include "core/DetailsUi.h"
#include "core/RecordStore.h"
#include "recordset/Field.h"
#include "recordset/Recordset.h"
#include "services/MessageBox.h"

#include <QApplication>

using namespace bryx;
using namespace bryx::test;
using ::testing::_;
using ::testing::AnyNumber;
using ::testing::Eq;
using ::testing::InSequence;
using ::testing::Return;

namespace {

std::shared_ptr<Recordset> fiveNames()
{
    return makeNameList({{1, "Abies alba"},
                         {2, "Abies grandis"},
                         {3, "Picea abies"},
                         {4, "Pinus sylvestris"},
                         {5, "Larix decidua"}});
}

class Details : public DetailsTestHost {
protected:
    QString position() { return control<TextBox>("txtCurrentRecord").text(); }
    QString total() { return control<Label>("lblTotalRecords").text(); }
    MenuItem& menu(const char* name) { return control<MenuItem>(name); }
    // Types over the position box and presses Enter, as the user does.
    void typePosition(const QString& text)
    {
        auto& box = control<TextBox>("txtCurrentRecord");
        box.setFocus();
        typeOver(box, text);
        EXPECT_EQ(box.text(), text) << "the box takes whatever is typed";
        keyClick(box, Qt::Key_Return);
    }
};

TEST_F(Details, StartsFromTheHostsIdentityThenItsCompanionThenSecurity)
{
    {
        InSequence order;
        EXPECT_CALL(*host, GetServerName());
        EXPECT_CALL(*host, GetServerType());
        EXPECT_CALL(*host, GetUserID());
        EXPECT_CALL(*host, GetUserName());
        EXPECT_CALL(*framework, CreateRecordExtension());
        EXPECT_CALL(*host, ApplySecurity(_, _, QString("ScientificDetails"), _));
    }
    startEmbedded(fiveNames(), 3, "Ecological...");
    ASSERT_NE(extension, nullptr);
    EXPECT_EQ(editor->GetID(), 3);
    EXPECT_EQ(position(), "3");
    EXPECT_EQ(total(), "5");
    EXPECT_EQ(caption, "Scientific Name - Picea abies");
    EXPECT_EQ(control<Label>("lblElementNameID").text(), "3");
    EXPECT_EQ(control<Label>("lblUniversalKey").text(), "XYZ-1003") << "code, hyphen, key number";
    EXPECT_EQ(editor->NameType(), NameTypeCode::Botanical)
        << "the record's category decides, not the extra info";
    EXPECT_EQ(editor->widthTwips(), ScientificDetails::DesignWidth);
    EXPECT_EQ(editor->heightTwips(), ScientificDetails::DesignHeight);
}

TEST_F(Details, AModalEditorCannotPageFindGoToCreateOrDeleteWhateverSecuritySays)
{
    ON_CALL(*host, ApplySecurity(_, _, _, _))
        .WillByDefault([](QObject&, const QVariant&, const QString&, const ControlList& controls) {
            for (QObject* control : controls)
                control->setProperty("Enabled", true);
        });
    startModal(2);
    for (const char* key : {"Open", "Delete", "Find", "Goto"})
        EXPECT_FALSE(control<Toolbar>("tbElementName").Buttons(QLatin1String(key))->isEnabled()) << key;
    for (const char* item : {"mnuFileNew", "mnuToolsFind", "mnuEditDelete", "mnuEditGoto"})
        EXPECT_FALSE(menu(item).isEnabled()) << item;
    for (const char* button : {"cmdNavFirst", "cmdNavLast", "cmdNavNext", "cmdNavPrev"})
        EXPECT_FALSE(control<CommandButton>(button).isEnabled()) << button;
    EXPECT_FALSE(control<TextBox>("txtCurrentRecord").isEnabled());
    EXPECT_TRUE(menu("mnuFileSave").isEnabled());
    EXPECT_EQ(position(), "1");
    EXPECT_EQ(total(), "1");
}

TEST_F(Details, PagesBindOnceWithThePropertyNamesAsTheRecordKnowsThem)
{
    onRecordCreated = [](Record& record) {
        EXPECT_CALL(record, BindField(_, _, _, _)).Times(AnyNumber());
        EXPECT_CALL(record, BindField(_, QString("Text"), QString("FormattedScientificName"), _)).Times(1);
        EXPECT_CALL(record, BindField(_, QString("boundtext"), QString("DNameCategoryId"), _)).Times(2);
        EXPECT_CALL(record, BindField(_, QString("boundtext"), QString("DClassificationLevelId"), _))
            .Times(2);
        EXPECT_CALL(record, BindField(_, QString("Text"), QString("ScientificNameCom"), _)).Times(1);
        EXPECT_CALL(record, BindField(_, QString("Text"), QString("ScientificNameInternalNotes"), _))
            .Times(1);
    };
    startEmbedded(fiveNames(), 1);
    EXPECT_TRUE(editor->PageLoaded(0));
    EXPECT_FALSE(editor->PageLoaded(3));
    auto& tabs = control<TabControl>("tabScientificName");
    tabs.SetTab(3);
    EXPECT_TRUE(editor->PageLoaded(3));
    tabs.SetTab(0);
    tabs.SetTab(3);
    EXPECT_EQ(control<RichTextBox>("ctrNameComments").property("Tag").toString(), "ScientificNameCom");
    EXPECT_EQ(control<DataCombo>("cboCategory").property("Tag").toString(), "DNameCategoryId");
}

TEST_F(Details, TheLayoutFollowsTheTypeOfTheRecordsCategory)
{
    names[1].categoryId = 4; // an ecological community
    names[2].categoryId = 5; // a category of no known type
    startEmbedded(fiveNames(), 1);
    EXPECT_EQ(editor->NameType(), NameTypeCode::Ecological);
    EXPECT_TRUE(control<RichTextBox>("ctrAuthor").isHidden());
    EXPECT_FALSE(control<RichTextBox>("ctrTranslatedName").isHidden());
    EXPECT_FALSE(control<TextBox>("txtAcronym").isHidden());
    EXPECT_TRUE(control<RichTextBox>("ctrScientificName").MultiLine());
    EXPECT_TRUE(control<TabControl>("tabScientificName").TabEnabled(1));
    EXPECT_TRUE(control<FlexGrid>("fgReferences").ColHidden(DetailsUi::RefColOriginal));
    EXPECT_TRUE(control<TextBox>("txtSummaryAuthor").isHidden());
    EXPECT_EQ(control<TextBox>("txtSummaryNameType").text(), "Ecological");
    EXPECT_EQ(control<DataCombo>("cboCategory").Text(), "Terrestrial Community");

    onRecordCreated = [](Record& record) {
        EXPECT_CALL(record, GetLookup(QString("NameCategory"), Eq(QVariant("%")), true));
        EXPECT_CALL(record, GetLookup(QString("NameCategory"), testing::Ne(QVariant("%")), _)).Times(0);
        EXPECT_CALL(record, GetLookup(QString("ClassificationLevel"), _, _)).Times(AnyNumber());
    };
    control<CommandButton>("cmdNavNext").click();
    EXPECT_EQ(editor->GetID(), 2);
    EXPECT_EQ(editor->NameType(), NameTypeCode::Unknown);
    EXPECT_FALSE(control<RichTextBox>("ctrAuthor").isHidden()) << "standard layout";
    EXPECT_FALSE(control<TabControl>("tabScientificName").TabEnabled(1));
    EXPECT_EQ(control<DataCombo>("cboCategory").ListCount(), 0) << "no category list for an unknown type";
}

TEST_F(Details, AMissingLevelShowsTheFirstAndACategoryWithoutLevelsDisablesTheList)
{
    names[1].levelId = QVariant();
    startEmbedded(fiveNames(), 1);
    auto& levels = control<DataCombo>("cboClassificationLevel");
    EXPECT_EQ(levels.Text(), "Species");
    auto& categories = control<DataCombo>("cboCategory");
    EXPECT_CALL(*host, EnableControl(_, _)).Times(0);
    categories.SetText("Nonvascular Plant"); // category 2: no levels
    EXPECT_FALSE(levels.isEnabled());
    EXPECT_CALL(*host,
                EnableControl(testing::Ref(static_cast<QObject&>(levels)), QString("ScientificDetails")));
    categories.SetText("Vascular Plant");
    EXPECT_EQ(levels.Text(), "Species");
}

TEST_F(Details, ThePlaceholderBoxWritesYOrNAndNothingElse)
{
    startEmbedded(fiveNames(), 1);
    auto& box = control<CheckBox>("chkPlaceholderName");
    {
        InSequence order;
        EXPECT_CALL(*records.back(), SetPlaceholderNameIndicator(QString("Y")));
        EXPECT_CALL(*records.back(), SetPlaceholderNameIndicator(QString("N")));
    }
    box.click();
    box.click();
}

// --- Saving -----------------------------------------------------------------------------------

TEST_F(Details, SavingChecksForADuplicateThenPermissionThenStoresTheRecordAndItsLinks)
{
    auto link = std::make_shared<testing::NiceMock<MockReferenceLink>>();
    ON_CALL(*links, Count()).WillByDefault(Return(1));
    ON_CALL(*links, Item(1)).WillByDefault(Return(link));
    names[3].name = "O'Neil's fir";
    names[3].author = "D'Arcy";
    startEmbedded(fiveNames(), 3);
    edited = true;
    Record& record = *records.back();
    std::vector<int> updated;
    QObject::connect(editor, &ScientificDetails::UpdateList, [&](int id) { updated.push_back(id); });
    statements.clear();
    {
        InSequence order;
        EXPECT_CALL(*host, CallGetQueryRSXML(_));
        EXPECT_CALL(*host, CheckPermission(Eq(3))).WillOnce(Return(true));
        EXPECT_CALL(record, SetModifiedBy(QString("ann")));
        EXPECT_CALL(record, Save()).WillOnce(Return(true));
        EXPECT_CALL(*link, Save());
    }
    menu("mnuFileSave").trigger();
    ASSERT_FALSE(statements.isEmpty());
    EXPECT_EQ(statements.first(),
              "select scientific_name_id from scientific_name where "
              "upper(scientific_name)='O''NEIL''S FIR' and not scientific_name_id=3 and "
              "upper(author_name)='D''ARCY'");
    EXPECT_EQ(updated, std::vector<int> {3});
    EXPECT_FALSE(control<PictureBox>("picActivityWait").isVisible()) << "the busy picture goes when done";
}

TEST_F(Details, TheDuplicateStatementComparesANullAuthorOnlyWithANullAuthor)
{
    QString name = "Abies alba";
    QString author;
    EXPECT_EQ(
        RecordStore::DuplicateNameSQL(name, author, 12),
        "select scientific_name_id from scientific_name where upper(scientific_name)='ABIES ALBA' and not "
        "scientific_name_id=12 and author_name is null");
    EXPECT_EQ(name, "ABIES ALBA") << "the name is rewritten in place";
}

TEST_F(Details, ADuplicateIsRefusedWithTheMessageOfTheNameTypeAndNothingIsStored)
{
    ON_CALL(*host, CallGetQueryRSXML(_)).WillByDefault([](QString& sql) {
        return sql.startsWith("select scientific_name_id") ? makeNameList({{9, "twin"}})
                                                           : makeNameList({{1, "x"}});
    });
    names[2].categoryId = 4;
    startEmbedded(fiveNames(), 1);
    edited = true;
    EXPECT_CALL(*host, CheckPermission(_)).Times(0);
    EXPECT_CALL(*records.back(), Save()).Times(0);
    EXPECT_CALL(*host, Message(_, _)).Times(AnyNumber());
    EXPECT_CALL(*host, Message(QString("SNM008"), _));
    menu("mnuFileSave").trigger();

    control<CommandButton>("cmdNavNext").click(); // asks to save: the default answer (OK) is "No"
    ASSERT_EQ(editor->GetID(), 2);
    EXPECT_CALL(*records.back(), Save()).Times(0);
    EXPECT_CALL(*host, Message(QString("SNM009"), _));
    menu("mnuFileSave").trigger();
}

TEST_F(Details, NothingPendingMeansNoSaveNoMessageAndNoBusyPicture)
{
    startEmbedded(fiveNames(), 1);
    EXPECT_CALL(*host, CallGetQueryRSXML(_)).Times(0);
    EXPECT_CALL(*host, Message(_, _)).Times(0);
    EXPECT_CALL(*records.back(), Save()).Times(0);
    menu("mnuFileSave").trigger();
    EXPECT_FALSE(control<PictureBox>("picActivityWait").isVisible());
}

TEST_F(Details, ARefusedPermissionOrSaveStopsQuietlyAndAnErrorIsReportedAsSNM004)
{
    startEmbedded(fiveNames(), 1);
    edited = true;
    std::vector<int> updated;
    QObject::connect(editor, &ScientificDetails::UpdateList, [&](int id) { updated.push_back(id); });
    EXPECT_CALL(*host, CheckPermission(_)).WillOnce(Return(false)).WillRepeatedly(Return(true));
    EXPECT_CALL(*records.back(), Save()).WillOnce(Return(false)).WillOnce([]() -> bool {
        throw Error(ErrorNumber::ObjectClosed, "The connection was lost");
    });
    EXPECT_CALL(*host, Message(QString("SNM004"), _))
        .WillOnce([this](const QString&, const std::shared_ptr<Collection>& args) {
            EXPECT_EQ(args->Count(), 1);
            EXPECT_EQ(args->Item(1).toString(), "The connection was lost");
            EXPECT_TRUE(control<PictureBox>("picActivityWait").isVisible()) << "the message comes first";
            return MsgBoxResult::OK;
        });
    menu("mnuFileSave").trigger(); // no permission
    menu("mnuFileSave").trigger(); // the record refuses
    menu("mnuFileSave").trigger(); // the record fails
    EXPECT_TRUE(updated.empty());
    EXPECT_FALSE(control<PictureBox>("picActivityWait").isVisible());
}

TEST_F(Details, ASaveHiddenOrDisabledBySecurityIsNotRun)
{
    startEmbedded(fiveNames(), 1);
    edited = true;
    EXPECT_CALL(*records.back(), Save()).Times(0);
    menu("mnuFileSave").setVisible(false);
    control<Toolbar>("tbElementName").Buttons("Save")->trigger();
    menu("mnuFileSave").setVisible(true);
    menu("mnuFileSave").setEnabled(false);
    control<Toolbar>("tbElementName").Buttons("Save")->trigger();
}

TEST_F(Details, InASingleRecordViewTheOwnRowFollowsTheSave)
{
    auto list = makeRecordset({{"ID", DataType::Integer},
                               {"Scientific_Name", DataType::VarWChar, 255},
                               {"Author", DataType::VarWChar, 255},
                               {"Category", DataType::VarWChar, 80},
                               {"Classification_Level", DataType::VarWChar, 80}},
                              {{4, "old", "old", "old", "old"}});
    startEmbedded(list, 4, "SINGLE_RECORD_VIEW");
    EXPECT_EQ(total(), "1");
    names[4].name = "Pinus mugo";
    edited = true;
    menu("mnuFileSave").trigger();
    Recordset& own = *editor->rsList();
    ASSERT_EQ(own.RecordCount(), 1);
    own.MoveFirst();
    EXPECT_EQ(own.Fields("Scientific_Name").Value().toString(), "Pinus mugo");
    EXPECT_EQ(own.Fields("Category").Value().toString(), "Vascular Plant");
    EXPECT_EQ(own.Fields("Classification_Level").Value().toString(), "Species");
}

// --- Closing ----------------------------------------------------------------------------------

TEST_F(Details, CanCloseAsksOnlyWhenSomethingIsPendingAndTheUserMaySave)
{
    startEmbedded(fiveNames(), 1);
    EXPECT_CALL(*host, Message(_, _)).Times(0);
    EXPECT_TRUE(editor->CanClose()) << "nothing pending";
    edited = true;
    controlAccess = "R";
    EXPECT_TRUE(editor->CanClose()) << "a reader's edits go silently";
    testing::Mock::VerifyAndClearExpectations(host.get());

    controlAccess = "F";
    EXPECT_CALL(*host, Message(QString("SNM001"), _))
        .WillOnce(Return(MsgBoxResult::Cancel))
        .WillOnce(Return(MsgBoxResult::No))
        .WillOnce(Return(MsgBoxResult::Yes));
    EXPECT_CALL(*records.back(), Save()).WillOnce(Return(false));
    EXPECT_FALSE(editor->CanClose()) << "Cancel keeps the window";
    EXPECT_TRUE(editor->CanClose()) << "No drops the changes";
    EXPECT_FALSE(editor->CanClose()) << "Yes answers what the save answers";
}

TEST_F(Details, TypingInTheNameBoxReachesTheRecordBeforeCanCloseDecides)
{
    startEmbedded(fiveNames(), 1);
    control<RichTextBox>("ctrScientificName").SetPlainText("Abies nordmanniana");
    EXPECT_CALL(*records.back(), SetScientificName(QString("Abies nordmanniana")));
    editor->CanClose();
}

TEST_F(Details, FileCloseAsksTheHostToCloseAndDeactivateLetsEverythingGo)
{
    startEmbedded(fiveNames(), 1);
    int quits = 0;
    QObject::connect(editor, &ScientificDetails::Quit, [&] { ++quits; });
    menu("mnuFileClose").trigger();
    EXPECT_EQ(quits, 1);
    EXPECT_CALL(*records.back(), UnbindField(QString()));
    EXPECT_CALL(*records.back(), Release());
    const long hostUses = host.use_count();
    editor->Deactivate();
    EXPECT_LT(host.use_count(), hostUses);
    EXPECT_EQ(editor->rsList(), nullptr);
}

// --- Deleting ---------------------------------------------------------------------------------

TEST_F(Details, AnythingButYesToTheDeleteQuestionLeavesEverythingAsItWas)
{
    startEmbedded(fiveNames(), 2);
    desktop.pointers.clear();
    EXPECT_CALL(*host, Message(QString("SNM002"), _)).WillOnce(Return(MsgBoxResult::No));
    EXPECT_CALL(*host, CheckPermission(_)).Times(0);
    EXPECT_CALL(*host, Delete(_, _, _, _)).Times(0);
    menu("mnuEditDelete").trigger();
    EXPECT_EQ(editor->GetID(), 2);
    EXPECT_FALSE(editor->Deleted());
    EXPECT_FALSE(std::any_of(desktop.pointers.begin(), desktop.pointers.end(),
                             [](int pointer) { return pointer == MousePointer::Hourglass; }));
}

TEST_F(Details, DeletingTheLastOfFiveInAnOwnListShowsTheNewLast)
{
    auto list = fiveNames();
    auto other = fiveNames(); // the host's list is another recordset: the editor keeps its own
    startEmbedded(other, 5);
    ON_CALL(*host, Message(QString("SNM002"), _)).WillByDefault(Return(MsgBoxResult::Yes));
    std::vector<int> removed;
    QObject::connect(editor, &ScientificDetails::RemoveItem, [&](int id) {
        removed.push_back(id);
        // The host takes the name out of its list while it hears of it.
        other->MoveFirst();
        other->Find("ID = " + QString::number(id));
        other->Delete();
        other->UpdateBatch();
    });
    EXPECT_CALL(*host,
                Delete(QString("delete_table_data"), Eq(5), Eq(QString("ann")), QString("scientific_name")));
    menu("mnuEditDelete").trigger();
    EXPECT_EQ(removed, std::vector<int> {5});
    EXPECT_EQ(editor->GetID(), 4);
    EXPECT_EQ(position(), "4");
    EXPECT_EQ(total(), "4");
    EXPECT_FALSE(editor->Deleted());
}

TEST_F(Details, DeletingTheOnlyNameQuitsAndTheWindowClosesWithoutAQuestion)
{
    startEmbedded(makeNameList({{3, "Picea abies"}}), 3, "SINGLE_RECORD_VIEW");
    ON_CALL(*host, Message(QString("SNM002"), _)).WillByDefault(Return(MsgBoxResult::Yes));
    int quits = 0;
    QObject::connect(editor, &ScientificDetails::Quit, [&] { ++quits; });
    menu("mnuEditDelete").trigger();
    EXPECT_EQ(quits, 1);
    EXPECT_TRUE(editor->Deleted());
    edited = true;
    EXPECT_CALL(*host, Message(QString("SNM001"), _)).Times(0);
    EXPECT_TRUE(editor->CanClose());
}

TEST_F(Details, AFailedDeleteSaysWhyAndKeepsTheRecord)
{
    startEmbedded(fiveNames(), 2);
    ON_CALL(*host, Message(QString("SNM002"), _)).WillByDefault(Return(MsgBoxResult::Yes));
    EXPECT_CALL(*host, Delete(_, _, _, _))
        .WillOnce([](const QString&, int32_t&, QString&, const QString&) -> bool {
            throw Error(ErrorNumber::IllegalOperation, "Other names use it as their established name");
        });
    EXPECT_CALL(*host, Message(_, _)).Times(AnyNumber());
    EXPECT_CALL(*host, Message(QString("SNM003"), _)).WillOnce([this](const QString&, const auto&) {
        EXPECT_TRUE(control<PictureBox>("picActivityWait").isVisible()) << "the message comes first";
        return MsgBoxResult::OK;
    });
    menu("mnuEditDelete").trigger();
    EXPECT_FALSE(editor->Deleted());
    EXPECT_EQ(editor->GetID(), 2);
    EXPECT_FALSE(control<PictureBox>("picActivityWait").isVisible());
}

TEST_F(Details, ANameDeletedButTheNextNotShownIsReportedAsAFailedMoveNotAFailedDelete)
{
    auto other = fiveNames();
    startEmbedded(other, 2);
    ON_CALL(*host, Message(QString("SNM002"), _)).WillByDefault(Return(MsgBoxResult::Yes));
    QObject::connect(editor, &ScientificDetails::RemoveItem, [&](int id) {
        other->MoveFirst();
        other->Find("ID = " + QString::number(id));
        other->Delete();
        other->UpdateBatch();
    });
    onRecordCreated = [](Record& record) {
        ON_CALL(record, Retrieve(_, _, _))
            .WillByDefault([](const QVariant&, const QVariant&, const QVariant&) -> bool {
                throw Error(ErrorNumber::ObjectClosed, "The connection was lost");
            });
    };
    EXPECT_CALL(*host, Message(_, _)).Times(AnyNumber());
    EXPECT_CALL(*host, Message(QString("SNM003"), _)).Times(0);
    EXPECT_CALL(*host, Message(QString("APP008"), _))
        .WillOnce([](const QString&, const std::shared_ptr<Collection>& args) {
            EXPECT_EQ(args->Item(1).toString(), "The connection was lost");
            return MsgBoxResult::OK;
        });
    int quits = 0;
    QObject::connect(editor, &ScientificDetails::Quit, [&] { ++quits; });
    menu("mnuEditDelete").trigger();
    EXPECT_EQ(other->RecordCount(), 4) << "the name is gone";
    EXPECT_EQ(quits, 0);
    EXPECT_FALSE(control<PictureBox>("picActivityWait").isVisible());
}

// --- Moving -----------------------------------------------------------------------------------

TEST_F(Details, EveryMoveOffersToSaveThenChecksTheRecordStillExists)
{
    startEmbedded(fiveNames(), 1);
    edited = true;
    {
        InSequence order;
        EXPECT_CALL(*host, Message(QString("SNM001"), _)).WillOnce(Return(MsgBoxResult::No));
        EXPECT_CALL(*host, CallGetQueryRSXML(_)).WillOnce([](QString& sql) {
            EXPECT_EQ(sql, "Select * from scientific_name where scientific_name_id = 2");
            return makeNameList({{2, "x"}});
        });
    }
    control<CommandButton>("cmdNavNext").click();
    EXPECT_EQ(editor->GetID(), 2);
    EXPECT_EQ(position(), "2");
    EXPECT_EQ(caption, "Scientific Name - Abies grandis");
    EXPECT_TRUE(editor->PageLoaded(0));
    EXPECT_FALSE(editor->PageLoaded(3)) << "a new record binds its pages afresh";
}

TEST_F(Details, CancelAtTheSaveQuestionMovesNowhere)
{
    startEmbedded(fiveNames(), 3);
    edited = true;
    EXPECT_CALL(*host, Message(QString("SNM001"), _)).WillOnce(Return(MsgBoxResult::Cancel));
    control<CommandButton>("cmdNavLast").click();
    EXPECT_EQ(editor->GetID(), 3);
    EXPECT_EQ(position(), "3");
}

TEST_F(Details, ARecordDeletedElsewhereIsReportedAndTheOldOneStays)
{
    startEmbedded(fiveNames(), 3);
    names.remove(4);
    EXPECT_CALL(*host, Message(QString("APP046"), _));
    control<CommandButton>("cmdNavNext").click();
    EXPECT_EQ(editor->GetID(), 3);
    EXPECT_EQ(position(), "3");
    EXPECT_EQ(editor->rsList()->Fields("ID").Value().toInt(), 3) << "the list is back on its row";
}

TEST_F(Details, ThePositionBoxTakesNumbersInRangeAndRestoresAnythingElse)
{
    startEmbedded(fiveNames(), 2);
    EXPECT_CALL(*host, Message(QString("APP003"), _)).Times(3);
    typePosition("0");
    EXPECT_EQ(position(), "2");
    typePosition("-3");
    EXPECT_EQ(position(), "2");
    EXPECT_EQ(editor->GetID(), 2) << "no sign is lost on the way";
    typePosition("6");
    EXPECT_EQ(position(), "2");
    typePosition("abc"); // no message, the number comes back
    EXPECT_EQ(position(), "2");
    testing::Mock::VerifyAndClearExpectations(host.get());
    typePosition("5");
    EXPECT_EQ(editor->GetID(), 5);
    control<CommandButton>("cmdNavFirst").click();
    EXPECT_EQ(editor->GetID(), 1);
    control<CommandButton>("cmdNavPrev").click();
    EXPECT_EQ(editor->GetID(), 1) << "nothing before the first";
}

TEST_F(Details, TheGotoMenuMovesLikeTheButtons)
{
    startEmbedded(fiveNames(), 3);
    menu("mnuEditGotoLastRecord").trigger();
    EXPECT_EQ(editor->GetID(), 5);
    menu("mnuEditGotoPreviousRecord").trigger();
    EXPECT_EQ(editor->GetID(), 4);
    menu("mnuEditGotoFirstRecord").trigger();
    EXPECT_EQ(editor->GetID(), 1);
    menu("mnuEditGotoNextRecord").trigger();
    EXPECT_EQ(editor->GetID(), 2);
}

TEST_F(Details, TheGotoDialogMovesToThePickedRowAndCancelMovesNowhere)
{
    startEmbedded(fiveNames(), 1);
    desktop.whileShown = [](QDialog& dialog) {
        auto* grid = dialog.findChild<FlexGrid*>("vsgRecords");
        ASSERT_NE(grid, nullptr);
        EXPECT_EQ(grid->Rows(), 6) << "every row under one header";
        grid->SetRow(4);
        dialog.findChild<CommandButton*>("cmdOK")->click();
    };
    menu("mnuEditGotoRecord").trigger();
    EXPECT_EQ(editor->GetID(), 4);
    desktop.whileShown = [](QDialog& dialog) {
        dialog.findChild<FlexGrid*>("vsgRecords")->SetRow(2);
        dialog.findChild<CommandButton*>("cmdCancel")->click();
    };
    control<Toolbar>("tbElementName").Buttons("Goto")->trigger();
    EXPECT_EQ(editor->GetID(), 4);
}

TEST_F(Details, LeavingThePositionBoxMovesOnlyWhenItsNumberChanged)
{
    startEmbedded(fiveNames(), 2);
    QApplication::setActiveWindow(&form);
    auto& box = control<TextBox>("txtCurrentRecord");
    auto& other = control<RichTextBox>("ctrAuthor");
    box.setFocus();
    QApplication::processEvents();
    EXPECT_CALL(*host, CallGetQueryRSXML(_)).Times(0);
    other.setFocus(); // tabbed through: nothing reloads
    QApplication::processEvents();
    testing::Mock::VerifyAndClearExpectations(host.get());
    box.setFocus();
    box.setText("4");
    other.setFocus();
    QApplication::processEvents();
    EXPECT_EQ(editor->GetID(), 4);
}

TEST_F(Details, AListOfOneRowGoesNowhere)
{
    startEmbedded(makeNameList({{4, "Pinus sylvestris"}}), 4);
    EXPECT_CALL(*host, CallGetQueryRSXML(_)).Times(0);
    for (const char* button : {"cmdNavFirst", "cmdNavPrev", "cmdNavNext", "cmdNavLast"})
        control<CommandButton>(button).click();
    EXPECT_EQ(editor->GetID(), 4);
}

TEST_F(Details, AHostListThatLostTheRecordShowsOneOfOne)
{
    auto list = fiveNames();
    startEmbedded(list, 3);
    list->MoveFirst();
    list->Find("ID = 3");
    list->Delete();
    list->UpdateBatch();
    editor->NotifyListChanges("RemoveItem");
    EXPECT_EQ(position(), "1");
    EXPECT_EQ(total(), "1");
    EXPECT_EQ(editor->GetID(), 3) << "the record shown stays";
}

TEST_F(Details, AnOwnListDropsARecordDeletedElsewhereAndQuitsWhenEmpty)
{
    startEmbedded(makeNameList({{3, "Picea abies"}}), 3, "SINGLE_RECORD_VIEW");
    int quits = 0;
    QObject::connect(editor, &ScientificDetails::Quit, [&] { ++quits; });
    editor->NotifyListChanges("UpdateList");
    EXPECT_EQ(quits, 0) << "the record still exists";
    names.remove(3);
    editor->NotifyListChanges("RemoveItem");
    EXPECT_EQ(quits, 1);
}

// --- New names -------------------------------------------------------------------------------

TEST_F(Details, NewDataStartsABlankItalicNameAsOneOfOne)
{
    ON_CALL(*host, GetSystemOrgUnitID()).WillByDefault(Return(3));
    onRecordCreated = [](Record& record) {
        EXPECT_CALL(record, NewRecord(Eq(QVariant(false)), _));
        EXPECT_CALL(record, SetCreatedBy(QString("ann")));
        EXPECT_CALL(record, SetLastModifiedBy(QString("ann")));
        EXPECT_CALL(record, SetOrgUnit(Eq(QVariant(3))));
        EXPECT_CALL(record, SetFormattedScientificName(QString("<i> </i>")));
        ON_CALL(record, ID()).WillByDefault(Return(77));
        ON_CALL(record, IsNew()).WillByDefault(Return(true));
    };
    CallByName(*editor, "InitDetails",
               {QVariant::fromValue(fiveNames()), QVariant::fromValue(std::shared_ptr<AppManager>(host)), 1,
                QVariant::fromValue(std::shared_ptr<WindowManager>(winMan)),
                QVariant::fromValue(std::make_shared<Collection>()), QString("Zoological...")});
    EXPECT_EQ(CallByName(*editor, "NewData", {0}).toInt(), 77);
    EXPECT_EQ(editor->GetID(), 77);
    EXPECT_EQ(position(), "1");
    EXPECT_EQ(total(), "1");
    EXPECT_FALSE(control<Label>("lblNewRecord").isHidden());
    EXPECT_EQ(editor->NameType(), NameTypeCode::Zoological);
}

TEST_F(Details, TheNewMenuAsksAboutPendingChangesFirstAndCountsPastTheEnd)
{
    startEmbedded(fiveNames(), 2);
    edited = true;
    EXPECT_CALL(*host, Message(QString("SNM001"), _))
        .WillOnce(Return(MsgBoxResult::Cancel))
        .WillOnce(Return(MsgBoxResult::No));
    menu("mnuFileNewZoological").trigger();
    EXPECT_EQ(editor->GetID(), 2) << "Cancel keeps the record and its changes";
    EXPECT_EQ(records.size(), 1u);
    menu("mnuFileNewZoological").trigger();
    EXPECT_EQ(records.size(), 2u);
    EXPECT_EQ(position(), "6");
    EXPECT_EQ(total(), "6");
    EXPECT_EQ(editor->NameType(), NameTypeCode::Zoological);
    menu("mnuFileNewBotanical").setEnabled(false);
    edited = false;
    menu("mnuFileNewBotanical").trigger();
    EXPECT_EQ(records.size(), 2u) << "a disabled item does nothing";
}

// --- Copies and related records ------------------------------------------------------------

TEST_F(Details, CloneDataCopiesTheFieldsAndLinksUnderTheTypedNameAndCancelCopiesNothing)
{
    auto originalLink = std::make_shared<testing::NiceMock<MockReferenceLink>>();
    ON_CALL(*originalLink, Field(_)).WillByDefault([](const QString& field) {
        return field == "ReferenceID" ? QVariant(42) : QVariant("Y");
    });
    auto copyLinks = std::make_shared<testing::NiceMock<MockReferenceLinks>>();
    auto copyLink = std::make_shared<testing::NiceMock<MockReferenceLink>>();
    ON_CALL(*copyLinks, Item(1)).WillByDefault(Return(copyLink));
    ON_CALL(*links, Count()).WillByDefault(Return(1));
    ON_CALL(*links, Item(1)).WillByDefault(Return(originalLink));
    startEmbedded(fiveNames(), 1);

    desktop.whileShown = [](QDialog& dialog) { dialog.findChild<CommandButton*>("CancelButton")->click(); };
    const size_t made = records.size();
    EXPECT_EQ(editor->CloneData(3), 0);
    EXPECT_EQ(records.size(), made + 1) << "only the original was read";

    desktop.whileShown = [](QDialog& dialog) {
        dialog.findChild<TextBox*>("txtCopyName")->setText("Picea abies var. nova");
        dialog.findChild<CommandButton*>("OKButton")->click();
    };
    onRecordCreated = [&](Record& record) {
        if (records.size() != made + 3)
            return; // the original
        ON_CALL(record, ID()).WillByDefault(Return(88));
        ON_CALL(record, ReferenceLinks()).WillByDefault(Return(copyLinks));
        EXPECT_CALL(*copyLink, SetField(_, _)).Times(AnyNumber());
        InSequence order;
        EXPECT_CALL(record, NewRecord(Eq(QVariant(false)), _));
        EXPECT_CALL(record, SetCreatedBy(QString("ann")));
        EXPECT_CALL(record, SetLastModifiedBy(QString("ann")));
        EXPECT_CALL(record, SetAuthorName(QString("(L.) H.Karst.")));
        EXPECT_CALL(record, SetScientificName(QString("Picea abies var. nova")));
        EXPECT_CALL(*copyLinks, Add());
        EXPECT_CALL(*copyLink, SetField(QString("ReferenceID"), Eq(QVariant(42))));
        EXPECT_CALL(record, Save());
    };
    std::vector<int> updated;
    QObject::connect(editor, &ScientificDetails::UpdateList, [&](int id) { updated.push_back(id); });
    EXPECT_EQ(editor->CloneData(3), 88);
    EXPECT_EQ(updated, std::vector<int> {88});
}

TEST_F(Details, ACopyThatFailsOnceItHasAnIdAnswersThatIdAndUpdatesNoList)
{
    startEmbedded(fiveNames(), 1);
    ScriptedMessageBox boxes;
    desktop.whileShown = [](QDialog& dialog) {
        dialog.findChild<TextBox*>("txtCopyName")->setText("Picea abies var. nova");
        dialog.findChild<CommandButton*>("OKButton")->click();
    };
    const size_t made = records.size();
    onRecordCreated = [&](Record& record) {
        if (records.size() != made + 2)
            return; // the original
        ON_CALL(record, ID()).WillByDefault(Return(88));
        ON_CALL(record, Save()).WillByDefault([]() -> bool {
            throw Error(ErrorNumber::ObjectClosed, "The connection was lost");
        });
    };
    std::vector<int> updated;
    QObject::connect(editor, &ScientificDetails::UpdateList, [&](int id) { updated.push_back(id); });
    EXPECT_EQ(editor->CloneData(3), 88);
    EXPECT_TRUE(updated.empty());
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown().front().prompt, "Unable to copy record: The connection was lost");
    EXPECT_EQ(boxes.shown().front().title, "Record Error");
}

TEST_F(Details, CopyDataFromOverPendingChangesCopiesNothingUnlessTheyAreSavedFirst)
{
    startEmbedded(fiveNames(), 2);
    edited = true;
    EXPECT_CALL(*host, Message(QString("APP029"), _))
        .WillOnce(Return(MsgBoxResult::Cancel))
        .WillOnce(Return(MsgBoxResult::OK));
    EXPECT_CALL(*records.back(), Save()).WillOnce(Return(false));
    EXPECT_CALL(*host, Message(QString("APP028"), _)).Times(2);
    EXPECT_CALL(*host, Copy(_, _, _, _)).Times(0);
    int searches = 0;
    desktop.whileShown = [&](QDialog&) { ++searches; };
    menu("mnuToolsCopy").trigger(); // Cancel: not saved, nothing copied
    menu("mnuToolsCopy").trigger(); // OK, but the save is refused
    EXPECT_EQ(searches, 0) << "no search is offered while the changes are unsaved";
    EXPECT_EQ(editor->GetID(), 2);
}

TEST_F(Details, RelatedRecordsOpenWithTheIdInEveryPlaceholderAndTheWholeList)
{
    auto menuBuilder = std::make_shared<testing::NiceMock<MockMenuBuilder>>();
    ON_CALL(*host, MenuBuilder()).WillByDefault(Return(menuBuilder));
    names[2].categoryId = 4;
    startEmbedded(fiveNames(), 2);
    EXPECT_CALL(*menuBuilder,
                GetConvertFromParentSQL(QString("SNM"), QString("SNM"),
                                        QString("&Nomenclaturally Established Name...")))
        .WillOnce(Return(QString("select * from scientific_wl_vw where id=? or id=?")))
        .WillOnce(Return(QString()));
    statements.clear();
    EXPECT_CALL(*winMan, OpenDetails(_, _, 2, QString(), testing::NotNull()));
    menu("mnuFileOpenNomenclature").trigger();
    EXPECT_TRUE(statements.contains("select * from scientific_wl_vw where id=2 or id=2"));
    EXPECT_CALL(*host, Message(QString("SNM006"), _));
    menu("mnuFileOpenNomenclature").trigger();
}

// --- Small services ---------------------------------------------------------------------------

TEST_F(Details, DisplayMessagePassesOnlyTheTextsThatAreThere)
{
    startEmbedded(fiveNames(), 1);
    EXPECT_CALL(*host, Message(QString("SNM004"), _))
        .WillOnce([](const QString&, const std::shared_ptr<Collection>& args) {
            EXPECT_EQ(args->Count(), 1);
            return 6;
        });
    EXPECT_EQ(editor->DisplayMessage("SNM004", "Disk full", "", ""), 6);
}

TEST_F(Details, EditCommandsGoToTextBoxesOnly)
{
    startEmbedded(fiveNames(), 1);
    QApplication::setActiveWindow(&form);
    control<TextBox>("txtCurrentRecord").setFocus();
    QApplication::processEvents();
    menu("mnuEditCopy").trigger();
    EXPECT_EQ(desktop.keys, QStringList {"^C"});
    control<DataCombo>("cboCategory").setFocus();
    QApplication::processEvents();
    menu("mnuEditCopy").trigger();
    EXPECT_EQ(desktop.keys, QStringList {"^C"}) << "nothing for a combo";
}

TEST_F(Details, TheBusyPictureShowsOnceAndHidesOnce)
{
    DetailsUi ui;
    UserControl owner;
    ui.setupUi(owner);
    BusyPicture picture(ui);
    picture.ShowWaitMessage(true, BusyPicture::Saving);
    const QPixmap saving = ui.picWaitMessage->Picture();
    picture.ShowWaitMessage(true, BusyPicture::Deleting);
    EXPECT_EQ(ui.picWaitMessage->Picture().cacheKey(), saving.cacheKey())
        << "a second request changes nothing";
    picture.ShowWaitMessage(false, 0);
    EXPECT_FALSE(picture.isShown());
    for (const char* key : {"Loading", "Saving", "Deleting", "PleaseWait", "Copying"})
        EXPECT_FALSE(ui.ilWaitMessages->ListImages(QLatin1String(key)).isNull()) << key;
}

TEST_F(Details, TheMenusCarryTheirCaptionsAndTheToolbarItsDropDowns)
{
    const std::pair<const char*, const char*> captions[] = {
        {"mnuFileNewBotanical", "&Botanical..."},
        {"mnuFileNewEGT", "&Element Global Tracking (EGT)..."},
        {"mnuFileOpenNomenclature", "&Nomenclaturally Established Name..."},
        {"mnuFileOpenAttributeMaintenance", "&Attribute Maintenance"},
        {"mnuEditGotoRecord", "&Record..."},
        {"mnuToolsCopy", "&Copy Data From..."},
        {"mnuToolsSpellcheck", "&Spell Check"}};
    for (const auto& [name, text] : captions)
        EXPECT_EQ(menu(name).text(), QLatin1String(text)) << name;
    auto& toolbar = control<Toolbar>("tbElementName");
    EXPECT_EQ(toolbar.Buttons(1)->Key(), "New");
    EXPECT_EQ(toolbar.Buttons(3)->Key(), "Open");
    for (const char* key : {"Save", "Goto", "Print", "Copy", "Cut", "Paste", "Delete", "Find", "TextEditor",
                            "SpellCheck", "Help"})
        EXPECT_NO_THROW(toolbar.Buttons(QLatin1String(key))) << key;
}

} // namespace
