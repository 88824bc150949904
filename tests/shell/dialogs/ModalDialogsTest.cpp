#include "../../mocks/HostMocks.h"
#include "../../support/ErrorMatchers.h"
#include "../../support/QtPrinters.h"
#include "../../support/RecordsetBuilder.h"
#include "../../support/ScriptedDesktop.h"
#include "../../support/ScriptedMessageBox.h"
#include "../../support/TestComponent.h"
#include "dialogs/frmModalDetail.h"
#include "dialogs/frmModalSearch.h"
#include "hosting/ControlExtender.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPointer>
#include <gmock/gmock.h>

using namespace bryx;
using namespace bryx::test;
using ::testing::_;
using ::testing::DoAll;
using ::testing::NiceMock;
using ::testing::Return;
using ::testing::SetArgReferee;

namespace {

class ModalDialogs : public ::testing::Test {
protected:
    void SetUp() override
    {
        TestComponent::registerClass();
        host = std::make_shared<NiceMock<MockAppManager>>();
        ON_CALL(*host, HelpFile()).WillByDefault(Return(QString("/usr/share/bryx/help/index.html")));
    }
    TestComponent* hosted(ModalHostForm& dialog)
    {
        return static_cast<TestComponent*>(dialog.GenericDetails()->object());
    }
    void press(QWidget& target, int key)
    {
        QKeyEvent down(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(&target, &down);
        QKeyEvent up(QEvent::KeyRelease, key, Qt::NoModifier);
        QApplication::sendEvent(&target, &up);
    }
    ScriptedDesktop desktop;
    std::shared_ptr<NiceMock<MockAppManager>> host;
};

} // namespace

TEST_F(ModalDialogs, TheSearchDialogStartsItsComponentAndHandsTheRecordsetBack)
{
    frmModalSearch dialog;
    EXPECT_EQ(dialog.Caption(), QString("Search"));
    auto prototype = makeNameList({});
    auto chosen = prototype;
    TestComponent::registerClass();
    ASSERT_TRUE(dialog.InitDialog(TestComponent::ProgId, host, chosen, "extra"));
    TestComponent* component = hosted(dialog);
    ASSERT_TRUE(component);
    EXPECT_EQ(component->objectName(), QString("ModalSearch"));
    EXPECT_EQ(component->calls, QStringList({"InitModalSearch(extra)"}));
    EXPECT_EQ(component->received, prototype);
    EXPECT_EQ(component->appManager, host);
    EXPECT_EQ(desktop.eventRuns, 1);
    EXPECT_NEAR(dialog.WidthTwips(), 9615 + 100, 15);
    EXPECT_NEAR(dialog.HeightTwips(), 8595 + 750, 15);
    EXPECT_EQ(dialog.helpProvider().HelpFile, QString("/usr/share/bryx/help/index.html"));
    EXPECT_EQ(dialog.helpProvider().HelpCommand, 1);
    EXPECT_FALSE(dialog.isEnabled()); // until it is activated

    dialog.UseSelectedRecordset(true);
    auto items = std::make_shared<Collection>();
    dialog.SetSelectedItems(items);
    EXPECT_EQ(items->Count(), 1);
    dialog.SetNameType(1, true);
    dialog.SetNameType(2, false, "Species");
    dialog.SetSingleSelect(); // the test component has none: ignored
    EXPECT_BRYX_ERROR(dialog.SetIdEnabled(true), ErrorNumber::ObjectDoesNotSupport);
    EXPECT_BRYX_ERROR(dialog.GetMutliSelect(), ErrorNumber::ObjectDoesNotSupport);
    EXPECT_EQ(component->calls.mid(1),
              QStringList({"UseSelectedRecordset(1)", "SetSelectedItems", "SetNameType(1,1)",
                           "SetNameType(2,0,Species)"}));

    // A component that replaces the recordset hands the new one back through the caller's variable.
    frmModalSearch second;
    auto replacement = makeNameList({{5, "Abies alba"}});
    TestComponent::nextReplacement = replacement;
    std::shared_ptr<Recordset> variable = prototype;
    ASSERT_TRUE(second.InitDialog(TestComponent::ProgId, host, variable, ""));
    EXPECT_EQ(variable, replacement);
}

TEST_F(ModalDialogs, QuitInAnyCaseUnloadsTheSearchDialogAndReleasesEverything)
{
    frmModalSearch dialog;
    std::shared_ptr<Recordset> none;
    ASSERT_TRUE(dialog.InitDialog(TestComponent::ProgId, host, none, ""));
    const long hostUses = host.use_count();
    bool visibleWhileShown = false;
    desktop.whileShown = [&](QDialog&) {
        visibleWhileShown = dialog.GenericDetails()->isVisible() && dialog.isEnabled();
        emit hosted(dialog)->UpdateList(3); // other events change nothing
        EXPECT_FALSE(dialog.isUnloaded());
        emit hosted(dialog)->qUIT();
    };
    QPointer<TestComponent> component(hosted(dialog));
    dialog.ShowModal();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(component.isNull()); // ended after the event that unloaded the dialog
    EXPECT_TRUE(visibleWhileShown);
    EXPECT_TRUE(dialog.isUnloaded());
    EXPECT_EQ(dialog.GenericDetails(), nullptr);
    EXPECT_EQ(dialog.findChild<QWidget*>("ModalSearch"), nullptr);
    EXPECT_LT(host.use_count(), hostUses); // the application manager is released
}

TEST_F(ModalDialogs, ClosingAsksTheComponentFirst)
{
    frmModalSearch dialog;
    std::shared_ptr<Recordset> none;
    ASSERT_TRUE(dialog.InitDialog(TestComponent::ProgId, host, none, ""));
    dialog.show();
    hosted(dialog)->canClose = false;
    EXPECT_FALSE(dialog.close());
    EXPECT_TRUE(dialog.isVisible());
    hosted(dialog)->canClose = true;
    EXPECT_TRUE(dialog.close());
}

TEST_F(ModalDialogs, F1ShowsTheComponentsHelpTopicAndF9TheSystemControlEntry)
{
    frmModalSearch dialog;
    std::shared_ptr<Recordset> none;
    ASSERT_TRUE(dialog.InitDialog(TestComponent::ProgId, host, none, ""));
    dialog.show();
    EXPECT_CALL(*host, GetHelpTopicID(_, _))
        .WillOnce(DoAll(SetArgReferee<1>(2000), Return(true)))
        .WillOnce(Return(false));
    EXPECT_CALL(*host, DisplaySystemControlEntry(_)).Times(1);
    press(*hosted(dialog), Qt::Key_F1);
    press(dialog, Qt::Key_F1); // no topic: no help
    press(dialog, Qt::Key_F9);
    press(dialog, Qt::Key_A); // passes on untouched
    EXPECT_EQ(desktop.help, QStringList({"/usr/share/bryx/help/index.html#2000"}));
    EXPECT_EQ(dialog.helpProvider().HelpContext, 0);
}

TEST_F(ModalDialogs, AFailedStartReportsAndUnloads)
{
    ScriptedMessageBox boxes;
    frmModalSearch search;
    std::shared_ptr<Recordset> none;
    EXPECT_FALSE(search.InitDialog("No.Such.Search", host, none, ""));
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_TRUE(boxes.shown()[0].prompt.contains("No.Such.Search"));
    EXPECT_EQ(boxes.shown()[0].style, MsgBoxStyle::OKOnly);
    EXPECT_TRUE(search.isUnloaded());
    EXPECT_EQ(search.GenericDetails(), nullptr);

    frmModalSearch withoutHost;
    EXPECT_FALSE(withoutHost.InitDialog(TestComponent::ProgId, nullptr, none, ""));
    ASSERT_EQ(boxes.shown().size(), 2u);
    EXPECT_TRUE(boxes.shown()[1].prompt.contains("application manager"));

    frmModalDetail detail;
    EXPECT_FALSE(detail.InitDialog("No.Such.Details", host, ""));
    EXPECT_EQ(boxes.shown().size(), 2u); // the detail dialog fails silently
    EXPECT_TRUE(detail.isUnloaded());
}

TEST_F(ModalDialogs, TheDetailDialogHidesOnQuitAndDeactivatesItsComponentWhenUnloaded)
{
    frmModalDetail dialog;
    EXPECT_EQ(dialog.Caption(), QString("Modal Details"));
    ASSERT_TRUE(dialog.InitDialog(TestComponent::ProgId, host, "Botanical..."));
    TestComponent* component = hosted(dialog);
    EXPECT_EQ(component->objectName(), QString("ModalDetail"));
    EXPECT_EQ(dialog.NewData(0), 4711);
    dialog.LoadData(42);
    desktop.whileShown = [&](QDialog&) {
        emit component->Quit();
        EXPECT_FALSE(dialog.isVisible()); // hidden, not unloaded: the caller unloads
        EXPECT_FALSE(dialog.isUnloaded());
    };
    dialog.ShowModal();

    // Once its component is hidden, the dialog closes without asking.
    dialog.show();
    component->canClose = false;
    EXPECT_FALSE(dialog.close());
    dialog.GenericDetails()->setVisible(false);
    EXPECT_TRUE(dialog.close());

    TestComponent::journal.clear();
    QPointer<TestComponent> watched(component);
    dialog.Unload();
    EXPECT_EQ(TestComponent::journal, QStringList({"Deactivate"}));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(watched.isNull()); // and the component is released after it
}
