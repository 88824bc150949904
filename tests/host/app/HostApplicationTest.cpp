// bryx-host's main window on a fresh reference database, driven as a user drives it.
#include "../../support/GridInput.h"
#include "../../support/QtPrinters.h"
#include "../../support/ScriptedDesktop.h"
#include "../../support/ScriptedMessageBox.h"
#include "../../support/TestComponent.h"
#include "../../support/UserInput.h"
#include "../TestDatabase.h"
#include "ComponentWindow.h"
#include "HostAppFixture.h"
#include "HostDesktopServices.h"
#include "LocalDatabase.h"
#include "MainWindow.h"
#include "WorkingListView.h"
#include "controls/Controls.h"
#include "controls/FlexGrid.h"
#include "db/Schema.h"
#include "hosting/ComponentRegistry.h"
#include "hosting/UserControl.h"
#include "recordset/Recordset.h"
#include "registration/Identities.h"
#include "services/SqlAppManager.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <gtest/gtest.h>
#include <optional>

using namespace bryx;
using namespace bryx::host;
using namespace bryx::test;

TEST_P(HostApplication, CtrlFThenTypingANameAndEnterFindsIt)
{
    auto window = start(appManager);
    QApplication::setActiveWindow(window.get());
    QAction* find = nullptr;
    for (QAction* action : window->findChildren<QAction*>()) {
        if (action->shortcut() == QKeySequence(Qt::CTRL | Qt::Key_F))
            find = action;
    }
    ASSERT_NE(find, nullptr) << "Ctrl+F is the Find entry's key";
    find->trigger();
    ASSERT_EQ(window->componentWindows().size(), 1);
    ComponentWindow& search = *window->componentWindows().first();
    ASSERT_EQ(QApplication::focusWidget(), &control<TextBox>(search, "txtFindNameSciName"))
        << "the user types the name straight away";

    for (const QChar letter : QString("pinus"))
        keyClick(*QApplication::focusWidget(), Qt::Key(letter.toUpper().unicode()), {}, letter);
    keyClick(*QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_TRUE(messages.shown().empty()) << "no question about missing criteria";
    const int found = control<Label>(search, "lblRecordsReturned").text().toInt();
    EXPECT_GT(found, 0);
    EXPECT_EQ(found,
              database->open()
                  ->scalar("select count(*) from scientific_srch_vw where upper(scientific_name) like "
                           "'%PINUS%' and name_type='P'")
                  .toInt());
}

TEST_P(HostApplication, AUserFindsNamesBuildsTheWorkingListAndGetsTheSearchBackAsLeft)
{
    auto window = start(appManager);
    EXPECT_EQ(menuCaptions(*window), (QStringList {"&File", "&Edit", "&Tools", "&View", "&Window", "&Help"}));
    ComponentWindow* find = window->openSearch();
    EXPECT_EQ(find->windowTitle(), QString("Find Scientific Name"));
    EXPECT_GE(find->width(), find->component()->width()) << "the window is sized around the component";
    EXPECT_EQ(menuCaptions(*window),
              (QStringList {"&File", "&Edit", "&Options", "New", "&Tools", "&View", "&Window", "&Help"}))
        << "a component without Tools gets the host's";

    search(*find, "abies");
    auto& results = control<FlexGrid>(*find, "fgSearchResults");
    ASSERT_GE(results.Rows(), 4);
    for (int row = 1; row <= 3; ++row)
        results.SetIsSelected(row, true);
    control<CommandButton>(*find, "cmdAddToList").click();
    EXPECT_EQ(window->workingList().count(), 3);
    EXPECT_EQ(window->workingList().grid().Rows(), 4) << "the list's grid shows the added rows";
    EXPECT_EQ(window->workingList().grid().TextMatrix(1, 1), results.TextMatrix(1, 1));

    control<CommandButton>(*find, "cmdDeselectAll").click();
    results.SetIsSelected(2, true);
    control<CommandButton>(*find, "cmdReplaceList").click();
    EXPECT_EQ(window->workingList().count(), 1);

    // A saved search and the defaults, then the window closed and opened again.
    desktop.whileShown = [](QDialog& dialog) {
        dialog.findChild<QLineEdit*>("txtSearchName")->setText("firs");
        dialog.findChild<QPushButton*>("cmdSave")->click();
    };
    menuItem(*find, "mnuFileSaveSearch").trigger();
    menuItem(*find, "mnuOptionsSaveDefault").trigger();
    control<OptionButton>(*find, "optNameType_1").click();
    control<TextBox>(*find, "txtFindNameSciName").setText("ursus");
    const QPointer<ComponentWindow> closed(find);
    EXPECT_TRUE(find->close());
    QApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(closed.isNull()) << "a closed component window goes, component and all";
    EXPECT_TRUE(window->componentWindows().isEmpty());
    EXPECT_EQ(menuCaptions(*window).first(), QString("&File"));

    ComponentWindow* again = window->openSearch();
    ASSERT_NE(again, find);
    EXPECT_TRUE(control<OptionButton>(*again, "optNameType_1").isChecked());
    EXPECT_EQ(control<TextBox>(*again, "txtFindNameSciName").text(), QString("ursus"));
    EXPECT_TRUE(messages.shown().empty());
}

TEST_P(HostApplication, TheViewerSeesCreatingNamesDisabled)
{
    auto window = start(database->appManagerFor("viewer"));
    ComponentWindow* find = window->openSearch();
    EXPECT_FALSE(control<CommandButton>(*find, "cmdNew").isEnabled());
    EXPECT_FALSE(menuItem(*find, "mnuNewPlant").isEnabled());
    EXPECT_TRUE(menuItem(*find, "mnuFileSaveSearch").isEnabled())
        << "a viewer still keeps searches of their own";
    EXPECT_TRUE(control<CommandButton>(*find, "cmdStartSearch").isEnabled());
}

TEST_P(HostApplication, OtherModulesAreExplainedAndTheSearchOpensAChosenNameAndStartsANewOne)
{
    auto window = start(appManager);
    window->openView("ELE");
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_TRUE(messages.shown().back().prompt.contains("not part of this application"));

    ComponentWindow* find = window->openSearch();
    search(*find, "picea");
    auto& results = control<FlexGrid>(*find, "fgSearchResults");
    results.SetRow(1);
    results.SetIsSelected(1, true);
    const QString chosen = results.TextMatrix(1, 1);
    control<CommandButton>(*find, "cmdDetails").click();
    ASSERT_EQ(messages.shown().size(), 1u);
    ASSERT_EQ(window->componentWindows().size(), 2);
    ComponentWindow* details = window->componentWindows().last();
    EXPECT_EQ(details->windowTitle(), "Scientific Name - " + chosen);
    EXPECT_EQ(control<Label>(*details, "lblTotalRecords").text(), "1") << "the one row of the search";
    menuItem(*find, "mnuNewAnimal").trigger();
    EXPECT_EQ(messages.shown().size(), 1u);
    ASSERT_EQ(window->componentWindows().size(), 3);
    ComponentWindow* created = window->componentWindows().last();
    EXPECT_EQ(control<TextBox>(*created, "txtSummaryNameType").text(), "Zoological");
    EXPECT_FALSE(control<Label>(*created, "lblNewRecord").isHidden());
    EXPECT_EQ(control<Label>(*created, "lblTotalRecords").text(), "1");
}

TEST_P(HostApplication, F1AsksForTheComponentsTopicAndQuitClosesItsWindow)
{
    auto window = start(appManager);
    ComponentWindow* find = window->openSearch();
    QKeyEvent f1(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier);
    QApplication::sendEvent(&control<TextBox>(*find, "txtFindNameSciName"), &f1);
    ASSERT_EQ(desktop.help.size(), 1);
    EXPECT_TRUE(desktop.help.first().endsWith("help/index.html#2000")) << desktop.help.first().toStdString();
    QKeyEvent f9(QEvent::KeyPress, Qt::Key_F9, Qt::NoModifier);
    QApplication::sendEvent(&control<FlexGrid>(*find, "fgSearchResults"), &f9);
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.shown().front().title, QString("System Control"));

    menuItem(*find, "mnuFileClose").trigger();
    QApplication::processEvents();
    EXPECT_TRUE(window->componentWindows().isEmpty());

    HostDesktopServices services;
    services.showHelp(appManager->HelpFile(), 2000);
    ASSERT_NE(services.helpWindow(), nullptr);
    EXPECT_TRUE(services.helpWindow()->isVisible());
}

TEST_P(HostApplication, ADetailsWindowHearsOfListChangesAndRemovedNamesLeaveTheWorkingList)
{
    // A stand-in for the details editor, under its identities; the real one comes back after.
    ComponentRegistry& registry = ComponentRegistry::instance();
    const ComponentClass* loaded = registry.byProgId(registration::DetailsProgId);
    const std::optional<ComponentClass> real = loaded ? std::optional(*loaded) : std::nullopt;
    struct PutBack {
        const std::optional<ComponentClass>& real;
        ~PutBack()
        {
            ComponentRegistry::instance().remove(registration::DetailsProgId);
            if (real)
                ComponentRegistry::instance().add(*real);
        }
    } putBack {real};
    registry.add({registration::DetailsProgId, registration::DetailsClassId, "{IID}", "{EVENTS}",
                  [](QWidget* parent) -> UserControl* { return new TestComponent(parent); }});
    auto window = start(appManager);
    ComponentWindow* find = window->openSearch();
    search(*find, "picea");
    control<CommandButton>(*find, "cmdSelectAll").click();
    control<CommandButton>(*find, "cmdAddToList").click();
    const int names = window->workingList().count();
    ASSERT_GE(names, 2);

    FlexGrid& list = window->workingList().grid();
    const int32_t id = list.TextMatrix(2, 0).toInt();
    doubleClickRow(list, 2);
    TestComponent* details = nullptr;
    for (ComponentWindow* open : window->componentWindows()) {
        if (auto* component = qobject_cast<TestComponent*>(open->component()))
            details = component;
    }
    ASSERT_NE(details, nullptr);
    EXPECT_EQ(details->calls.mid(0, 2), (QStringList {"InitDetails(1,)", QString("LoadData(%1)").arg(id)}));
    EXPECT_EQ(details->received, window->workingList().workingList()) << "it pages through the working list";

    emit details->RemoveItem(id);
    EXPECT_EQ(window->workingList().count(), names - 1);
    for (int row = 1; row < list.Rows(); ++row)
        EXPECT_NE(list.TextMatrix(row, 0).toInt(), id);
    emit details->UpdateList(id);
    EXPECT_EQ(details->calls.mid(2),
              (QStringList {"NotifyListChanges(RemoveItem)", "NotifyListChanges(UpdateList)"}));

    emit details->Quit();
    QApplication::processEvents();
    EXPECT_EQ(window->componentWindows().size(), 1) << "the search window stays";
}

INSTANTIATE_ON_EACH_ENGINE(HostApplication);

TEST(LocalDatabase, AnEarlierSchemaIsUpgradedOnFirstOpenWithoutLosingAName)
{
    TestDatabase test(Dialect::SQLite);
    int names = 0;
    {
        auto db = test.open();
        names = db->scalar("SELECT count(*) FROM scientific_name").toInt();
        downgradeToVersionOne(*db);
    }
    EXPECT_TRUE(LocalDatabase::prepare(test.url()).contains("upgraded from schema version 1"));
    auto db = test.open();
    EXPECT_EQ(Schema::version(*db), Schema::CurrentVersion);
    EXPECT_EQ(db->scalar("SELECT count(*) FROM scientific_name").toInt(), names);
    EXPECT_TRUE(Schema::check(*db).isEmpty()) << Schema::check(*db).join("; ").toStdString();
    EXPECT_EQ(LocalDatabase::prepare(test.url()), "opened " + test.url().display());
}
