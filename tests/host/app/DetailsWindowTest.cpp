// The details editor in bryx-host's windows on the reference database, on both engines,
// driven through its controls as a user drives it.
#include "../../support/QtPrinters.h"
#include "../../support/UserInput.h"
#include "DetailsWindowFixture.h"
#include "ReferenceWindow.h"
#include "WorkingListView.h"
#include "controls/DataCombo.h"
#include "controls/FlexGrid.h"
#include "controls/RichTextBox.h"
#include "data/SqlScientificNameRecord.h"
#include "db/Database.h"
#include "dialogs/frmModalDetail.h"
#include "dialogs/frmModalSearch.h"
#include "hosting/LateBinding.h"
#include "recordset/Recordset.h"
#include "services/MessageBox.h"
#include "services/ServerRegistry.h"

#include <QApplication>
#include <QLineEdit>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QPushButton>

using namespace bryx;
using namespace bryx::host;
using namespace bryx::test;

namespace {

// Another user's save of an author, on a record object and connection of its own.
void saveAuthorAsAnotherUser(AppManager& host, int32_t id, const QString& author)
{
    SqlScientificNameRecord record;
    record.Connect(host.GetServerName(), host.GetServerType());
    record.Retrieve(id, 0, 0);
    record.SetAuthorName(author);
    record.SetModifiedBy(QStringLiteral("editor"));
    ASSERT_TRUE(record.Save()) << record.lastRefusal().toStdString();
}

class DetailsWindow : public DetailsWindowFixture { };

TEST_P(DetailsWindow, ADoubleClickOpensTheNameAndTheStripPagesThroughTheWorkingList)
{
    auto window = start(appManager);
    ComponentWindow* details = openFromList(*window, five, 2);
    ASSERT_NE(details, nullptr);
    EXPECT_EQ(details->windowTitle(), "Scientific Name - Abies grandis");
    EXPECT_EQ(control<TextBox>(*details, "txtSummaryNameType").text(), "Botanical");
    EXPECT_EQ(control<RichTextBox>(*details, "ctrAuthor").PlainText(),
              stored(idOf("Abies grandis"), "author_name").toString());
    EXPECT_EQ(control<DataCombo>(*details, "cboCategory").Text(), "Vascular Plant");
    EXPECT_EQ(control<TextBox>(*details, "txtCurrentRecord").text(), "2");
    EXPECT_EQ(control<Label>(*details, "lblTotalRecords").text(), "5");
    EXPECT_EQ(menuCaptions(*window), (QStringList {"&File", "&Edit", "&Tools", "&View", "&Window", "&Help"}))
        << "the editor's menus are the window's, and Help stays last";
    // The host's own File items follow the editor's, and leave with the editor's window.
    QMenu& file = *window->menuBar()->actions().first()->menu();
    auto itemsAfterClose = [&file] {
        QStringList items;
        for (QAction* item : file.actions())
            items << (item->isSeparator() ? QString("-") : item->text());
        return items.mid(items.indexOf("&Close") + 1);
    };
    EXPECT_EQ(itemsAfterClose(),
              (QStringList {"-", "&Find Scientific Name...", "-", "&Import Checklist...",
                            "&Export Checklist...", "-", "Recently &Deleted Names...", "-", "E&xit"}));
    window->openView("SNM");
    EXPECT_EQ(menuCaptions(*window), (QStringList {"&File", "&Edit", "&Tools", "&View", "&Window", "&Help"}));
    EXPECT_TRUE(itemsAfterClose().isEmpty());
    window->mdiArea().setActiveSubWindow(details);

    control<CommandButton>(*details, "cmdNavNext").click();
    EXPECT_EQ(details->windowTitle(), "Scientific Name - Picea abies");
    menuItem(*details, "mnuEditGotoLastRecord").trigger();
    EXPECT_EQ(shownId(*details), idOf("Larix decidua"));
    // The position is typed over and entered, as a user pages by number.
    auto& position = control<TextBox>(*details, "txtCurrentRecord");
    auto typePosition = [&](const QString& digits) {
        position.setFocus();
        typeOver(position, digits);
        keyClick(position, Qt::Key_Return);
    };
    typePosition("1");
    EXPECT_EQ(shownId(*details), idOf("Abies alba"));
    typePosition("9");
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_TRUE(messages.shown().back().prompt.contains("no record at that position"));
    EXPECT_EQ(position.text(), "1");
}

TEST_P(DetailsWindow, AnEditSavedReachesTheDatabaseTheWorkingListAndTheAuditTrail)
{
    auto window = start(appManager);
    ComponentWindow* details = openFromList(*window, five, 3);
    ASSERT_NE(details, nullptr);
    const int32_t id = idOf("Picea abies");
    const int auditBefore =
        database->open()->scalar("select count(*) from audit_log where primary_key = ?", {id}).toInt();
    typeInto(*details, "ctrAuthor", "(L.) H.Karst. emend. O'Hara");
    save(*details);
    EXPECT_TRUE(messages.shown().empty()) << messages.shown().back().prompt.toStdString();
    EXPECT_EQ(stored(id, "author_name").toString(), "(L.) H.Karst. emend. O'Hara");
    EXPECT_EQ(stored(id, "rec_last_mod_user").toString(), appManager->GetUserName());
    EXPECT_GT(database->open()->scalar("select count(*) from audit_log where primary_key = ?", {id}).toInt(),
              auditBefore);
    FlexGrid& list = window->workingList().grid();
    EXPECT_EQ(list.TextMatrix(3, 2), "(L.) H.Karst. emend. O'Hara") << "the working list follows the save";
    EXPECT_TRUE(editor(*details).findChild<QWidget*>("picActivityWait")->isHidden());

    // The renamed name is found under its new name; the plain name follows the formatted one.
    typeInto(*details, "ctrScientificName", "Picea excelsa");
    QApplication::setActiveWindow(details->window());
    control<RichTextBox>(*details, "ctrScientificName").setFocus();
    control<RichTextBox>(*details, "ctrScientificName").SetPlainText("Picea abies subsp. abies");
    save(*details); // Ctrl+S with the focus still in the box
    EXPECT_EQ(stored(id, "scientific_name").toString(), "Picea abies subsp. abies");
    EXPECT_EQ(details->windowTitle(), "Scientific Name - Picea abies subsp. abies");
}

TEST_P(DetailsWindow, ADuplicateIsRefusedWhateverItsCaseAndAccentsAndTheEditStays)
{
    auto window = start(appManager);
    ComponentWindow* details = openFromList(*window, {"Isoëtes echinospora"}, 1);
    ASSERT_NE(details, nullptr);
    typeInto(*details, "ctrScientificName", "ISOËTES LACUSTRIS");
    typeInto(*details, "ctrAuthor", "L.");
    save(*details);
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_TRUE(messages.shown().back().prompt.contains("same name and author"));
    EXPECT_EQ(stored(idOf("Isoëtes echinospora"), "author_name").toString(), "Durieu") << "nothing stored";
    EXPECT_EQ(control<RichTextBox>(*details, "ctrScientificName").PlainText(), "ISOËTES LACUSTRIS");

    typeInto(*details, "ctrAuthor", "L. ex O'Neil"); // another author: no duplicate
    save(*details);
    EXPECT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(database->open()
                  ->scalar("select author_name from scientific_name where scientific_name = ?",
                           {"ISOËTES LACUSTRIS"})
                  .toString(),
              "L. ex O'Neil");
}

TEST_P(DetailsWindow, BadInputIsRefusedWithAReasonAndKeepsTheEdit)
{
    auto window = start(appManager);
    ComponentWindow* details = openFromList(*window, five, 1);
    ASSERT_NE(details, nullptr);
    const int32_t id = idOf("Abies alba");
    typeInto(*details, "ctrScientificName", "");
    save(*details);
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_TRUE(messages.shown().back().prompt.contains("the scientific name is empty"));
    typeInto(*details, "ctrScientificName", "Abies alba");
    typeInto(*details, "ctrAuthor", QString(300, 'M'));
    save(*details);
    ASSERT_EQ(messages.shown().size(), 2u);
    EXPECT_TRUE(messages.shown().back().prompt.contains("at most 255"))
        << messages.shown().back().prompt.toStdString();
    EXPECT_EQ(control<RichTextBox>(*details, "ctrAuthor").PlainText().size(), 300) << "the edit stays";
    EXPECT_EQ(stored(id, "author_name").toString(), "Mill.");
}

TEST_P(DetailsWindow, ASaveLostToAnotherUserIsRefusedClearlyAndOverwritesNothing)
{
    auto window = start(appManager);
    ComponentWindow* details = openFromList(*window, five, 4);
    ASSERT_NE(details, nullptr);
    const int32_t id = idOf("Pinus sylvestris");
    saveAuthorAsAnotherUser(*appManager, id, "L. (their change)"); // meanwhile
    typeInto(*details, "ctrAuthor", "L. (my change)");
    save(*details);
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_TRUE(messages.shown().back().prompt.contains("another user"))
        << messages.shown().back().prompt.toStdString();
    EXPECT_EQ(stored(id, "author_name").toString(), "L. (their change)");
    EXPECT_EQ(control<RichTextBox>(*details, "ctrAuthor").PlainText(), "L. (my change)");
}

// The other user of the test below: another process, on the database named by the environment.
TEST(OtherUser, DISABLED_SavesAnAuthorFromAProcessOfItsOwn)
{
    SqlAppManager other(DatabaseUrl::parse(qEnvironmentVariable("BRYX_OTHER_URL")), QStringLiteral("editor"));
    saveAuthorAsAnotherUser(other, qEnvironmentVariableIntValue("BRYX_OTHER_ID"),
                            qEnvironmentVariable("BRYX_OTHER_AUTHOR"));
}

TEST_P(DetailsWindow, TwoProcessesSavingTheSameNameLoseNothingSilently)
{
    auto window = start(appManager);
    ComponentWindow* details = openFromList(*window, five, 2);
    ASSERT_NE(details, nullptr);
    const int32_t id = idOf("Abies grandis");
    QProcess other;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("BRYX_OTHER_URL", database->url().display());
    environment.insert("BRYX_OTHER_ID", QString::number(id));
    environment.insert("BRYX_OTHER_AUTHOR", "Lindl. (saved by the other process)");
    other.setProcessEnvironment(environment);
    other.start(QCoreApplication::applicationFilePath(),
                {"--gtest_also_run_disabled_tests",
                 "--gtest_filter=OtherUser.DISABLED_SavesAnAuthorFromAProcessOfItsOwn"});
    ASSERT_TRUE(other.waitForFinished(60000));
    ASSERT_EQ(other.exitCode(), 0) << other.readAll().toStdString();

    typeInto(*details, "ctrAuthor", "Lindl. (saved here)");
    save(*details);
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_TRUE(messages.shown().back().prompt.contains("another user"));
    EXPECT_EQ(stored(id, "author_name").toString(), "Lindl. (saved by the other process)");
    EXPECT_EQ(control<RichTextBox>(*details, "ctrAuthor").PlainText(), "Lindl. (saved here)");
}

TEST_P(DetailsWindow, ADeleteLeavesEveryListTheWindowPagesAndTheLastNameClosesTheWindow)
{
    auto window = start(appManager);
    ComponentWindow* details = openFromList(*window, five, 5);
    ASSERT_NE(details, nullptr);
    messages.answer(MsgBoxResult::Yes);
    menuItem(*details, "mnuEditDelete").trigger();
    EXPECT_EQ(stored(idOf("Larix decidua"), "scientific_name_id"), QVariant()) << "gone from the database";
    EXPECT_EQ(window->workingList().count(), 4);
    EXPECT_EQ(details->windowTitle(), "Scientific Name - Pinus sylvestris");
    EXPECT_EQ(control<TextBox>(*details, "txtCurrentRecord").text(), "4");
    EXPECT_EQ(control<Label>(*details, "lblTotalRecords").text(), "4");

    auto single = start(appManager);
    ComponentWindow* only = openFromList(*single, {"Abies grandis"}, 1);
    ASSERT_NE(only, nullptr);
    messages.answer(MsgBoxResult::Yes);
    menuItem(*only, "mnuEditDelete").trigger();
    QApplication::processEvents();
    EXPECT_TRUE(single->componentWindows().isEmpty()) << "nothing left to show: the window closed";
    EXPECT_EQ(messages.shown().size(), 2u) << "no question about saving a deleted name";

    // A window over the list the editor handed the host: the established name it opened.
    auto related = start(appManager);
    ComponentWindow* hybrid = openFromList(*related, {"Quercus × rosacea"}, 1);
    ASSERT_NE(hybrid, nullptr);
    menuItem(*hybrid, "mnuFileOpenNomenclature").trigger();
    ASSERT_EQ(related->componentWindows().size(), 2);
    ComponentWindow* established = related->componentWindows().last();
    EXPECT_EQ(established->windowTitle(), "Scientific Name - Quercus petraea");
    const int32_t petraea = idOf("Quercus petraea");
    messages.answer(MsgBoxResult::Yes);
    menuItem(*established, "mnuEditDelete").trigger();
    QApplication::processEvents();
    EXPECT_EQ(stored(petraea, "scientific_name_id"), QVariant());
    ASSERT_EQ(messages.shown().size(), 3u) << messages.shown().back().prompt.toStdString();
    EXPECT_TRUE(messages.shown().back().prompt.startsWith("Do you want to delete")) << "no failure after it";
    EXPECT_EQ(related->componentWindows(), QList<ComponentWindow*> {hybrid})
        << "its list is empty: it closed";
}

TEST_P(DetailsWindow, ClosingWithPendingChangesAsksAndEachAnswerDoesWhatItSays)
{
    auto window = start(appManager);
    ComponentWindow* details = openFromList(*window, five, 1);
    ASSERT_NE(details, nullptr);
    const int32_t id = idOf("Abies alba");
    typeInto(*details, "ctrAuthor", "Mill. (cancelled)");
    messages.answer(MsgBoxResult::Cancel);
    EXPECT_FALSE(details->close());
    EXPECT_EQ(window->componentWindows().size(), 1);

    messages.answer(MsgBoxResult::No);
    EXPECT_TRUE(details->close());
    EXPECT_EQ(stored(id, "author_name").toString(), "Mill.");

    details = openFromList(*window, {}, 1);
    ASSERT_NE(details, nullptr);
    typeInto(*details, "ctrAuthor", "Mill. (kept)");
    messages.answer(MsgBoxResult::Yes);
    EXPECT_TRUE(details->close());
    EXPECT_EQ(stored(id, "author_name").toString(), "Mill. (kept)");
    EXPECT_EQ(messages.shown().size(), 3u);
}

TEST_P(DetailsWindow, ANewNameFromTheFileMenuIsSavedAndJoinsTheWorkingList)
{
    auto window = start(appManager);
    ComponentWindow* details = openFromList(*window, five, 2);
    ASSERT_NE(details, nullptr);
    menuItem(*details, "mnuFileNewEcological").trigger();
    EXPECT_EQ(control<TextBox>(*details, "txtCurrentRecord").text(), "6") << "one past the end of the list";
    EXPECT_EQ(control<Label>(*details, "lblTotalRecords").text(), "6");
    EXPECT_FALSE(control<Label>(*details, "lblNewRecord").isHidden());
    EXPECT_TRUE(control<RichTextBox>(*details, "ctrAuthor").isHidden()) << "the ecological layout";
    const QString category = control<DataCombo>(*details, "cboCategory").Text();
    EXPECT_FALSE(category.isEmpty()) << "the first ecological category is offered";

    typeInto(*details, "ctrScientificName", "Quercetum roboris novum");
    save(*details);
    EXPECT_TRUE(messages.shown().empty()) << messages.shown().back().prompt.toStdString();
    const int32_t id = idOf("Quercetum roboris novum");
    ASSERT_GT(id, 0);
    EXPECT_EQ(stored(id, "rec_create_user").toString(), appManager->GetUserName());
    EXPECT_EQ(database->open()
                  ->scalar("select c.name_type_cd from scientific_name n join d_name_category c on "
                           "c.d_name_category_id = n.d_name_category_id where n.scientific_name_id = ?",
                           {id})
                  .toString(),
              "C");
    EXPECT_EQ(window->workingList().count(), 6) << "the new name joins the list it was made from";
    EXPECT_TRUE(control<Label>(*details, "lblNewRecord").isHidden());
    EXPECT_EQ(control<TextBox>(*details, "txtCurrentRecord").text(), "6");
}

TEST_P(DetailsWindow, ACopyUnderANewNameCarriesTheLinksAndLeavesTheOriginal)
{
    auto window = start(appManager);
    const int32_t original = idOf("Picea abies");
    auto db = database->open();
    const int links =
        db->scalar("select count(*) from scientific_name_reference where scientific_name_id = ?", {original})
            .toInt();
    ASSERT_GE(links, 2);
    int dialogs = 0;
    desktop.whileShown = [&](QDialog& dialog) {
        ++dialogs;
        EXPECT_EQ(dialog.windowTitle(), "Copy Record");
        EXPECT_EQ(dialog.findChild<Label*>("lblOriginalScientificName")->text(),
                  "Original Name = 'Picea abies'");
        dialog.findChild<CommandButton*>("OKButton")->click();
        EXPECT_FALSE(dialog.property("Ok").toBool()) << "no name yet: nothing to copy to";
        if (dialogs == 1) {
            dialog.findChild<CommandButton*>("CancelButton")->click();
            return;
        }
        dialog.findChild<TextBox*>("txtCopyName")->setText("Picea abies 'Nidiformis'");
        dialog.findChild<CommandButton*>("OKButton")->click();
    };
    EXPECT_EQ(window->copyName(original), nullptr) << "Cancel copies nothing";
    const int namesBefore = db->scalar("select count(*) from scientific_name").toInt();
    ComponentWindow* copy = window->copyName(original);
    ASSERT_NE(copy, nullptr);
    EXPECT_TRUE(messages.shown().empty()) << messages.shown().back().prompt.toStdString();
    EXPECT_EQ(db->scalar("select count(*) from scientific_name").toInt(), namesBefore + 1);
    const int32_t made = idOf("Picea abies 'Nidiformis'");
    ASSERT_GT(made, 0);
    EXPECT_EQ(stored(made, "author_name"), stored(original, "author_name"));
    EXPECT_EQ(stored(made, "d_name_category_id"), stored(original, "d_name_category_id"));
    EXPECT_EQ(
        db->scalar("select count(*) from scientific_name_reference where scientific_name_id = ?", {made})
            .toInt(),
        links);
    EXPECT_EQ(
        db->scalar(
              "select count(*) from scientific_name_reference a join scientific_name_reference b on "
              "a.reference_id = b.reference_id and a.primary_reference_ind = b.primary_reference_ind and "
              "a.original_publication_ind = b.original_publication_ind where a.scientific_name_id = ? "
              "and b.scientific_name_id = ?",
              {made, original})
            .toInt(),
        links)
        << "the same references with the same flags";
    EXPECT_EQ(copy->windowTitle(), "Scientific Name - Picea abies 'Nidiformis'");
    EXPECT_EQ(control<RichTextBox>(*copy, "ctrScientificName").PlainText(), "Picea abies 'Nidiformis'");
    EXPECT_EQ(stored(original, "scientific_name").toString(), "Picea abies") << "the original untouched";
}

TEST_P(DetailsWindow, CopyDataFromAsksToSaveFirstThenReplacesTheDataShown)
{
    auto window = start(appManager);
    ComponentWindow* details = openFromList(*window, five, 1);
    ASSERT_NE(details, nullptr);
    const int32_t target = idOf("Abies alba");
    const int32_t source = idOf("Pinus sylvestris");
    typeInto(*details, "ctrAuthor", "Mill. (pending)");
    messages.answer(MsgBoxResult::Cancel); // APP029: not now
    menuItem(*details, "mnuToolsCopy").trigger();
    ASSERT_EQ(messages.shown().size(), 2u);
    EXPECT_TRUE(messages.shown().back().prompt.contains("Nothing was copied"));

    messages.answer(MsgBoxResult::OK); // APP029: save first
    messages.answer(MsgBoxResult::Yes); // APP027: replace
    desktop.whileShown = [&](QDialog& dialog) {
        auto* search = dialog.findChild<UserControl*>("ModalSearch");
        ASSERT_NE(search, nullptr);
        search->findChild<TextBox*>("txtSciNameID")->setText(QString::number(source));
        search->findChild<CommandButton*>("cmdStartSearch")->click();
        auto* results = search->findChild<FlexGrid*>("fgSearchResults");
        ASSERT_EQ(results->Rows(), 2);
        results->SetRow(1);
        results->SetIsSelected(1, true);
        search->findChild<CommandButton*>("cmdOk")->click();
    };
    menuItem(*details, "mnuToolsCopy").trigger();
    EXPECT_EQ(stored(target, "author_name"), stored(source, "author_name")) << "the source's data, stored";
    EXPECT_EQ(control<RichTextBox>(*details, "ctrAuthor").PlainText(),
              stored(source, "author_name").toString())
        << "and shown";
    EXPECT_EQ(shownId(*details), target);
    EXPECT_EQ(messages.shown().size(), 4u) << "APP029 and APP027, nothing else";
}

TEST_P(DetailsWindow, AnEstablishedNameIsPickedOpenedAndClearedButNeverTheNameItself)
{
    auto window = start(appManager);
    ComponentWindow* details = openFromList(*window, {"Fagion sylvaticae"}, 1);
    ASSERT_NE(details, nullptr);
    const int32_t id = idOf("Fagion sylvaticae");
    const int32_t established = idOf("Carpinion betuli");
    auto& tabs = control<TabControl>(*details, "tabScientificName");
    ASSERT_TRUE(tabs.TabEnabled(1)) << "an ecological name has the Nomenclature page";
    tabs.SetTab(1);
    QString pick = "Carpinion betuli";
    desktop.whileShown = [&](QDialog& dialog) {
        auto* search = dialog.findChild<UserControl*>("ModalSearch");
        ASSERT_NE(search, nullptr);
        search->findChild<OptionButton*>("optNameType_2")->click();
        search->findChild<TextBox*>("txtFindNameSciName")->setText(pick);
        search->findChild<CommandButton*>("cmdStartSearch")->click();
        auto* results = search->findChild<FlexGrid*>("fgSearchResults");
        ASSERT_GE(results->Rows(), 2);
        results->SetRow(1);
        results->SetIsSelected(1, true);
        search->findChild<CommandButton*>("cmdOk")->click();
    };
    control<CommandButton>(*details, "cmdSelectNomenclatureName").click();
    EXPECT_EQ(control<TextBox>(*details, "txtEstablishedName").text(), "Carpinion betuli");
    EXPECT_EQ(control<TextBox>(*details, "txtEstablishedAuthor").text(),
              stored(established, "author_name").toString());
    save(*details);
    EXPECT_EQ(stored(id, "nomenclaturally_est_sn_id").toInt(), established);

    pick = "Fagion sylvaticae";
    control<CommandButton>(*details, "cmdSelectNomenclatureName").click();
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_TRUE(messages.shown().back().prompt.contains("cannot be its own"));
    EXPECT_EQ(control<TextBox>(*details, "txtEstablishedName").text(), "Carpinion betuli")
        << "nothing changed";

    menuItem(*details, "mnuFileOpenNomenclature").trigger();
    ASSERT_EQ(window->componentWindows().size(), 2);
    ComponentWindow* opened = window->componentWindows().last();
    EXPECT_EQ(opened->windowTitle(), "Scientific Name - Carpinion betuli");
    EXPECT_EQ(control<Label>(*opened, "lblTotalRecords").text(), "1");

    control<CommandButton>(*details, "cmdClearNomenclatureName").click();
    EXPECT_TRUE(control<TextBox>(*details, "txtEstablishedName").text().isEmpty());
    save(*details);
    EXPECT_TRUE(stored(id, "nomenclaturally_est_sn_id").isNull());
    menuItem(*details, "mnuFileOpenNomenclature").trigger();
    ASSERT_EQ(messages.shown().size(), 2u);
    EXPECT_TRUE(messages.shown().back().prompt.contains("no nomenclaturally established name"));
}

TEST_P(DetailsWindow, AViewerSeesTheNameButCannotSaveOrDeleteIt)
{
    auto window = start(database->appManagerFor("viewer"));
    ComponentWindow* details = openFromList(*window, five, 1);
    ASSERT_NE(details, nullptr);
    EXPECT_EQ(details->windowTitle(), "Scientific Name - Abies alba");
    EXPECT_FALSE(menuItem(*details, "mnuFileSave").isEnabled());
    EXPECT_FALSE(menuItem(*details, "mnuEditDelete").isEnabled());
    typeInto(*details, "ctrAuthor", "Mill. (viewer)");
    EXPECT_TRUE(details->close()) << "a viewer's edits go without a question";
    EXPECT_TRUE(messages.shown().empty());
}

TEST_P(DetailsWindow, TheModalDetailDialogShowsOneNameAndNoWayToAnother)
{
    auto window = start(appManager); // loads the library, as the modal search's Details finds it
    frmModalDetail dialog(window.get());
    ASSERT_TRUE(dialog.InitDialog(registration::DetailsProgId, appManager, QString()));
    dialog.LoadData(idOf("Picea abies"));
    UserControl* hosted = dialog.findChild<UserControl*>("ModalDetail");
    ASSERT_NE(hosted, nullptr);
    EXPECT_EQ(dialog.windowTitle(), "Scientific Name - Picea abies");
    EXPECT_FALSE(hosted->findChild<CommandButton*>("cmdNavNext")->isEnabled());
    EXPECT_FALSE(hosted->findChild<TextBox*>("txtCurrentRecord")->isEnabled());
    dialog.Unload();
}

TEST_P(DetailsWindow, ANewNameOfEachTypeIsSavedAndFoundAgainByTheSearch)
{
    auto window = start(appManager);
    ComponentWindow* find = window->openSearch();
    const struct {
        const char* menu;
        const char* name;
        const char* type;
        const char* typeCode;
        const char* searchType;
    } types[] = {{"mnuNewPlant", "Abies novissima", "Botanical", "P", "optNameType_0"},
                 {"mnuNewAnimal", "Ursus novissimus", "Zoological", "A", "optNameType_1"},
                 {"mnuNewCommunity", "Abietetum novissimum", "Ecological", "C", "optNameType_2"}};
    for (const auto& type : types) {
        menuItem(*find, type.menu).trigger();
        ComponentWindow* created = window->componentWindows().last();
        ASSERT_NE(created, find) << type.type;
        EXPECT_EQ(control<TextBox>(*created, "txtSummaryNameType").text(), type.type);
        typeInto(*created, "ctrScientificName", type.name);
        save(*created);
        EXPECT_TRUE(created->close());
        control<OptionButton>(*find, type.searchType).click();
        search(*find, type.name);
        auto& results = control<FlexGrid>(*find, "fgSearchResults");
        ASSERT_EQ(results.Rows(), 2) << type.name << ": found once";
        EXPECT_EQ(results.TextMatrix(1, 1), type.name);
        EXPECT_EQ(results.TextMatrix(1, 3), type.typeCode) << "stored with its name type";
    }
    EXPECT_TRUE(messages.shown().empty()) << messages.shown().front().prompt.toStdString();
}

TEST_P(DetailsWindow, NewInTheModalSearchMakesANameAndAddsItToTheResultShown)
{
    auto window = start(appManager); // loads the library
    auto chosen = appManager->GetPrototypeRSForView("SNM");
    frmModalSearch dialog(window.get());
    ASSERT_TRUE(dialog.InitDialog(registration::SearchProgId, appManager, chosen, QString()));
    QStringList shownInOrder;
    int rowsBefore = 0;
    int rowsAfter = 0;
    bool newRowShown = false;
    desktop.whileShown = [&](QDialog& shown) {
        shownInOrder << shown.windowTitle();
        if (auto* search = shown.findChild<UserControl*>("ModalSearch")) {
            search->findChild<TextBox*>("txtFindNameSciName")->setText("Abies");
            search->findChild<CommandButton*>("cmdStartSearch")->click();
            auto* results = search->findChild<FlexGrid*>("fgSearchResults");
            rowsBefore = results->Rows();
            search->findChild<CommandButton*>("cmdNew")->click();
            rowsAfter = results->Rows();
            for (int row = 1; row < results->Rows(); ++row)
                newRowShown = newRowShown || results->TextMatrix(row, 1) == "Abies modalis";
            search->findChild<CommandButton*>("cmdCancel")->click();
        } else if (auto* botanical = shown.findChild<OptionButton*>("optBotanical")) {
            botanical->click();
            shown.findChild<CommandButton*>("cmdNext")->click();
        } else if (auto* editor = shown.findChild<UserControl*>("ModalDetail")) {
            EXPECT_FALSE(editor->findChild<Label*>("lblNewRecord")->isHidden());
            QApplication::setActiveWindow(&shown);
            auto* name = editor->findChild<RichTextBox*>("ctrScientificName");
            name->setFocus();
            name->SetPlainText("Abies modalis");
            editor->findChild<TextBox*>("txtCurrentRecord")->setFocus();
            QApplication::processEvents();
            editor->findChild<QAction*>("mnuFileSave")->trigger();
            editor->findChild<QAction*>("mnuFileClose")->trigger();
        }
    };
    dialog.ShowModal();
    dialog.Unload();
    EXPECT_TRUE(messages.shown().empty()) << messages.shown().front().prompt.toStdString();
    ASSERT_EQ(shownInOrder.size(), 3) << shownInOrder.join(" / ").toStdString();
    EXPECT_GT(idOf("Abies modalis"), 0) << "saved";
    EXPECT_EQ(database->open()
                  ->scalar("select c.name_type_cd from scientific_name n join d_name_category c on "
                           "c.d_name_category_id = n.d_name_category_id where n.scientific_name_id = ?",
                           {idOf("Abies modalis")})
                  .toString(),
              "P");
    EXPECT_EQ(rowsAfter, rowsBefore + 1);
    EXPECT_TRUE(newRowShown) << "the new name is in the result the search shows";
}

INSTANTIATE_ON_EACH_ENGINE(DetailsWindow);

} // namespace
