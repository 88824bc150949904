// The search panel against a mocked host: what the host receives, in which order and with
// which arguments, when the user drives the panel through its controls.
#include "ScientificSearch.h"

#include "../mocks/HostMocks.h"
#include "../support/QtPrinters.h"
#include "../support/RecordsetBuilder.h"
#include "../support/ScriptedDesktop.h"
#include "../support/ScriptedMessageBox.h"
#include "../support/TestComponent.h"
#include "../support/UserInput.h"
#include "collection/Collection.h"
#include "common/LookupLists.h"
#include "controls/Controls.h"
#include "controls/FlexGrid.h"
#include "controls/RichTextBox.h"
#include "controls/Toolbar.h"
#include "dialogs/frmSelectScientificNameType.h"
#include "error/Error.h"
#include "frmSQL.h"
#include "frmUserSearchSaveOpen.h"
#include "hosting/ComponentRegistry.h"
#include "hosting/ErrorReport.h"
#include "hosting/LateBinding.h"
#include "hosting/Twips.h"
#include "recordset/Recordset.h"
#include "registration/Identities.h"

#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QToolTip>
#include <gmock/gmock.h>

using namespace bryx;
using namespace bryx::test;
using ::testing::_;
using ::testing::InSequence;
using ::testing::NiceMock;
using ::testing::Return;

namespace {

// The window a host puts the panel in.
class HostForm : public QWidget, public NiceMock<MockHostWindow> { };

std::shared_ptr<Recordset> categories(const QStringList& names)
{
    std::vector<std::vector<QVariant>> rows;
    for (const QString& name : names)
        rows.push_back({name});
    return makeRecordset({{"Name_Category_Desc", DataType::VarWChar, 80}}, rows);
}

std::shared_ptr<Recordset> searchResult(const std::vector<std::pair<int, QString>>& names)
{
    std::vector<std::vector<QVariant>> rows;
    for (const auto& [id, name] : names)
        rows.push_back({id, name, "L.", "P", "Vascular Plant", "Species"});
    return makeRecordset({{"ID", DataType::Integer},
                          {"Scientific_Name", DataType::VarWChar, 255},
                          {"Author", DataType::VarWChar, 255},
                          {"Name_Type", DataType::VarWChar, 1},
                          {"Category", DataType::VarWChar, 80},
                          {"Classification_Level", DataType::VarWChar, 80}},
                         rows);
}

std::shared_ptr<Collection> viewsWith(const QStringList& codes)
{
    auto views = std::make_shared<Collection>();
    for (const QString& code : codes) {
        auto view = std::make_shared<Collection>();
        view->Add(code, "WORKING_LIST_TYPE");
        views->Add(Collection::fromEntry(view));
    }
    return views;
}

class SearchPanel : public ::testing::Test {
protected:
    void SetUp() override
    {
        ON_CALL(*host, GetServerName()).WillByDefault(Return(QString("bryx")));
        ON_CALL(*host, GetServerType()).WillByDefault(Return(1));
        ON_CALL(*host, GetUserID()).WillByDefault(Return(7));
        ON_CALL(*host, Message(_, _)).WillByDefault(Return(1));
        ON_CALL(*host, CallGetQueryRSXML(_)).WillByDefault([this](QString& sql) {
            statements << sql;
            if (sql.startsWith("SELECT * FROM D_NAME_CATEGORY"))
                return categories({"Vascular Plant", "Nonvascular Plant"});
            if (sql.startsWith("SELECT * "))
                return categories({});
            return result;
        });
        form.resize(700, 620);
    }

    // Starts the embedded panel; a non-empty extra info keeps the option store out of it.
    void startEmbedded(const QString& extraInfo = "no defaults")
    {
        auto rsTemp = workingList;
        QVariantList arguments {QVariant::fromValue(rsTemp),
                                QVariant::fromValue(std::shared_ptr<AppManager>(host)),
                                42,
                                QVariant::fromValue(std::shared_ptr<WindowManager>(winMan)),
                                QVariant::fromValue(views),
                                extraInfo};
        CallByName(*panel, "InitSearch", arguments);
        form.show();
    }

    template<typename T> T* control(const char* name) const
    {
        T* found = panel->findChild<T*>(QLatin1String(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    MenuItem* menu(const char* name) const
    {
        for (QObject* item : panel->controlsCollection()) {
            if (item->objectName() == QLatin1String(name))
                return qobject_cast<MenuItem*>(item);
        }
        ADD_FAILURE() << "no menu item " << name;
        return nullptr;
    }
    void findNow() { control<CommandButton>("cmdStartSearch")->click(); }
    FlexGrid& grid() const { return *control<FlexGrid>("fgSearchResults"); }

    ScriptedDesktop desktop;
    ScriptedMessageBox messages; // error reports of the controls land here too
    std::shared_ptr<NiceMock<MockAppManager>> host = std::make_shared<NiceMock<MockAppManager>>();
    std::shared_ptr<NiceMock<MockWindowManager>> winMan = std::make_shared<NiceMock<MockWindowManager>>();
    std::shared_ptr<Collection> views = viewsWith({"REF", "SNM"});
    std::shared_ptr<Recordset> workingList = searchResult({});
    std::shared_ptr<Recordset> result =
        searchResult({{11, "Abies alba"}, {12, "Abies grandis"}, {13, "Abies nordmanniana"}});
    QStringList statements;
    HostForm form;
    ScientificSearch* panel = new ScientificSearch(&form);
};

} // namespace

TEST_F(SearchPanel, StartsEmbeddedInTheHostsOrderAndShowsTheListButtonsOnly)
{
    {
        InSequence order;
        EXPECT_CALL(form, SetCaption(QString("Find Scientific Name")));
        EXPECT_CALL(*host, GetServerType());
        EXPECT_CALL(*host, GetServerName());
        EXPECT_CALL(*host, GetUserID());
        EXPECT_CALL(*host, ApplySecurity(_, _, QString("ScientificSearch"), _))
            .WillOnce(
                [](QObject& component, const QVariant& omitted, const QString&, const ControlList& controls) {
                    EXPECT_EQ(component.objectName(), QString("ScientificSearch"));
                    EXPECT_FALSE(omitted.isValid());
                    QStringList names;
                    for (QObject* control : controls)
                        names << control->objectName();
                    for (const char* name :
                         {"cmdStartSearch", "txtSciNameID", "fgSearchResults", "mnuFileSaveSearch",
                          "mnuOptionsSaveDefault", "mnuNewPlant", "tbFindSciName", "Save", "Help"})
                        EXPECT_TRUE(names.contains(name)) << name;
                });
    }
    startEmbedded();
    // NewSearch and the click of the Botanical button each load the "P" categories.
    EXPECT_EQ(statements, QStringList(2, NameCategoriesSQL("P")));
    EXPECT_EQ(control<ComboBox>("cboNameCategory")->ListCount(), 2);
    EXPECT_EQ(control<ComboBox>("cboNameCategory")->ListIndex(), -1);
    EXPECT_EQ(control<ComboBox>("cboFindNameComparison")->Text(), QString("Contains"));
    EXPECT_TRUE(control<CommandButton>("cmdStartSearch")->isDefault());
    EXPECT_TRUE(control<CommandButton>("cmdOk")->isHidden());
    EXPECT_TRUE(control<CommandButton>("cmdCancel")->isHidden());
    EXPECT_FALSE(control<CommandButton>("cmdAddToList")->isHidden());
    // With extra info the defaults are neither loaded nor saved.
    EXPECT_FALSE(menu("mnuOptionsSaveDefault")->isEnabled());
    EXPECT_FALSE(menu("mnuOptionsSaveDefault")->isChecked());
    EXPECT_CALL(*host, Message(_, _)).Times(0);
    EXPECT_TRUE(CallByName(*panel, "CanClose").toBool());

    panel->resize(100, 100);
    EXPECT_EQ(panel->widthTwips(), pixelsToTwips(twipsToPixels(9615, panel), panel));
    EXPECT_EQ(panel->height(), twipsToPixels(8595, panel));
}

TEST_F(SearchPanel, FindNowSendsTheComposedStatementBindsTheRowsAndFollowsTheSelection)
{
    startEmbedded();
    control<OptionButton>("optNameType_1")->click(); // Zoological: reloads the "A" categories only
    EXPECT_EQ(statements.last(), NameCategoriesSQL("A"));
    control<ComboBox>("cboFindNameComparison")->SetListIndex(1);
    control<TextBox>("txtFindNameSciName")->setText("o'neil");
    statements.clear();
    findNow();
    EXPECT_EQ(statements,
              QStringList {"select * from scientific_srch_vw where upper(scientific_name) = 'O''NEIL' and "
                           "name_type='A' "});
    EXPECT_EQ(grid().Rows(), 4);
    EXPECT_EQ(grid().TextMatrix(0, 1), QString("Scientific Name"));
    EXPECT_EQ(grid().TextMatrix(2, 1), QString("Abies grandis"));
    EXPECT_TRUE(grid().ColHidden(3));
    EXPECT_EQ(control<Label>("lblRecordsReturned")->text(), QString("3"));
    EXPECT_EQ(grid().Row(), 1);
    EXPECT_TRUE(control<CommandButton>("cmdOk")->isEnabled()) << "the selection notification enabled it";
    EXPECT_EQ(desktop.pointers, (std::vector<int> {11, 0}));

    // Enter in a criterion runs Find Now, the panel's default button, in any host window.
    statements.clear();
    keyClick(*control<TextBox>("txtFindNameSciName"), Qt::Key_Return);
    EXPECT_EQ(statements.size(), 1);

    // An ID replaces every other criterion; the ID box takes digits only, typed or pasted.
    for (const auto& [key, text] : {std::pair {Qt::Key_4, "4"}, {Qt::Key_X, "x"}, {Qt::Key_2, "2"}})
        keyClick(*control<TextBox>("txtSciNameID"), key, {}, text);
    QApplication::clipboard()->setText("7a");
    control<TextBox>("txtSciNameID")->paste();
    EXPECT_EQ(control<TextBox>("txtSciNameID")->text(), QString("42")) << "the pasted letter changed nothing";
    EXPECT_TRUE(QToolTip::text().contains("digits only")) << "and the user is told why";
    statements.clear();
    result = searchResult({});
    findNow();
    EXPECT_EQ(statements, QStringList {"select * from scientific_srch_vw where ID='42'"});
    EXPECT_EQ(control<Label>("lblRecordsReturned")->text(), QString("0"));
    EXPECT_FALSE(control<CommandButton>("cmdOk")->isEnabled());
}

TEST_F(SearchPanel, FindNowWithoutCriteriaAsksFirstAndAFailingQueryIsReportedAsAPP014)
{
    startEmbedded();
    statements.clear();
    EXPECT_CALL(*host, Message(QString("APP043"), _)).WillOnce(Return(7));
    findNow();
    EXPECT_TRUE(statements.isEmpty()) << "No runs no query";
    EXPECT_EQ(control<Label>("lblRecordsReturned")->text(), QString("0"));

    EXPECT_CALL(*host, Message(QString("APP043"), _)).WillOnce(Return(6));
    ON_CALL(*host, CallGetQueryRSXML(_)).WillByDefault([](QString&) -> std::shared_ptr<Recordset> {
        throw Error(ErrorNumber::InvalidArgument, "the database is closed");
    });
    EXPECT_CALL(*host, Message(QString("APP014"), _))
        .WillOnce([](const QString&, const std::shared_ptr<Collection>& arguments) {
            EXPECT_EQ(arguments->Count(), 1);
            EXPECT_EQ(arguments->Item(1).toString(), QString("the database is closed"));
            return 1;
        });
    findNow();
    EXPECT_EQ(desktop.pointers.back(), MousePointer::Default);
    EXPECT_TRUE(control<CommandButton>("cmdStartSearch")->isEnabled());
}

TEST_F(SearchPanel, DisplayMessageHandsTheHostOnlyTheArgumentsThatHoldText)
{
    startEmbedded();
    EXPECT_CALL(*host, Message(QString("APP007"), _))
        .WillOnce([](const QString&, const std::shared_ptr<Collection>& arguments) {
            EXPECT_EQ(arguments->Count(), 2);
            EXPECT_EQ(arguments->Item(1).toString(), QString());
            EXPECT_EQ(arguments->Item(2).toString(), QString("second"));
            return 7;
        });
    EXPECT_EQ(CallByName(*panel, "DisplayMessage", {"APP007", "", "second", ""}).toInt(), 7);
}

TEST_F(SearchPanel, ListActionsAddWithoutDuplicatesReplaceOnlyWithASelectionAndRedrawOnce)
{
    startEmbedded();
    control<TextBox>("txtFindNameSciName")->setText("abies");
    findNow();
    control<CommandButton>("cmdDeselectAll")->click();
    EXPECT_EQ(grid().SelectedRows(), 0);
    control<CommandButton>("cmdReplaceList")->click();
    EXPECT_EQ(workingList->RecordCount(), 0) << "no selection leaves the list alone";

    grid().SetIsSelected(2, true);
    {
        InSequence order;
        EXPECT_CALL(form, SetMainGridRedraw(false));
        EXPECT_CALL(form, SetMainGridRedraw(true));
    }
    control<CommandButton>("cmdAddToList")->click();
    EXPECT_EQ(workingList->RecordCount(), 1);
    control<CommandButton>("cmdSelectAll")->click();
    EXPECT_EQ(grid().SelectedRows(), 3);
    ::testing::Mock::VerifyAndClearExpectations(static_cast<MockHostWindow*>(&form));
    control<CommandButton>("cmdAddToList")->click();
    EXPECT_EQ(workingList->RecordCount(), 3) << "12 was there already";

    control<CommandButton>("cmdDeselectAll")->click();
    grid().SetIsSelected(3, true);
    control<CommandButton>("cmdReplaceList")->click();
    ASSERT_EQ(workingList->RecordCount(), 1);
    workingList->MoveFirst();
    EXPECT_EQ(workingList->Fields("ID").Value().toInt(), 13);
}

TEST_F(SearchPanel, DetailsAndNewNamesGoToTheWindowManager)
{
    startEmbedded();
    control<TextBox>("txtFindNameSciName")->setText("abies");
    findNow();
    grid().SetRow(2);
    grid().SetIsSelected(2, true);
    EXPECT_CALL(*winMan, OpenDetails(2, 2, 12, QString("SINGLE_RECORD_VIEW"), _))
        .WillOnce([](int32_t, int32_t, int32_t, const QString&, std::shared_ptr<Recordset>* records) {
            ASSERT_NE(records, nullptr);
            ASSERT_TRUE(*records);
            EXPECT_EQ((*records)->RecordCount(), 1);
            EXPECT_EQ((*records)->Fields("Scientific_Name").Value(), QVariant("Abies grandis"));
        });
    control<CommandButton>("cmdDetails")->click();

    // The type chooser: Zoological, then Next.
    desktop.whileShown = [](QDialog& dialog) {
        auto& chooser = dynamic_cast<frmSelectScientificNameType&>(dialog);
        EXPECT_TRUE(chooser.optBotanical()->isChecked());
        chooser.optZoological()->click();
        chooser.cmdNext()->click();
    };
    EXPECT_CALL(*winMan, NewDetails(42, 42, QString("Zoological..."), nullptr));
    control<CommandButton>("cmdNew")->click();
    desktop.whileShown = [](QDialog& dialog) {
        dynamic_cast<frmSelectScientificNameType&>(dialog).cmdCancel()->click();
    };
    control<CommandButton>("cmdNew")->click(); // cancelled: nothing more is asked of the window manager
    EXPECT_CALL(*winMan, NewDetails(42, 42, QString("Ecological..."), nullptr));
    menu("mnuNewCommunity")->trigger();

    EXPECT_EQ(panel->FindWorkingListView("SNM"), 2);
    EXPECT_EQ(panel->FindWorkingListView("ELE"), -1);
}

TEST_F(SearchPanel, StraightAfterFindNowTheFirstRowIsTheChosenOneAndNoActionRaisesAnErrorReport)
{
    startEmbedded();
    control<TextBox>("txtFindNameSciName")->setText("abies");
    findNow();
    EXPECT_EQ(grid().SelectedRows(), 1) << "the current row of a list box is its selected row";
    EXPECT_CALL(*winMan, OpenDetails(2, 2, 11, QString("SINGLE_RECORD_VIEW"), _));
    control<CommandButton>("cmdDetails")->click();
    control<CommandButton>("cmdAddToList")->click();
    EXPECT_EQ(workingList->RecordCount(), 1);

    // A Ctrl+click can leave the current row unselected: Details opens the current row then.
    grid().resize(600, 300);
    const QRect second = grid().visualRect(grid().model()->index(1, 1));
    mouseClick(*grid().viewport(), second.center());
    mouseClick(*grid().viewport(), second.center(), Qt::ControlModifier);
    ASSERT_EQ(grid().SelectedRows(), 0);
    ASSERT_EQ(grid().Row(), 2);
    EXPECT_CALL(*winMan, OpenDetails(2, 2, 12, QString("SINGLE_RECORD_VIEW"), _));
    control<CommandButton>("cmdDetails")->click();
    EXPECT_TRUE(messages.shown().empty()) << messages.shown().front().prompt.toStdString();
}

TEST_F(SearchPanel, TheResultListSelectsLikeAListBox)
{
    startEmbedded();
    result = searchResult({{11, "Abies alba"},
                           {12, "Abies grandis"},
                           {13, "Abies nordmanniana"},
                           {14, "Abies pinsapo"},
                           {15, "Abies procera"}});
    findNow();
    grid().resize(600, 300);
    auto rowCentre = [&](int row) { return grid().visualRect(grid().model()->index(row - 1, 1)).center(); };
    auto selected = [&] {
        std::vector<int> rows;
        for (int position = 0; position < grid().SelectedRows(); ++position)
            rows.push_back(grid().SelectedRow(position));
        return rows;
    };

    mouseClick(*grid().viewport(), rowCentre(2));
    EXPECT_EQ(selected(), (std::vector<int> {2})) << "a plain click selects that row only";
    mouseClick(*grid().viewport(), rowCentre(4));
    EXPECT_EQ(selected(), (std::vector<int> {4})) << "and again: it does not add";
    mouseClick(*grid().viewport(), rowCentre(1), Qt::ControlModifier);
    EXPECT_EQ(selected(), (std::vector<int> {1, 4})) << "Ctrl+click adds";
    mouseClick(*grid().viewport(), rowCentre(4), Qt::ControlModifier);
    EXPECT_EQ(selected(), (std::vector<int> {1})) << "Ctrl+click toggles";
    mouseClick(*grid().viewport(), rowCentre(2));
    mouseClick(*grid().viewport(), rowCentre(4), Qt::ShiftModifier);
    EXPECT_EQ(selected(), (std::vector<int> {2, 3, 4})) << "Shift+click extends";

    mouseClick(*grid().viewport(), rowCentre(5));
    mouseDoubleClick(*grid().viewport(), rowCentre(5));
    EXPECT_EQ(selected(), (std::vector<int> {5})) << "a double-click keeps its row selected";
    ASSERT_EQ(workingList->RecordCount(), 1) << "and adds it to the working list";
    workingList->MoveFirst();
    EXPECT_EQ(workingList->Fields("ID").Value(), QVariant(15));
    EXPECT_TRUE(messages.shown().empty());
}

TEST_F(SearchPanel, TheFocusStartsInTheTextToSearchForAndTabWalksTheFormInReadingOrder)
{
    startEmbedded();
    form.activateWindow();
    QApplication::setActiveWindow(&form);
    ASSERT_EQ(QApplication::focusWidget(), control<TextBox>("txtFindNameSciName"))
        << "a user types the name straight away";

    // Typing and Enter search for what was typed, without the no-criteria question.
    statements.clear();
    for (const QChar letter : QString("pinus"))
        keyClick(*QApplication::focusWidget(), Qt::Key(letter.toUpper().unicode()), {}, letter);
    keyClick(*QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(statements,
              QStringList {"select * from scientific_srch_vw where upper(scientific_name) like "
                           "'%PINUS%' and name_type='P' "});

    // The grid shows that it has the keys: its frame is drawn in the highlight colour.
    const QColor highlight = grid().palette().color(QPalette::Highlight);
    auto frameColour = [&] {
        QWidget& rows = *grid().viewport();
        return rows.grab().toImage().pixelColor(rows.width() - 1, rows.height() - 1);
    };
    EXPECT_NE(frameColour(), highlight);
    grid().setFocus();
    EXPECT_EQ(frameColour(), highlight);

    QStringList walk;
    control<OptionButton>("optNameType_0")->setFocus();
    for (int step = 0; step < 12; ++step) {
        walk << QApplication::focusWidget()->objectName();
        keyClick(*QApplication::focusWidget(), Qt::Key_Tab);
    }
    EXPECT_EQ(
        walk,
        (QStringList {"optNameType_0", "cboNameCategory", "cboClassificationLevel", "cboFindNameComparison",
                      "txtFindNameSciName", "txtSciNameID", "cmdStartSearch", "fgSearchResults",
                      "cmdSelectAll", "cmdDeselectAll", "cmdAddToList", "cmdReplaceList"}));
}

TEST_F(SearchPanel, ToolbarPicturesComeFromTheDesktopIconTheme)
{
    startEmbedded();
    auto* toolbar = control<Toolbar>("tbFindSciName");
    const std::pair<const char*, const char*> pictures[] = {
        {"New", "document-new"}, {"Open", "document-open"}, {"Save", "document-save"}, {"Cut", "edit-cut"},
        {"Copy", "edit-copy"},   {"Paste", "edit-paste"},   {"Help", "help-browser"}};
    for (const auto& [key, themeName] : pictures) {
        const QIcon icon = toolbar->Buttons(QString(key))->icon();
        EXPECT_EQ(icon.name(), QString(themeName)) << key;
        EXPECT_FALSE(icon.pixmap(16, 16).isNull()) << key << ": the theme has the picture";
    }
}

TEST_F(SearchPanel, ToolbarAndMenusDispatchByKeyAndHonourTheEnabledStateOfTheirEntries)
{
    startEmbedded();
    auto& toolbar = *control<Toolbar>("tbFindSciName");
    toolbar.Buttons("Help")->trigger();
    EXPECT_EQ(desktop.keys, QStringList {"{F1}"});
    control<TextBox>("txtFindNameSciName")->setText("abies");
    menu("mnuFileNew")->setEnabled(false); // the host's security took it away
    toolbar.Buttons("New")->trigger();
    EXPECT_EQ(control<TextBox>("txtFindNameSciName")->text(), QString("abies"));
    menu("mnuFileNew")->setEnabled(true);
    toolbar.Buttons("New")->trigger();
    EXPECT_EQ(control<TextBox>("txtFindNameSciName")->text(), QString());

    // Edit commands act on the focused control: a text box gets the keystroke.
    QApplication::setActiveWindow(&form);
    control<TextBox>("txtFindNameSciName")->setFocus();
    ASSERT_EQ(panel->ActiveControl(), control<TextBox>("txtFindNameSciName"));
    toolbar.Buttons("Copy")->trigger();
    EXPECT_EQ(desktop.keys.last(), QString("^C"));
    const int keysBefore = int(desktop.keys.size());
    control<FlexGrid>("fgSearchResults")->setFocus();
    toolbar.Buttons("Paste")->trigger();
    EXPECT_EQ(desktop.keys.size(), keysBefore) << "a grid gets no keystroke";

    int quits = 0;
    QObject::connect(panel, &ScientificSearch::Quit, [&] { ++quits; });
    menu("mnuFileClose")->trigger();
    EXPECT_EQ(quits, 1);
}

namespace {

// The modal search, with a stand-in registered under the details component's ProgID.
class ModalSearchPanel : public SearchPanel {
protected:
    void SetUp() override
    {
        SearchPanel::SetUp();
        ON_CALL(*host, ViewManager()).WillByDefault(Return(viewManager));
        ON_CALL(*viewManager, colViews()).WillByDefault(Return(views));
        ComponentRegistry::instance().add(
            {registration::DetailsProgId, "{00000000-0000-4000-8000-0000000DE7A1}", "{IID}", "{EVENTS}",
             [](QWidget* parent) -> UserControl* { return new TestComponent(parent); }});
    }
    void TearDown() override { ComponentRegistry::instance().remove(registration::DetailsProgId); }

    void startModal()
    {
        auto rsTemp = workingList;
        QVariantList arguments {QVariant::fromValue(std::shared_ptr<AppManager>(host)),
                                QVariant::fromValue(rsTemp), QString()};
        CallByName(*panel, "InitModalSearch", arguments);
        form.show();
    }

    std::shared_ptr<NiceMock<MockViewManager>> viewManager = std::make_shared<NiceMock<MockViewManager>>();
};

} // namespace

TEST_F(ModalSearchPanel, StartsWithOkAndCancelAndAReportedOptionStoreFailure)
{
    EXPECT_CALL(form, SetHeight(9200));
    // No option store in this process: the load of the defaults says so and start-up goes on.
    EXPECT_CALL(*host, Message(QString("APP010"), _)).WillOnce(Return(1));
    startModal();
    for (const char* hidden : {"cmdSelectAll", "cmdDeselectAll", "cmdAddToList", "cmdReplaceList"})
        EXPECT_TRUE(control<CommandButton>(hidden)->isHidden()) << hidden;
    EXPECT_FALSE(control<CommandButton>("cmdOk")->isHidden());
    EXPECT_FALSE(control<CommandButton>("cmdOk")->isEnabled());
    EXPECT_TRUE(menu("mnuOptionsSaveDefault")->isEnabled());
    EXPECT_EQ(desktop.pointers.back(), MousePointer::Default);
    EXPECT_EQ(panel->FindWorkingListView("SNM"), 2) << "the views come from the host's view manager";
}

TEST_F(ModalSearchPanel, OkHandsBackIdsAndRowsCancelHandsBackNothing)
{
    startModal();
    control<TextBox>("txtFindNameSciName")->setText("abies");
    findNow();
    auto ids = std::make_shared<Collection>();
    CallByName(*panel, "SetSelectedItems", {QVariant::fromValue(ids)});
    CallByName(*panel, "UseSelectedRecordset", {true});
    grid().SetRow(1); // the current row is the selected one, as in a list box
    grid().SetIsSelected(3, true);
    int quits = 0;
    QObject::connect(panel, &ScientificSearch::Quit, [&] { ++quits; });
    control<CommandButton>("cmdOk")->click();
    EXPECT_EQ(quits, 1);
    ASSERT_EQ(ids->Count(), 2);
    EXPECT_EQ(ids->Item(1).toString(), QString("11"));
    EXPECT_EQ(ids->Item(2).toString(), QString("13"));
    EXPECT_EQ(workingList->RecordCount(), 2);

    control<CommandButton>("cmdCancel")->click();
    EXPECT_EQ(quits, 2);
    EXPECT_EQ(panel->rsView(), nullptr) << "the caller's recordset is let go, not filled";
    EXPECT_EQ(workingList->RecordCount(), 2);
}

TEST_F(ModalSearchPanel, DetailsAndNewNamesOpenTheModalDetailDialog)
{
    startModal();
    control<TextBox>("txtFindNameSciName")->setText("abies");
    findNow();
    grid().SetRow(2);
    grid().SetIsSelected(2, true);
    QStringList seen;
    desktop.whileShown = [&](QDialog& dialog) {
        if (auto* chooser = dynamic_cast<frmSelectScientificNameType*>(&dialog)) {
            chooser->optEcological()->click();
            chooser->cmdNext()->click();
            return;
        }
        auto* details = dialog.findChild<TestComponent*>();
        ASSERT_NE(details, nullptr);
        seen << details->calls;
    };
    control<CommandButton>("cmdDetails")->click();
    EXPECT_TRUE(seen.contains("LoadData(12)")) << seen.join(", ").toStdString();

    // The new name (4711, as the stand-in answers) is read back and joins the result.
    seen.clear();
    EXPECT_CALL(*host, CallGetQueryRSXML(_)).WillOnce([](QString& sql) {
        EXPECT_EQ(sql, QString("SELECT * FROM SCIENTIFIC_SRCH_VW WHERE ID=4711"));
        return searchResult({{4711, "Abies ecologica"}});
    });
    control<CommandButton>("cmdNew")->click();
    EXPECT_TRUE(seen.contains("InitModalDetails(Ecological...)")) << seen.join(", ").toStdString();
    EXPECT_TRUE(seen.contains("NewData(0)"));
    ASSERT_EQ(grid().Rows(), 5);
    EXPECT_EQ(grid().TextMatrix(4, 1), QString("Abies ecologica"));
}

TEST_F(SearchPanel, ViewSqlShowsTheStatementAndTheSearchDialogBehavesByMode)
{
    startEmbedded();
    control<TextBox>("txtFindNameSciName")->setText("abc");
    QString shown;
    desktop.whileShown = [&](QDialog& dialog) {
        auto& viewer = dynamic_cast<frmSQL&>(dialog);
        EXPECT_EQ(viewer.windowTitle(), QString("View SQL"));
        shown = viewer.txtSQL()->PlainText();
        viewer.mnuEditCopy()->trigger();
        viewer.cmdOk()->click();
        EXPECT_TRUE(viewer.isHidden());
    };
    menu("mnuOptionsViewSQL")->trigger();
    EXPECT_EQ(
        shown,
        QString(
            "select * from scientific_srch_vw where upper(scientific_name) like '%ABC%' and name_type='P' "));
    EXPECT_EQ(desktop.keys, QStringList {"^C"});

    // Without an option store the list cannot be read: said in a message box, dialog still usable.
    ScriptedMessageBox messages;
    for (const int mode :
         {frmUserSearchSaveOpen::Save, frmUserSearchSaveOpen::Open, frmUserSearchSaveOpen::Delete}) {
        frmUserSearchSaveOpen dialog;
        dialog.Init("$USER_FIND_SCIENTIFIC", mode, host);
        EXPECT_FALSE(dialog.cmdSave()->isEnabled());
        EXPECT_EQ(dialog.txtSearchName()->isReadOnly(), mode != frmUserSearchSaveOpen::Save);
        dialog.txtSearchName()->setText("  ");
        EXPECT_FALSE(dialog.cmdSave()->isEnabled());
        dialog.txtSearchName()->setText(" firs ");
        EXPECT_EQ(dialog.cmdSave()->isEnabled(), mode == frmUserSearchSaveOpen::Save);
        EXPECT_EQ(dialog.GetSearchName(), QString(" firs ")) << "not trimmed";
        dialog.close(); // the close box is a cancel
        EXPECT_TRUE(dialog.IsCanceled());
    }
    ASSERT_EQ(messages.shown().size(), 3u);
    EXPECT_TRUE(messages.shown().front().prompt.startsWith("Unable to save default settings: "));
    EXPECT_EQ(messages.shown().front().style, MsgBoxStyle::Exclamation);
}
