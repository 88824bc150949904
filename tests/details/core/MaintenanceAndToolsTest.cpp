// The File menu's related windows and the Tools menu's text tools of the details editor,
// against the mocked host: what reaches the host, in which order and with which arguments.
#include "../../support/QtPrinters.h"
#include "DetailsTestHost.h"
#include "collection/Collection.h"
#include "controls/Controls.h"
#include "controls/FlexGrid.h"
#include "controls/RichTextBox.h"
#include "recordset/Recordset.h"
#include "related/frmAuditLog.h"

#include <QApplication>

using namespace bryx;
using namespace bryx::test;
using ::testing::_;
using ::testing::Eq;
using ::testing::NotNull;
using ::testing::Return;

namespace {

std::shared_ptr<Recordset> threeNames()
{
    return makeNameList({{1, "Abies alba"}, {2, "Abies grandis"}, {3, "Picea abies"}});
}

const char* const Properties = "<BRYX><COMPONENT_PROPERTIES>"
                               "<ScientificName>scientific_name.scientific_name</ScientificName>"
                               "<AuthorName>scientific_name.author_name</AuthorName>"
                               "<Acronym>acronym</Acronym>"
                               "</COMPONENT_PROPERTIES></BRYX>";

class RelatedAndTools : public DetailsTestHost {
protected:
    void SetUp() override
    {
        DetailsTestHost::SetUp();
        // The References page reads the links' references through a component collection.
        ObjectRegistry::instance().registerClass("ClientFramework.ComponentCollection", [] {
            return std::make_shared<testing::NiceMock<MockComponentCollection>>();
        });
    }
    void TearDown() override
    {
        ObjectRegistry::instance().unregisterClass("ClientFramework.ComponentCollection");
        DetailsTestHost::TearDown();
    }
    MenuItem& menu(const char* name) { return control<MenuItem>(name); }
    void focus(QWidget& widget)
    {
        QApplication::setActiveWindow(&form);
        widget.setFocus();
        QApplication::processEvents();
    }
    void addViews(const QStringList& codes)
    {
        for (const QString& code : codes) {
            auto view = std::make_shared<Collection>();
            view->Add(code, "WORKING_LIST_TYPE");
            views->Add(Collection::fromEntry(view));
        }
    }
};

} // namespace

TEST_F(RelatedAndTools, NewEgtAsksTheHostWithTheElementViewsTheTextAndTheNamesId)
{
    addViews({"SNM", "REF", "ELE", "ETK"});
    startEmbedded(threeNames(), 2);
    EXPECT_CALL(*winMan,
                NewDetails(3, 4, QString("ELEMENT GLOBAL TRACKING (EGT)... FROM SCIENTIFIC NAME"), _))
        .WillOnce([](int32_t, int32_t, const QString&, int32_t* id) {
            ASSERT_NE(id, nullptr);
            EXPECT_EQ(*id, 2);
        });
    menu("mnuFileNewEGT").trigger();
    menu("mnuFileNewEGT").setEnabled(false);
    menu("mnuFileNewEGT").trigger(); // disabled: nothing more
}

TEST_F(RelatedAndTools, ReferencesOpenThroughTheMenuBuildersStatementOrSayWhyNot)
{
    auto menuBuilder = std::make_shared<testing::NiceMock<MockMenuBuilder>>();
    ON_CALL(*host, MenuBuilder()).WillByDefault(Return(menuBuilder));
    addViews({"SNM", "REF"});
    startEmbedded(threeNames(), 3);
    EXPECT_CALL(*menuBuilder,
                GetConvertFromParentSQL(QString("SNM"), QString("REF"), QString("References...")))
        .WillOnce(Return(QString("select * from scientific_wl_vw where id=? order by 1")))
        .WillOnce(Return(QString()))
        .WillOnce([](const QString&, const QString&, const QString&) -> QString {
            throw Error(ErrorNumber::ObjectClosed, "closed");
        });
    EXPECT_CALL(*winMan, OpenDetails(2, 2, 3, QString(), NotNull()));
    menu("mnuFileOpenReferences").trigger();
    EXPECT_TRUE(statements.contains("select * from scientific_wl_vw where id=3 order by 1"));
    EXPECT_CALL(*host, Message(QString("SNM007"), _));
    menu("mnuFileOpenReferences").trigger();
    EXPECT_CALL(*host, Message(QString("MGA013"), _))
        .WillOnce([](const QString&, const std::shared_ptr<Collection>& arguments) {
            EXPECT_EQ(arguments->Item(1).toString(), "Reference");
            return 1;
        });
    menu("mnuFileOpenReferences").trigger();
}

TEST_F(RelatedAndTools, RecordMaintenanceShowsTheWholeRecordsTrailUnderTheWindowsCaption)
{
    startEmbedded(threeNames(), 2);
    QString shownCaption;
    desktop.whileShown = [&](QDialog& dialog) {
        shownCaption = dialog.windowTitle();
        EXPECT_NE(dynamic_cast<frmAuditLog*>(&dialog), nullptr);
        EXPECT_EQ(desktop.pointers.back(), 0) << "the pointer is back before the dialog shows";
        dialog.hide();
    };
    EXPECT_CALL(*host, Auditing(QString("SCIENTIFIC_NAME"), 2, QString()))
        .WillOnce(Return(makeAuditRecordset({})));
    menu("mnuFileOpenRecordMaintenance").trigger();
    EXPECT_EQ(shownCaption, "Record Maintenance - " + caption);
}

TEST_F(RelatedAndTools, AttributeMaintenanceShowsTheColumnOfTheFocusedFieldOrSaysThereIsNone)
{
    startEmbedded(threeNames(), 2);
    ON_CALL(*records.back(), PropertyDescription()).WillByDefault(Return(QString(Properties)));
    QStringList shown;
    desktop.whileShown = [&](QDialog& dialog) {
        shown << dialog.windowTitle();
        dialog.hide();
    };
    EXPECT_CALL(*host, Auditing(QString("SCIENTIFIC_NAME"), 2, QString("author_name")))
        .WillOnce(Return(makeAuditRecordset({})));
    focus(control<RichTextBox>("ctrAuthor"));
    menu("mnuFileOpenAttributeMaintenance").trigger();
    ASSERT_EQ(shown.size(), 1);
    EXPECT_EQ(shown[0], "Attribute Maintenance - " + caption + " (author_name)");

    EXPECT_CALL(*host, Message(QString("APP001"), _)).Times(2);
    focus(control<TextBox>("txtCurrentRecord")); // no field behind it
    menu("mnuFileOpenAttributeMaintenance").trigger();
    ON_CALL(*records.back(), PropertyDescription())
        .WillByDefault(Return(QString("<BRYX><COMPONENT_PROPERTIES/></BRYX>")));
    focus(control<RichTextBox>("ctrAuthor")); // a field the description does not know
    menu("mnuFileOpenAttributeMaintenance").trigger();
    EXPECT_EQ(shown.size(), 1) << "no dialog without a column";
}

TEST_F(RelatedAndTools, TheTextEditorServesRichTextAndGridsAndNothingElse)
{
    startEmbedded(threeNames(), 1);
    auto& comments = control<RichTextBox>("ctrNameComments");
    control<TabControl>("tabScientificName").SetTab(3);
    QApplication::processEvents();
    comments.SetPlainText("Before");
    int editors = 0;
    desktop.whileShown = [&](QDialog& dialog) {
        ++editors;
        auto* text = dialog.findChild<RichTextBox*>("ctrEditor");
        ASSERT_NE(text, nullptr);
        EXPECT_EQ(text->PlainText(), "Before");
        text->SetPlainText("After, in the larger editor");
        const char* button = editors == 1 ? "Cancel" : "OK";
        for (QPushButton* push : dialog.findChildren<QPushButton*>()) {
            if (push->text().remove('&') == QLatin1String(button)) {
                push->click();
                return;
            }
        }
        ADD_FAILURE() << "no " << button << " button";
    };
    focus(comments);
    menu("mnuToolsTextEditor").trigger();
    EXPECT_EQ(comments.PlainText(), "Before") << "Cancel leaves the field";
    menu("mnuToolsTextEditor").trigger();
    EXPECT_EQ(comments.PlainText(), "After, in the larger editor");
    EXPECT_EQ(comments.ParentForm(), editor->window());

    control<TabControl>("tabScientificName").SetTab(2);
    QApplication::processEvents();
    auto& references = control<FlexGrid>("fgReferences");
    EXPECT_CALL(*host, PopupEdit(testing::Ref(static_cast<QObject&>(references))));
    focus(references);
    menu("mnuToolsTextEditor").trigger();

    EXPECT_CALL(*host, PopupEdit(_)).Times(0);
    focus(control<TextBox>("txtCurrentRecord"));
    menu("mnuToolsTextEditor").trigger();
    EXPECT_EQ(editors, 2);
}

TEST_F(RelatedAndTools, TheTextEditorReachesTheGridInsideABoundGridControl)
{
    startEmbedded(threeNames(), 1);
    // Controls of other forms that wrap a grid: one hands it out as "Grid", the other through
    // its "Object".
    QWidget bindGrid(editor);
    QObject innerGrid;
    bindGrid.setProperty("TypeName", "ctrlBindGrid");
    bindGrid.setProperty("Grid", QVariant::fromValue<QObject*>(&innerGrid));
    bindGrid.setFocusPolicy(Qt::StrongFocus);
    bindGrid.show();
    EXPECT_CALL(*host, PopupEdit(testing::Ref(innerGrid)));
    focus(bindGrid);
    menu("mnuToolsTextEditor").trigger();

    QWidget adoGrid(editor);
    QObject wrapped;
    QObject adoInner;
    wrapped.setProperty("Grid", QVariant::fromValue<QObject*>(&adoInner));
    adoGrid.setProperty("TypeName", "ctrlAdoGrid");
    adoGrid.setProperty("Object", QVariant::fromValue<QObject*>(&wrapped));
    adoGrid.setFocusPolicy(Qt::StrongFocus);
    adoGrid.show();
    EXPECT_CALL(*host, PopupEdit(testing::Ref(adoInner)));
    focus(adoGrid);
    menu("mnuToolsTextEditor").trigger();
}

TEST_F(RelatedAndTools, SpellCheckGoesToTheFocusedRichTextFieldOnly)
{
    startEmbedded(threeNames(), 1);
    auto& author = control<RichTextBox>("ctrAuthor");
    QList<RichTextBox*> checked;
    QObject::connect(&author, &RichTextBox::SpellCheckRequested, [&](RichTextBox* box) { checked << box; });
    focus(author);
    menu("mnuToolsSpellcheck").trigger();
    EXPECT_EQ(checked, QList<RichTextBox*> {&author});
    control<TabControl>("tabScientificName").SetTab(2);
    QApplication::processEvents();
    focus(control<FlexGrid>("fgReferences"));
    menu("mnuToolsSpellcheck").trigger();
    EXPECT_EQ(checked.size(), 1) << "nothing for a grid";
}

TEST_F(RelatedAndTools, TheSummaryFollowsTheAuthorOnceTheBoxIsLeft)
{
    startEmbedded(threeNames(), 1);
    ON_CALL(*records.back(), AuthorName()).WillByDefault(Return(QString("Mill. emend.")));
    focus(control<RichTextBox>("ctrAuthor"));
    focus(control<TextBox>("txtCurrentRecord"));
    EXPECT_EQ(control<TextBox>("txtSummaryAuthor").text(), "Mill. emend.");
}
