#include "../../support/UserInput.h"
#include "DeletedNamesDialog.h"
#include "DetailsWindowFixture.h"
#include "DuplicateGroupsModel.h"
#include "DuplicateNamesWindow.h"
#include "NameHistoryDialog.h"
#include "data/SqlScientificNameRecord.h"

#include <QComboBox>
#include <QLabel>
#include <QMdiArea>
#include <QPushButton>
#include <QTableView>
#include <QTableWidget>

namespace bryx::test {

namespace {

class CurationWindows : public DetailsWindowFixture {
protected:
    // The host's menu item with this object name, from the menu bar as the user sees it.
    static QAction& hostItem(MainWindow& window, const char* menuCaption, const char* name)
    {
        for (QAction* menu : window.menuBar()->actions()) {
            if (menu->text() != QLatin1String(menuCaption) || !menu->menu())
                continue;
            for (QAction* item : menu->menu()->actions()) {
                if (item->objectName() == QLatin1String(name))
                    return *item;
            }
        }
        throw std::runtime_error(std::string("no ") + name + " in " + menuCaption);
    }
    static void clickRow(QAbstractItemView& view, int row)
    {
        view.scrollTo(view.model()->index(row, 1));
        mouseClick(*view.viewport(), view.visualRect(view.model()->index(row, 1)).center());
    }
    static void press(QPushButton& button) { mouseClick(button, button.rect().center()); }
    static int rowOf(const DuplicateGroupsModel& groups, int32_t id)
    {
        for (int row = 0; row < groups.rowCount(); ++row) {
            if (groups.memberAt(row).id == id)
                return row;
        }
        return -1;
    }
    static QPushButton& button(QWidget& window, const char* name)
    {
        auto* found = window.findChild<QPushButton*>(QLatin1String(name));
        if (!found)
            throw std::runtime_error(std::string("no button ") + name);
        return *found;
    }
    int32_t idOfAuthor(const QString& name, const QString& author)
    {
        return database->open()
            ->scalar("select scientific_name_id from scientific_name where scientific_name = ? and "
                     "author_name = ?",
                     {name, author})
            .toInt();
    }
};

} // namespace

TEST_P(CurationWindows, ACuratorFindsAGroupMergesItAndTakesTheMergeBackFromTheHistory)
{
    auto window = start(appManager);
    hostItem(*window, "&Tools", "mnuToolsFindDuplicates").trigger();
    auto* duplicates = window->findChild<DuplicateNamesWindow*>();
    ASSERT_NE(duplicates, nullptr);
    auto& rule = *duplicates->findChild<QComboBox*>("cboRule");
    rule.setFocus();
    keyClick(rule, Qt::Key_Down); // same name, an author written another way
    keyClick(rule, Qt::Key_Down); // same name, any author
    press(button(*duplicates, "cmdFind"));
    const DuplicateGroupsModel& groups = duplicates->groups();
    const int32_t mill = idOfAuthor("Abies alba", "Mill.");
    const int32_t michx = idOfAuthor("Abies alba", "Michx.");
    const int keptRow = rowOf(groups, mill);
    ASSERT_GE(keptRow, 0) << "Abies alba Mill. and Michx. are one name whatever the author";
    ASSERT_GE(rowOf(groups, michx), 0);
    EXPECT_TRUE(
        duplicates->findChild<QLabel*>("lblSummary")
            ->text()
            .contains(QString("%1 group(s) of %2 names").arg(groups.groupCount()).arg(groups.nameCount())));
    EXPECT_FALSE(button(*duplicates, "cmdMerge").isEnabled()) << "nothing chosen yet";

    clickRow(duplicates->view(), keptRow);
    ASSERT_TRUE(button(*duplicates, "cmdMerge").isEnabled());
    const int groupsBefore = groups.groupCount();
    const int namesBefore = groups.nameCount();
    const int groupSize = int(groups.groupOf(keptRow).members.size());
    messages.answer(MsgBoxResult::Yes);
    press(button(*duplicates, "cmdMerge"));
    ASSERT_EQ(messages.shown().size(), 2u);
    EXPECT_TRUE(messages.shown()[0].prompt.startsWith(
        QString("Keep Abies alba Mill. (ID %1) and merge Abies alba Michx. (ID %2)").arg(mill).arg(michx)))
        << messages.shown()[0].prompt.toStdString();
    EXPECT_TRUE(messages.shown()[0].prompt.contains("the duplicate is deleted"));
    EXPECT_TRUE(messages.shown()[1].prompt.startsWith("Merged into Abies alba Mill."));
    EXPECT_TRUE(stored(michx, "scientific_name_id").isNull());
    EXPECT_EQ(rowOf(groups, michx), -1);
    EXPECT_EQ(rowOf(groups, mill), -1) << "a merged group is no duplicate any more";
    EXPECT_EQ(groups.groupCount(), groupsBefore - 1) << "the other groups stay listed";
    EXPECT_EQ(groups.nameCount(), namesBefore - groupSize);
    EXPECT_EQ(duplicates->findChild<QLabel*>("lblSummary")->text(),
              QString("%1 group(s) of %2 names, after the merge")
                  .arg(groupsBefore - 1)
                  .arg(namesBefore - groupSize));
    EXPECT_FALSE(button(*duplicates, "cmdMerge").isEnabled()) << "the chosen row went with its group";

    // The kept name, opened from the window, and its history.
    window->addToWorkingList(mill);
    ComponentWindow* details = window->openDetailsFromWorkingList(mill);
    ASSERT_NE(details, nullptr);
    window->mdiArea().setActiveSubWindow(details);
    hostItem(*window, "&View", "mnuViewNameHistory").trigger();
    auto* history = window->findChild<NameHistoryDialog*>();
    ASSERT_NE(history, nullptr);
    EXPECT_EQ(history->windowTitle(), "Name History - Abies alba");
    QTableWidget& rows = history->table();
    const int last = rows.rowCount() - 1;
    ASSERT_GE(last, 0);
    EXPECT_EQ(rows.item(last, 2)->text(), "Merge");
    EXPECT_TRUE(rows.item(last, 3)->text().contains(QString("Abies alba Michx. (ID %1)").arg(michx)));
    clickRow(rows, last);
    ASSERT_TRUE(history->restoreButton().isEnabled());
    press(history->restoreButton());
    ASSERT_EQ(messages.shown().size(), 3u);
    EXPECT_TRUE(messages.shown()[2].prompt.startsWith("The merge is taken back"))
        << messages.shown()[2].prompt.toStdString();
    EXPECT_EQ(stored(michx, "author_name").toString(), "Michx.") << "back with its own ID";
    EXPECT_EQ(rows.item(rows.rowCount() - 1, 3)->text().left(17), "Merge taken back:");
    history->close();
}

TEST_P(CurationWindows, ADeletedNameComesBackFromTheFileMenu)
{
    auto window = start(appManager);
    ComponentWindow* details = openFromList(*window, five, 5);
    ASSERT_NE(details, nullptr);
    const int32_t larix = idOf("Larix decidua");
    messages.answer(MsgBoxResult::Yes);
    menuItem(*details, "mnuEditDelete").trigger();
    ASSERT_TRUE(stored(larix, "scientific_name_id").isNull());
    // The host's File items follow the editor's: Recently Deleted Names among them.
    QAction& deleted = hostItem(*window, "&File", "mnuFileDeletedNames");
    ASSERT_TRUE(deleted.isEnabled());
    deleted.trigger();
    auto* dialog = window->findChild<DeletedNamesDialog*>();
    ASSERT_NE(dialog, nullptr);
    ASSERT_EQ(dialog->table().rowCount(), 1);
    EXPECT_EQ(dialog->table().item(0, 1)->text(), "Larix decidua");
    EXPECT_EQ(dialog->table().item(0, 4)->text(), "editor");
    clickRow(dialog->table(), 0);
    press(dialog->restoreButton());
    EXPECT_EQ(stored(larix, "scientific_name").toString(), "Larix decidua");
    EXPECT_TRUE(messages.shown().back().prompt.startsWith(QString("Name ID %1 is back").arg(larix)));
    EXPECT_EQ(dialog->table().rowCount(), 0);
    dialog->close();
}

TEST_P(CurationWindows, AViewerFindsAndReadsButCannotMergeOrRestore)
{
    {
        SqlScientificNameRecord record; // an editor's change, for the viewer to read
        record.Connect(appManager->GetServerName(), appManager->GetServerType());
        record.Retrieve(idOf("Abies grandis"), {}, {});
        record.SetAuthorName("Lindl. (edited)");
        record.SetModifiedBy("editor");
        ASSERT_TRUE(record.Save());
    }
    auto window = start(database->appManagerFor("viewer"));
    EXPECT_FALSE(hostItem(*window, "&File", "mnuFileDeletedNames").isEnabled());
    hostItem(*window, "&Tools", "mnuToolsFindDuplicates").trigger();
    auto* duplicates = window->findChild<DuplicateNamesWindow*>();
    ASSERT_NE(duplicates, nullptr);
    press(button(*duplicates, "cmdFind"));
    ASSERT_GT(duplicates->groups().rowCount(), 0) << "the sample's Acer sp. and ACER SP.";
    clickRow(duplicates->view(), 0);
    EXPECT_TRUE(button(*duplicates, "cmdOpen").isEnabled());
    EXPECT_FALSE(button(*duplicates, "cmdMerge").isEnabled());

    ComponentWindow* details = openFromList(*window, {"Abies grandis"}, 1);
    ASSERT_NE(details, nullptr);
    window->mdiArea().setActiveSubWindow(details);
    hostItem(*window, "&View", "mnuViewNameHistory").trigger();
    auto* history = window->findChild<NameHistoryDialog*>();
    if (!history) {
        ASSERT_FALSE(messages.shown().empty());
        FAIL() << messages.shown().back().prompt.toStdString();
    }
    ASSERT_GT(history->table().rowCount(), 0);
    clickRow(history->table(), history->table().rowCount() - 1);
    EXPECT_FALSE(history->restoreButton().isEnabled());
    history->close();
}

INSTANTIATE_ON_EACH_ENGINE(CurationWindows);

} // namespace bryx::test
