#include "related/frmAuditLog.h"

#include "../../mocks/HostMocks.h"
#include "../../support/QtPrinters.h"
#include "../../support/RecordsetBuilder.h"
#include "../../support/ScriptedDesktop.h"
#include "../../support/ScriptedMessageBox.h"
#include "../../support/UserInput.h"
#include "controls/Controls.h"
#include "controls/FlexGrid.h"
#include "error/Error.h"
#include "hosting/Twips.h"
#include "registry/ObjectRegistry.h"

#include <QApplication>
#include <QLineEdit>
#include <gmock/gmock.h>

using namespace bryx;
using namespace bryx::test;
using ::testing::_;
using ::testing::NiceMock;
using ::testing::Return;

namespace {

const QColor Grey(192, 192, 192);
const QColor White(255, 255, 255);

// Two logged changes that can carry a comment, and the insert row that cannot.
std::vector<std::vector<QVariant>> threeRows()
{
    return {{1, "2026-01-02 10:00", "ann", "SCIENTIFIC_NAME", "I", QVariant(), QVariant(), QVariant(), 5, 1,
             1, QVariant()},
            {2, "2026-01-03 11:00", "bob", "SCIENTIFIC_NAME", "U", "author_name", "Mill.", QVariant(), 5, 1,
             2, 2},
            {3, "2026-01-04 12:00", "bob", "SCIENTIFIC_NAME", "U", "acronym", "ABAL", "checked", 5, 2, 3, 3}};
}

class AuditLog : public ::testing::Test {
protected:
    void SetUp() override
    {
        ON_CALL(*host, GetServerName()).WillByDefault(Return(QString("sqlite:/audit.sqlite")));
        ON_CALL(*host, GetServerType()).WillByDefault(Return(1));
        ON_CALL(*host, CallGetQueryRSXML(_)).WillByDefault([](QString&) {
            return makeRecordset(
                {{"org_unit_id", DataType::Integer}, {"org_unit_name", DataType::VarWChar, 120}},
                {{1, "Herbarium"}, {2, "Zoology"}});
        });
        ObjectRegistry::instance().registerClass("ClientFramework.ComponentCollection", [this] {
            ++collectionsMade;
            return collection;
        });
        ObjectRegistry::instance().registerClass("BRYX_AuditLogClient.cAuditLog", [this] {
            auto comment = std::make_shared<NiceMock<MockAuditComment>>();
            comments.push_back(comment);
            return comment;
        });
        ON_CALL(*collection, Add(_, _))
            .WillByDefault(
                [this](std::shared_ptr<ClientObject> item, const QString& key) { added[key] = item; });
        ON_CALL(*collection, FindItem(_)).WillByDefault([this](const QString& criteria) {
            const QString key = criteria.section("= ", 1);
            return added.value(key);
        });
        ON_CALL(*collection, ItemByKey(_)).WillByDefault([this](const QString& key) {
            return added.value(key);
        });
        ON_CALL(*collection, Save()).WillByDefault(Return(true));
    }
    void TearDown() override
    {
        ObjectRegistry::instance().unregisterClass("ClientFramework.ComponentCollection");
        ObjectRegistry::instance().unregisterClass("BRYX_AuditLogClient.cAuditLog");
    }

    void load(frmAuditLog& dialog, std::shared_ptr<Recordset> rows, const QString& column = {})
    {
        EXPECT_CALL(*host, Auditing(QString("SCIENTIFIC_NAME"), 5, column)).WillOnce(Return(rows));
        dialog.LoadAuditData("SCIENTIFIC_NAME", 5, host, column);
        dialog.show();
    }

    // Types a comment into a row as a user does: the cell editor, then Return.
    static void typeComment(frmAuditLog& dialog, int row, const QString& text)
    {
        FlexGrid& grid = *dialog.fgAuditLog();
        const QModelIndex cell = grid.gridModel().index(row - 1, frmAuditLog::ColComments);
        grid.setCurrentIndex(cell);
        grid.edit(cell);
        auto* editor = grid.findChild<QLineEdit*>();
        ASSERT_NE(editor, nullptr) << "row " << row << " takes a comment";
        editor->setText(text);
        keyClick(*editor, Qt::Key_Return);
        QApplication::processEvents();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); // the closed editor goes
    }

    std::shared_ptr<NiceMock<MockAppManager>> host = std::make_shared<NiceMock<MockAppManager>>();
    std::shared_ptr<NiceMock<MockComponentCollection>> collection =
        std::make_shared<NiceMock<MockComponentCollection>>();
    std::vector<std::shared_ptr<NiceMock<MockAuditComment>>> comments;
    QMap<QString, std::shared_ptr<ClientObject>> added;
    int collectionsMade = 0;
    ScriptedDesktop desktop;
    ScriptedMessageBox messages;
};

} // namespace

TEST_F(AuditLog, ShowsEachChangeGreyWithAWhiteCommentCellWhereOneCanBeAdded)
{
    frmAuditLog dialog;
    EXPECT_CALL(*collection,
                Initialize(QString("BRYX_AuditLogClient.cAuditLog"), QString("sqlite:/audit.sqlite"), 1));
    EXPECT_CALL(*collection, Load(QString("Empty"), _, _, _, _));
    load(dialog, makeAuditRecordset(threeRows()));
    const FlexGrid& grid = *dialog.fgAuditLog();
    EXPECT_EQ(dialog.windowTitle(), "Audit Log");
    ASSERT_EQ(grid.Rows(), 4);
    const QStringList headers {"ID",        "Date",     "User",        "Table",    "Actn", "Column",
                               "Old Value", "Comments", "Primary Key", "Org Unit", "Id",   "Column Id"};
    for (int col = 0; col < headers.size(); ++col)
        EXPECT_EQ(grid.TextMatrix(0, col), headers[col]);
    EXPECT_TRUE(grid.isColumnHidden(frmAuditLog::ColId));
    EXPECT_EQ(grid.TextMatrix(2, frmAuditLog::ColOldValue), "Mill.");
    EXPECT_EQ(grid.gridModel().index(2, frmAuditLog::ColOrgUnit).data().toString(), "Zoology")
        << "the organisation unit by its name";
    for (int col = frmAuditLog::ColDate; col < grid.Cols(); ++col)
        EXPECT_EQ(grid.CellBackColor(1, col), Grey) << "the insert row has no column to comment";
    EXPECT_EQ(grid.CellBackColor(2, frmAuditLog::ColComments), White);
    EXPECT_EQ(grid.CellBackColor(2, frmAuditLog::ColOldValue), Grey);
    EXPECT_EQ(grid.CellBackColor(3, frmAuditLog::ColComments), White);
    EXPECT_EQ(collectionsMade, 1);
}

TEST_F(AuditLog, OnlyTheCommentOfACommentableRowCanBeEdited)
{
    frmAuditLog dialog;
    load(dialog, makeAuditRecordset(threeRows()));
    FlexGrid& grid = *dialog.fgAuditLog();
    for (const auto& [row, col] :
         {std::pair {1, int(frmAuditLog::ColComments)}, std::pair {2, int(frmAuditLog::ColOldValue)},
          std::pair {2, int(frmAuditLog::ColUser)}}) {
        const QModelIndex cell = grid.gridModel().index(row - 1, col);
        grid.setCurrentIndex(cell);
        grid.edit(cell);
        EXPECT_EQ(grid.findChild<QLineEdit*>(), nullptr) << "row " << row << ", column " << col;
    }
}

TEST_F(AuditLog, ACommentEditedTwiceGoesThroughOneObjectWithTheLastTextAndOkSavesIt)
{
    frmAuditLog dialog;
    load(dialog, makeAuditRecordset(threeRows()));
    typeComment(dialog, 2, "first thought");
    ASSERT_EQ(comments.size(), 1u);
    EXPECT_CALL(*comments[0], SetComment(QString("checked against the protologue")));
    typeComment(dialog, 2, "checked against the protologue");
    EXPECT_EQ(comments.size(), 1u) << "the same audit column keeps its object";
    EXPECT_EQ(added.keys(), QStringList {"2"});
    EXPECT_CALL(*collection, Save()).WillOnce(Return(true));
    dialog.cmdOk()->click();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_TRUE(messages.shown().empty());
}

TEST_F(AuditLog, ANewCommentObjectIsConnectedAndLoadedBeforeItTakesTheText)
{
    frmAuditLog dialog;
    load(dialog, makeAuditRecordset(threeRows()));
    ObjectRegistry::instance().registerClass("BRYX_AuditLogClient.cAuditLog", [this] {
        auto comment = std::make_shared<NiceMock<MockAuditComment>>();
        ::testing::InSequence order;
        EXPECT_CALL(*comment, Connect(QString("sqlite:/audit.sqlite"), 1));
        EXPECT_CALL(*comment, Load(3));
        EXPECT_CALL(*comment, SetComment(QString("verified")));
        comments.push_back(comment);
        return comment;
    });
    typeComment(dialog, 3, "verified");
    EXPECT_EQ(comments.size(), 1u);
}

TEST_F(AuditLog, CancelStoresNothingAndAFailedSaveKeepsTheDialogOpenWithTheReason)
{
    {
        frmAuditLog dialog;
        load(dialog, makeAuditRecordset(threeRows()));
        typeComment(dialog, 2, "not kept");
        EXPECT_CALL(*collection, Save()).Times(0);
        dialog.cmdCancel()->click();
        EXPECT_FALSE(dialog.isVisible());
        dialog.Unload();
    }
    ::testing::Mock::VerifyAndClearExpectations(collection.get());
    frmAuditLog dialog;
    load(dialog, makeAuditRecordset(threeRows()));
    typeComment(dialog, 2, "kept on screen");
    EXPECT_CALL(*collection, Save()).WillOnce([]() -> bool {
        throw Error(ErrorNumber::ObjectClosed, "The database is closed");
    });
    dialog.cmdOk()->click();
    EXPECT_TRUE(dialog.isVisible());
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.shown()[0].prompt, "Unable to save changes: The database is closed");
    EXPECT_EQ(dialog.fgAuditLog()->TextMatrix(2, frmAuditLog::ColComments), "kept on screen");
}

TEST_F(AuditLog, AnEmptyTrailShowsTheHeaderOnlyAndOkJustCloses)
{
    frmAuditLog dialog;
    load(dialog, makeAuditRecordset({}));
    EXPECT_EQ(dialog.fgAuditLog()->Rows(), 1);
    EXPECT_EQ(collectionsMade, 0);
    EXPECT_EQ(dialog.comments(), nullptr);
    dialog.cmdOk()->click();
    EXPECT_FALSE(dialog.isVisible());
}

TEST_F(AuditLog, WordWrapMakesLongOldValuesTallerAndTheDialogKeepsItsSmallestSize)
{
    auto rows = threeRows();
    rows[1][6] = QString("Mill. ").repeated(80);
    frmAuditLog dialog;
    load(dialog, makeAuditRecordset(rows));
    FlexGrid& grid = *dialog.fgAuditLog();
    grid.SetColWidth(frmAuditLog::ColOldValue, 3000);
    const int before = grid.RowHeight(2);
    dialog.chkWordWrap()->click();
    EXPECT_TRUE(grid.WordWrap());
    EXPECT_GT(grid.RowHeight(2), before * 2);

    dialog.resize(20, 20);
    QApplication::processEvents();
    EXPECT_GE(pixelsToTwips(dialog.width(), &dialog), 4000 - 15);
    EXPECT_GE(pixelsToTwips(dialog.height(), &dialog), 1800 - 15);
    EXPECT_LE(dialog.cmdCancel()->geometry().right(), dialog.width());
    EXPECT_LT(dialog.cmdOk()->geometry().right(), dialog.cmdCancel()->geometry().left());
    EXPECT_LE(grid.geometry().bottom(), dialog.cmdOk()->geometry().top());
}
