// The search panel on the reference host's database, driven as a user drives it: typing,
// clicking, choosing rows, answering dialogs. Runs on SQLite, and on PostgreSQL when the suite
// was given a server.
#include "../host/TestDatabase.h"
#include "../support/QtPrinters.h"
#include "../support/ScriptedDesktop.h"
#include "../support/ScriptedMessageBox.h"
#include "../support/UserInput.h"
#include "SavedSearches.h"
#include "ScientificSearch.h"
#include "SearchStateXml.h"
#include "clients/ClientCollection.h"
#include "collection/Collection.h"
#include "common/UserOptionStore.h"
#include "controls/Controls.h"
#include "controls/FlexGrid.h"
#include "dialogs/frmModalSearch.h"
#include "frmUserSearchSaveOpen.h"
#include "hosting/LateBinding.h"
#include "recordset/Recordset.h"
#include "registration/Identities.h"
#include "services/SqlAppManager.h"

#include <QApplication>
#include <QMenu>
#include <functional>
#include <gtest/gtest.h>

using namespace bryx;
using namespace bryx::test;

namespace {

class SearchPanelOnHost : public OnEachEngineWithHost {
protected:
    void SetUp() override
    {
        OnEachEngineWithHost::SetUp();
        if (IsSkipped())
            return;
        host::registerClientComponents();
        workingList = appManager->GetPrototypeRSForView("SNM");
    }

    // A panel embedded in a window, started as the host starts it.
    std::unique_ptr<QWidget> startPanel(const QString& extraInfo = {})
    {
        auto window = std::make_unique<QWidget>();
        panel = new ScientificSearch(window.get());
        auto rsTemp = workingList;
        auto views = appManager->ViewManager()->colViews();
        QVariantList arguments {QVariant::fromValue(rsTemp),
                                QVariant::fromValue(std::shared_ptr<AppManager>(appManager)),
                                1,
                                QVariant::fromValue(std::shared_ptr<WindowManager>()),
                                QVariant::fromValue(views),
                                extraInfo};
        CallByName(*panel, "InitSearch", arguments);
        return window;
    }

    template<typename T> T& control(const char* name) const
    {
        T* found = panel->findChild<T*>(QLatin1String(name));
        if (!found)
            throw std::runtime_error(std::string("no control ") + name);
        return *found;
    }
    MenuItem& menu(const char* name) const
    {
        for (QObject* item : panel->controlsCollection()) {
            if (item->objectName() == QLatin1String(name))
                return *qobject_cast<MenuItem*>(item);
        }
        throw std::runtime_error(std::string("no menu item ") + name);
    }
    int count(const QString& where) const
    {
        return database->open()->scalar("select count(*) from scientific_srch_vw where " + where).toInt();
    }
    int shownCount() const { return control<Label>("lblRecordsReturned").text().toInt(); }
    void findNow() { control<CommandButton>("cmdStartSearch").click(); }
    void chooseCategory(const QString& category)
    {
        // Chosen with the arrow keys, each step a choice the panel hears as a user's.
        auto& categories = control<ComboBox>("cboNameCategory");
        const int wanted = categories.findText(category);
        ASSERT_GE(wanted, 0) << category.toStdString();
        categories.setFocus();
        for (int step = 0; step <= categories.ListCount() && categories.ListIndex() != wanted; ++step)
            keyClick(categories, categories.ListIndex() < wanted ? Qt::Key_Down : Qt::Key_Up);
        ASSERT_EQ(categories.ListIndex(), wanted);
    }
    // Answers the search-name dialog with a name typed or picked from its list.
    void answerSearchDialog(const QString& name, bool pickFromList)
    {
        desktop.whileShown = [name, pickFromList](QDialog& dialog) {
            auto& searches = dynamic_cast<frmUserSearchSaveOpen&>(dialog);
            if (pickFromList) {
                auto& list = *searches.lstUserSearches();
                for (int row = 0; row < list.ListCount(); ++row) {
                    if (list.List(row) == name)
                        list.SetListIndex(row);
                }
            } else {
                searches.txtSearchName()->setText(name);
            }
            searches.cmdSave()->click();
        };
    }

    // Stores default criteria with "Save Settings as Default" on, as an earlier session left them.
    void storeDefaultCriteria(const QString& stateXml) const
    {
        const UserOptionStore store(appManager->GetServerName(), appManager->GetServerType());
        const int32_t user = appManager->GetUserID();
        ASSERT_TRUE(store.addOption(
            SavedSearches::DefaultProperties, "BRYX_SCIENTIFICNAME.SEARCH",
            "<BRYX><SEARCH_PROPERTIES><SAVE_ON_EXIT>True</SAVE_ON_EXIT></SEARCH_PROPERTIES></BRYX>", user));
        ASSERT_TRUE(
            store.addOption(SavedSearches::DefaultCriteria, "BRYX_SCIENTIFICNAME.SEARCH", stateXml, user));
    }

    ScriptedDesktop desktop;
    ScriptedMessageBox messages;
    std::shared_ptr<Recordset> workingList;
    ScientificSearch* panel = nullptr;
};

} // namespace

TEST_P(SearchPanelOnHost, FindsNamesByTextByCategoryAndLevelAndByID)
{
    const auto window = startPanel();
    control<TextBox>("txtFindNameSciName").setText("abies alba");
    findNow();
    EXPECT_EQ(shownCount(), count("upper(scientific_name) like '%ABIES ALBA%' and name_type='P'"));
    EXPECT_GE(shownCount(), 2) << "Abies alba under two authors";
    auto& grid = control<FlexGrid>("fgSearchResults");
    EXPECT_EQ(grid.TextMatrix(1, 1), QString("Abies alba"));

    control<TextBox>("txtFindNameSciName").clear();
    chooseCategory("Vascular Plant");
    EXPECT_EQ(control<ComboBox>("cboClassificationLevel").ListCount(), 4)
        << "Species, Subspecies, Variety, Form";
    control<ComboBox>("cboClassificationLevel").SetText("Subspecies");
    findNow();
    EXPECT_EQ(shownCount(), count("category='Vascular Plant' and classification_level='Subspecies'"));
    EXPECT_GT(shownCount(), 0);

    const int id = database->nameId("Abies alba", "Mill.");
    control<TextBox>("txtSciNameID").setText(QString::number(id));
    findNow();
    ASSERT_EQ(shownCount(), 1);
    EXPECT_EQ(grid.TextMatrix(1, 0), QString::number(id));
    EXPECT_TRUE(messages.shown().empty());
}

TEST_P(SearchPanelOnHost, AddsToTheWorkingListWithoutDuplicatesAndReplacesIt)
{
    const auto window = startPanel();
    control<TextBox>("txtFindNameSciName").setText("abies");
    findNow();
    const int hits = shownCount();
    ASSERT_GE(hits, 3);
    auto& grid = control<FlexGrid>("fgSearchResults");
    grid.SetIsSelected(1, true);
    control<CommandButton>("cmdAddToList").click();
    EXPECT_EQ(workingList->RecordCount(), 1);
    control<CommandButton>("cmdSelectAll").click();
    control<CommandButton>("cmdAddToList").click();
    EXPECT_EQ(workingList->RecordCount(), hits);
    control<CommandButton>("cmdAddToList").click();
    EXPECT_EQ(workingList->RecordCount(), hits) << "no name twice";

    control<CommandButton>("cmdDeselectAll").click();
    grid.SetIsSelected(3, true);
    control<CommandButton>("cmdReplaceList").click();
    ASSERT_EQ(workingList->RecordCount(), 1);
    workingList->MoveFirst();
    EXPECT_EQ(workingList->Fields("ID").Value().toString(), grid.TextMatrix(3, 0));
}

TEST_P(SearchPanelOnHost, TheModalSearchHandsBackOneOrSeveralChosenRows)
{
    for (const bool single : {false, true}) {
        auto chosen = appManager->GetPrototypeRSForView("SNM");
        auto ids = std::make_shared<Collection>();
        frmModalSearch dialog;
        ASSERT_TRUE(dialog.InitDialog(registration::SearchProgId, appManager, chosen, QString()));
        dialog.UseSelectedRecordset(true);
        dialog.SetSelectedItems(ids);
        if (single)
            dialog.SetSingleSelect();
        desktop.whileShown = [](QDialog& shown) {
            auto* search = shown.findChild<ScientificSearch*>();
            ASSERT_NE(search, nullptr);
            EXPECT_TRUE(search->findChild<CommandButton*>("cmdAddToList")->isHidden());
            QApplication::setActiveWindow(&shown);
            EXPECT_EQ(QApplication::focusWidget(), search->findChild<TextBox*>("txtFindNameSciName"))
                << "the modal search starts in the text to search for, not in "
                << (QApplication::focusWidget() ? QApplication::focusWidget()->objectName().toStdString()
                                                : "");
            search->findChild<TextBox*>("txtFindNameSciName")->setText("picea");
            search->findChild<CommandButton*>("cmdStartSearch")->click();
            auto* grid = search->findChild<FlexGrid*>("fgSearchResults");
            grid->SetIsSelected(1, true);
            grid->SetIsSelected(2, true);
            search->findChild<CommandButton*>("cmdOk")->click();
        };
        dialog.ShowModal();
        EXPECT_TRUE(dialog.isUnloaded()) << "Quit closed the dialog";
        const int expected = single ? 1 : 2;
        EXPECT_EQ(ids->Count(), expected);
        EXPECT_EQ(chosen->RecordCount(), expected);
        chosen->MoveFirst();
        EXPECT_TRUE(chosen->Fields("Scientific_Name").Value().toString().startsWith("Picea"));
        EXPECT_EQ(chosen->Fields("ID").Value().toString(), ids->Item(1).toString());
    }
}

TEST_P(SearchPanelOnHost, ASavedSearchWithAQuoteInItsNameSurvivesARestartOfThePanel)
{
    const QString name = "O'Neil's firs";
    {
        const auto window = startPanel();
        control<OptionButton>("optNameType_1").click();
        chooseCategory("Vertebrate Animal");
        control<TextBox>("txtFindNameSciName").setText("ursus");
        control<ComboBox>("cboFindNameComparison").SetListIndex(2);
        answerSearchDialog(name, false);
        menu("mnuFileSaveSearchAs").trigger();
        EXPECT_EQ(panel->SearchName(), name);
        EXPECT_TRUE(messages.shown().empty());
        // Saving under the same name again asks first; No keeps the stored search.
        control<TextBox>("txtFindNameSciName").setText("changed");
        messages.answer(MsgBoxResult::No);
        menu("mnuFileSaveSearchAs").trigger();
        ASSERT_EQ(messages.shown().size(), 1u);
        EXPECT_TRUE(messages.shown().front().prompt.contains(name));
        CallByName(*panel, "CanClose");
    }
    const auto window = startPanel();
    EXPECT_EQ(control<TextBox>("txtFindNameSciName").text(), QString());
    answerSearchDialog(name, true);
    menu("mnuFileOpenSearch").trigger();
    EXPECT_EQ(panel->SearchName(), name);
    EXPECT_TRUE(control<OptionButton>("optNameType_1").isChecked());
    EXPECT_EQ(control<ComboBox>("cboNameCategory").Text(), QString("Vertebrate Animal"));
    EXPECT_EQ(control<TextBox>("txtFindNameSciName").text(), QString("ursus"));
    EXPECT_EQ(control<ComboBox>("cboFindNameComparison").ListIndex(), 2);

    // Deleting the open search forgets its name, so the next Save asks for one.
    answerSearchDialog(name, true);
    menu("mnuFileDeleteSearch").trigger();
    EXPECT_EQ(panel->SearchName(), QString());
    const UserOptionStore store(appManager->GetServerName(), appManager->GetServerType());
    const auto left = store.findOptions("Category_Option_Name",
                                        {SavedSearches::UserSearches, SavedSearches::EscapeQuotes(name),
                                         QString::number(appManager->GetUserID())});
    ASSERT_TRUE(left);
    EXPECT_EQ(left->Count(), 0);
}

TEST_P(SearchPanelOnHost, DefaultCriteriaComeBackOnlyWhileSaveSettingsAsDefaultIsOn)
{
    {
        const auto window = startPanel();
        EXPECT_FALSE(menu("mnuOptionsSaveDefault").isChecked());
        menu("mnuOptionsSaveDefault").trigger();
        EXPECT_TRUE(menu("mnuOptionsSaveDefault").isChecked());
        control<OptionButton>("optNameType_2").click();
        control<TextBox>("txtFindNameSciName").setText("pinus & <quercus>");
        CallByName(*panel, "CanClose");
    }
    {
        const auto window = startPanel();
        EXPECT_TRUE(menu("mnuOptionsSaveDefault").isChecked());
        EXPECT_TRUE(control<OptionButton>("optNameType_2").isChecked());
        EXPECT_EQ(control<TextBox>("txtFindNameSciName").text(), QString("pinus & <quercus>"));
        menu("mnuOptionsSaveDefault").trigger(); // off: remembered, and the criteria are not saved
        control<TextBox>("txtFindNameSciName").setText("not kept");
        CallByName(*panel, "CanClose");
    }
    {
        const auto window = startPanel();
        EXPECT_FALSE(menu("mnuOptionsSaveDefault").isChecked());
        EXPECT_TRUE(control<OptionButton>("optNameType_0").isChecked());
        EXPECT_EQ(control<TextBox>("txtFindNameSciName").text(), QString());
    }
    {
        // A panel started with extra info neither loads nor saves defaults.
        const auto window = startPanel("SINGLE");
        EXPECT_FALSE(menu("mnuOptionsSaveDefault").isEnabled());
    }
    EXPECT_TRUE(messages.shown().empty());
}

TEST_P(SearchPanelOnHost, DamagedSavedStatesApplyNothingBeyondTheResetAndSayWhy)
{
    storeDefaultCriteria("<BRYX><SEARCH_STATE><NAME_TYPE_DESC>Zoological...</NAME_TYPE_DESC>"
                         "<COMPARISON_OPERATION>two</COMPARISON_OPERATION></SEARCH_STATE></BRYX>");
    const UserOptionStore store(appManager->GetServerName(), appManager->GetServerType());
    ASSERT_TRUE(
        store.addOption(SavedSearches::UserSearches, "broken", "this is not <xml", appManager->GetUserID()));
    const auto window = startPanel();
    ASSERT_EQ(messages.shown().size(), 1u) << "the non-numeric comparison is reported";
    EXPECT_TRUE(messages.shown().front().prompt.contains("two"));
    EXPECT_TRUE(control<OptionButton>("optNameType_0").isChecked())
        << "after a failed load the type is reset";
    EXPECT_GT(control<ComboBox>("cboNameCategory").ListCount(), 0);

    control<TextBox>("txtFindNameSciName").setText("abies");
    answerSearchDialog("broken", true);
    menu("mnuFileOpenSearch").trigger();
    EXPECT_EQ(control<TextBox>("txtFindNameSciName").text(), QString()) << "reset, nothing applied";
    EXPECT_EQ(panel->SearchName(), QString("broken"));
    findNow(); // the panel stays usable
    EXPECT_EQ(messages.shown().size(), 2u) << "no criteria: the APP043 question";
}

TEST_P(SearchPanelOnHost, AStoredComparisonTheListDoesNotHaveFailsAsAWordDoes)
{
    storeDefaultCriteria(
        "<BRYX><SEARCH_STATE><COMPARISON_OPERATION>7</COMPARISON_OPERATION></SEARCH_STATE></BRYX>");
    const auto window = startPanel();
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.shown().front().title, QString("Search Defaults")) << "APP009";
    EXPECT_TRUE(messages.shown().front().prompt.contains("7"));
    EXPECT_EQ(control<ComboBox>("cboFindNameComparison").ListIndex(), 0);

    // The panel's own "nothing chosen" (-1) reads back as it was written.
    panel->ApplySearchState("<BRYX><SEARCH_STATE><COMPARISON_OPERATION>-1</COMPARISON_OPERATION>"
                            "</SEARCH_STATE></BRYX>");
    EXPECT_EQ(control<ComboBox>("cboFindNameComparison").ListIndex(), -1);
}

TEST_P(SearchPanelOnHost, ALookupFailingWhileASavedSearchSwitchesTheTypeIsReportedOnceByTheOpen)
{
    const auto window = startPanel();
    control<OptionButton>("optNameType_1").click();
    control<TextBox>("txtFindNameSciName").setText("ursus");
    answerSearchDialog("bears", false);
    menu("mnuFileSaveSearchAs").trigger();
    ASSERT_TRUE(messages.shown().empty());

    database->openAsAdmin()->exec("ALTER TABLE d_name_category RENAME TO d_name_category_away");
    answerSearchDialog("bears", true);
    menu("mnuFileOpenSearch").trigger();
    ASSERT_EQ(messages.shown().size(), 1u) << "one message, not an error report and then the message";
    EXPECT_EQ(messages.shown().front().title, QString("Search Settings")) << "APP010";
    EXPECT_TRUE(messages.shown().front().prompt.contains("d_name_category", Qt::CaseInsensitive))
        << messages.shown().front().prompt.toStdString();
}

// A saved search is text anyone with a database tool could have written; its ID goes into the
// statement as it is, so the host's read path is what keeps a breakout from running.
TEST_P(SearchPanelOnHost, ASavedSearchWhoseIdBreaksOutOfTheStatementChangesNothingAndSaysSoOnce)
{
    const QString breakout = "1' OR $q$'$q$ = ''; COMMIT; BEGIN READ WRITE; DELETE FROM audit_log; --";
    const UserOptionStore store(appManager->GetServerName(), appManager->GetServerType());
    ASSERT_TRUE(
        store.addOption(SavedSearches::UserSearches, "planted",
                        SearchStateXml::BuildSearchState(SearchCriteria {0, {}, {}, -1, {}, breakout}),
                        appManager->GetUserID()));
    auto admin = database->openAsAdmin();
    const auto counts = [&] {
        return admin->scalar("SELECT count(*) FROM audit_log").toString() + "/"
            + admin->scalar("SELECT count(*) FROM scientific_name").toString();
    };
    const QString before = counts();
    const auto window = startPanel();
    answerSearchDialog("planted", true);
    menu("mnuFileOpenSearch").trigger();
    ASSERT_TRUE(messages.shown().empty());
    EXPECT_EQ(control<TextBox>("txtSciNameID").text(), breakout);
    findNow();
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_TRUE(messages.shown().front().prompt.contains("statement"))
        << messages.shown().front().prompt.toStdString();
    EXPECT_EQ(shownCount(), 0);
    EXPECT_EQ(counts(), before);
}

TEST_P(SearchPanelOnHost, AModalSearchRemembersItsDefaultsHoweverTheUserEndsIt)
{
    const std::pair<const char*, QString> endings[] = {
        {"cmdOk", "abies"}, {"cmdCancel", "picea"}, {"mnuFileClose", "larix"}};
    auto runModal = [&](const std::function<void(ScientificSearch&)>& act) {
        auto chosen = appManager->GetPrototypeRSForView("SNM");
        frmModalSearch dialog;
        ASSERT_TRUE(dialog.InitDialog(registration::SearchProgId, appManager, chosen, QString()));
        desktop.whileShown = [&](QDialog& shown) {
            auto* search = shown.findChild<ScientificSearch*>();
            ASSERT_NE(search, nullptr);
            act(*search);
        };
        dialog.ShowModal();
        EXPECT_TRUE(dialog.isUnloaded());
    };
    auto menuOf = [](ScientificSearch& search, const char* name) {
        for (QObject* item : search.controlsCollection()) {
            if (item->objectName() == QLatin1String(name))
                return qobject_cast<MenuItem*>(item);
        }
        throw std::runtime_error(std::string("no menu item ") + name);
    };
    for (const auto& [ending, text] : endings) {
        SCOPED_TRACE(ending);
        runModal([&, ending = ending, text = text](ScientificSearch& search) {
            if (!menuOf(search, "mnuOptionsSaveDefault")->isChecked())
                menuOf(search, "mnuOptionsSaveDefault")->trigger();
            search.findChild<TextBox*>("txtFindNameSciName")->setText(text);
            search.findChild<CommandButton*>("cmdStartSearch")->click(); // OK needs a row
            if (auto* button = search.findChild<CommandButton*>(ending))
                button->click();
            else
                menuOf(search, ending)->trigger();
        });
        runModal([&, text = text](ScientificSearch& search) {
            EXPECT_TRUE(menuOf(search, "mnuOptionsSaveDefault")->isChecked());
            EXPECT_EQ(search.findChild<TextBox*>("txtFindNameSciName")->text(), text);
            search.findChild<CommandButton*>("cmdCancel")->click();
        });
    }
    EXPECT_TRUE(messages.shown().empty());
}

INSTANTIATE_ON_EACH_ENGINE(SearchPanelOnHost);
