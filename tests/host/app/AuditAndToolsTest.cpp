// The details editor's audit trail, Find and pop-up editing in bryx-host's windows on the
// reference database, on both engines, driven as a user drives them.
#include "../../support/QtPrinters.h"
#include "../../support/UserInput.h"
#include "DetailsWindowFixture.h"
#include "ReferenceWindow.h"
#include "db/Database.h"
#include "related/frmAuditLog.h"
#include "services/PopupCellEditor.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

using namespace bryx;
using namespace bryx::host;
using namespace bryx::test;

namespace {

class AuditAndTools : public DetailsWindowFixture {
protected:
    // The rows of an audit dialog: column name -> (action, old value, comment), for rows of
    // the given action.
    struct Logged {
        QString user;
        QString oldValue;
        QString comment;
        QString columnId;
    };
    static QMap<QString, Logged> updates(frmAuditLog& dialog)
    {
        QMap<QString, Logged> found;
        const FlexGrid& grid = *dialog.fgAuditLog();
        for (int row = 1; row < grid.Rows(); ++row) {
            if (grid.TextMatrix(row, frmAuditLog::ColAction) == "U")
                found[grid.TextMatrix(row, frmAuditLog::ColColumn)] = {
                    grid.TextMatrix(row, frmAuditLog::ColUser),
                    grid.TextMatrix(row, frmAuditLog::ColOldValue),
                    grid.TextMatrix(row, frmAuditLog::ColComments),
                    grid.TextMatrix(row, frmAuditLog::ColColumnId)};
        }
        return found;
    }
    static int rowOf(frmAuditLog& dialog, const QString& column)
    {
        for (int row = 1; row < dialog.fgAuditLog()->Rows(); ++row) {
            if (dialog.fgAuditLog()->TextMatrix(row, frmAuditLog::ColColumn) == column)
                return row;
        }
        return -1;
    }
    static void typeComment(frmAuditLog& dialog, int row, const QString& text)
    {
        FlexGrid& grid = *dialog.fgAuditLog();
        const QModelIndex cell = grid.gridModel().index(row - 1, frmAuditLog::ColComments);
        grid.setCurrentIndex(cell);
        grid.edit(cell);
        auto* editor = grid.findChild<QLineEdit*>();
        ASSERT_NE(editor, nullptr);
        editor->setText(text);
        keyClick(*editor, Qt::Key_Return);
        QApplication::processEvents();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    QString storedComment(const QString& columnId)
    {
        return database->open()
            ->scalar("select comment_text from audit_comment where audit_log_column_id = ?",
                     {columnId.toInt()})
            .toString();
    }
};

} // namespace

TEST_P(AuditAndTools, TheTrailOfASaveShowsEachChangedFieldAndItsCommentSurvivesARestart)
{
    auto window = start(appManager);
    ComponentWindow* details = openFromList(*window, five, 1);
    ASSERT_NE(details, nullptr);
    const QString oldAuthor = stored(idOf("Abies alba"), "author_name").toString();
    typeInto(*details, "ctrAuthor", "Mill. (audited)");
    control<TextBox>(*details, "txtAcronym").setText("ABALB");
    save(*details);
    ASSERT_TRUE(messages.shown().empty()) << messages.shown().front().prompt.toStdString();

    QString columnId;
    desktop.whileShown = [&](QDialog& shown) {
        auto& dialog = dynamic_cast<frmAuditLog&>(shown);
        EXPECT_EQ(dialog.windowTitle(), "Record Maintenance - Scientific Name - Abies alba");
        const auto changed = updates(dialog);
        EXPECT_EQ(changed.keys(), QStringList({"acronym", "author_name"})) << "exactly the fields changed";
        EXPECT_EQ(changed.value("author_name").oldValue, oldAuthor);
        EXPECT_EQ(changed.value("author_name").user, appManager->GetUserName());
        EXPECT_TRUE(changed.value("acronym").oldValue.isEmpty()) << "there was no acronym";
        EXPECT_FALSE(
            dialog.fgAuditLog()->TextMatrix(rowOf(dialog, "author_name"), frmAuditLog::ColDate).isEmpty());
        columnId = changed.value("author_name").columnId;
        typeComment(dialog, rowOf(dialog, "author_name"), "Author corrected after the protologue");
        dialog.cmdOk()->click();
    };
    menuItem(*details, "mnuFileOpenRecordMaintenance").trigger();
    ASSERT_FALSE(columnId.isEmpty());
    EXPECT_EQ(storedComment(columnId), "Author corrected after the protologue");

    desktop.whileShown = [&](QDialog& shown) {
        auto& dialog = dynamic_cast<frmAuditLog&>(shown);
        typeComment(dialog, rowOf(dialog, "author_name"), "dropped");
        dialog.cmdCancel()->click();
    };
    menuItem(*details, "mnuFileOpenRecordMaintenance").trigger();
    EXPECT_EQ(storedComment(columnId), "Author corrected after the protologue") << "Cancel stores nothing";
    EXPECT_TRUE(details->close());
    window.reset();

    // A new session of the application reads the comment back, for that one field.
    auto again = start(std::make_shared<SqlAppManager>(database->url(), QStringLiteral("editor")));
    ComponentWindow* reopened = openFromList(*again, {"Abies alba"}, 1);
    ASSERT_NE(reopened, nullptr);
    QString caption;
    QMap<QString, Logged> shownRows;
    desktop.whileShown = [&](QDialog& shown) {
        auto& dialog = dynamic_cast<frmAuditLog&>(shown);
        caption = dialog.windowTitle();
        shownRows = updates(dialog);
        dialog.cmdCancel()->click();
    };
    QApplication::setActiveWindow(reopened->window());
    control<RichTextBox>(*reopened, "ctrAuthor").setFocus();
    QApplication::processEvents();
    menuItem(*reopened, "mnuFileOpenAttributeMaintenance").trigger();
    EXPECT_EQ(caption, "Attribute Maintenance - Scientific Name - Abies alba (author_name)");
    EXPECT_EQ(shownRows.keys(), QStringList {"author_name"}) << "that field only";
    EXPECT_EQ(shownRows.value("author_name").comment, "Author corrected after the protologue");
}

TEST_P(AuditAndTools, FindReplacesTheListPagedThroughAndLeavesTheWorkingListAlone)
{
    auto window = start(appManager);
    ComponentWindow* details = openFromList(*window, five, 1);
    ASSERT_NE(details, nullptr);
    QStringList chosen;
    desktop.whileShown = [&](QDialog& shown) {
        auto* search = shown.findChild<UserControl*>("ModalSearch");
        ASSERT_NE(search, nullptr);
        search->findChild<TextBox*>("txtFindNameSciName")->setText("Abies");
        search->findChild<CommandButton*>("cmdStartSearch")->click();
        auto* results = search->findChild<FlexGrid*>("fgSearchResults");
        ASSERT_GE(results->Rows(), 4);
        for (int row = 1; row <= 3; ++row) {
            results->SetIsSelected(row, true);
            chosen << results->TextMatrix(row, 1);
        }
        search->findChild<CommandButton*>("cmdOk")->click();
    };
    menuItem(*details, "mnuToolsFind").trigger();
    EXPECT_EQ(control<TextBox>(*details, "txtCurrentRecord").text(), "1");
    EXPECT_EQ(control<Label>(*details, "lblTotalRecords").text(), "3");
    EXPECT_EQ(details->windowTitle(), "Scientific Name - " + chosen[0]);
    control<CommandButton>(*details, "cmdNavNext").click();
    EXPECT_EQ(details->windowTitle(), "Scientific Name - " + chosen[1]) << "paging follows the new list";
    EXPECT_EQ(window->workingList().count(), 5) << "the host's list is not changed";
    EXPECT_TRUE(messages.shown().empty());
}

TEST_P(AuditAndTools, ANewTrackingRecordIsExplainedAsAnotherModules)
{
    auto window = start(appManager);
    ComponentWindow* details = openFromList(*window, five, 1);
    ASSERT_NE(details, nullptr);
    const int windows = window->componentWindows().size();
    menuItem(*details, "mnuFileNewEGT").trigger();
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_TRUE(messages.shown()[0].prompt.contains("\"ELE\"")) << messages.shown()[0].prompt.toStdString();
    EXPECT_TRUE(messages.shown()[0].prompt.contains("not part of this application"));
    EXPECT_EQ(window->componentWindows().size(), windows) << "no window opened";
}

TEST_P(AuditAndTools, ReferencesOfTheNameOpenInTheReferenceWindow)
{
    auto window = start(appManager);
    ComponentWindow* details = openFromList(*window, {"Picea abies"}, 1);
    ASSERT_NE(details, nullptr);
    const int cited =
        database->open()
            ->scalar("select count(*) from scientific_name_reference where scientific_name_id = ?",
                     {idOf("Picea abies")})
            .toInt();
    ASSERT_GE(cited, 2);
    menuItem(*details, "mnuFileOpenReferences").trigger();
    EXPECT_TRUE(messages.shown().empty());
    ReferenceWindow* references = window->findChild<ReferenceWindow*>();
    ASSERT_NE(references, nullptr);
    EXPECT_EQ(references->findChild<QLabel*>("lblPosition")->text(), QString("1 of %1").arg(cited))
        << "every reference the name cites, and no other";
}

INSTANTIATE_ON_EACH_ENGINE(AuditAndTools);

TEST(PopupCellEditor, WritesTheCellBackOnOkOnlyAndNeverIntoACellTheGridRefuses)
{
    ScriptedDesktop desktop;
    FlexGrid grid;
    grid.SetFormatString("Code|Citation");
    grid.SetRows(2);
    grid.SetTextMatrix(1, 0, "LINN1753");
    grid.SetTextMatrix(1, 1, "Linnaeus, C. 1753. Species Plantarum.");
    grid.SetEditable(true);
    QObject::connect(&grid, &FlexGrid::BeforeEdit, [](int, int col, bool& cancel) { cancel = col == 0; });
    QList<int> edited;
    QObject::connect(&grid, &FlexGrid::AfterEdit, [&](int, int col) { edited << col; });
    grid.show();

    auto answer = [&](const QString& text, const char* button) {
        desktop.whileShown = [=](QDialog& dialog) {
            auto* box = dialog.findChild<QPlainTextEdit*>("txtCell");
            ASSERT_NE(box, nullptr);
            if (!box->isReadOnly())
                box->setPlainText(text);
            dialog.findChild<CommandButton*>(button)->click();
        };
    };
    grid.setCurrentIndex(grid.gridModel().index(0, 1));
    answer("Linnaeus, C. 1753. Species Plantarum. Vol. 1.", "cmdCancel");
    EXPECT_TRUE(PopupCellEditor::editCurrentCell(grid));
    EXPECT_EQ(grid.TextMatrix(1, 1), "Linnaeus, C. 1753. Species Plantarum.");
    answer("Linnaeus, C. 1753. Species Plantarum. Vol. 1.", "cmdOk");
    PopupCellEditor::editCurrentCell(grid);
    EXPECT_EQ(grid.TextMatrix(1, 1), "Linnaeus, C. 1753. Species Plantarum. Vol. 1.");
    EXPECT_EQ(edited, QList<int> {1});

    grid.setCurrentIndex(grid.gridModel().index(0, 0));
    bool readOnly = false;
    desktop.whileShown = [&](QDialog& dialog) {
        readOnly = dialog.findChild<QPlainTextEdit*>("txtCell")->isReadOnly();
        dialog.findChild<CommandButton*>("cmdOk")->click();
    };
    PopupCellEditor::editCurrentCell(grid);
    EXPECT_TRUE(readOnly) << "the grid refuses edits of the code";
    EXPECT_EQ(grid.TextMatrix(1, 0), "LINN1753");
    EXPECT_EQ(edited.size(), 1);
}
