#include "../../support/ErrorMatchers.h"
#include "../../support/QtPrinters.h"
#include "../../support/TestComponent.h"
#include "hosting/ControlExtender.h"
#include "hosting/ErrorReport.h"
#include "hosting/LateBinding.h"
#include "hosting/Twips.h"
#include "hosting/UserControl.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QMenu>
#include <QScreen>
#include <QWidget>
#include <gtest/gtest.h>

using namespace bryx;
using namespace bryx::test;

namespace {

class RecordingReport : public ErrorReport {
public:
    void report(const QString& where, const Error& error) override
    {
        reports << where + ": " + error.Description();
    }
    static inline QStringList reports;
};

} // namespace

TEST(LateBinding, CallsMembersByNameWithConvertedArgumentsAndReferences)
{
    TestComponent component;
    EXPECT_EQ(CallByName(component, "add", {2, "40"}), QVariant(42));
    EXPECT_EQ(CallByName(component, "GREET", {"Ann"}), QVariant("Hello, Ann"));
    QVariantList byReference {21};
    CallByName(component, "Double", byReference);
    EXPECT_EQ(byReference.front(), QVariant(42));

    SetPropertyByName(component, "caption", "Find Scientific Name");
    EXPECT_EQ(GetPropertyByName(component, "Caption"), QVariant("Find Scientific Name"));
    EXPECT_EQ(CallByName(component, "Caption"),
              QVariant("Find Scientific Name")); // a property read as a call
    EXPECT_TRUE(HasMember(component, "canclose"));
    EXPECT_FALSE(HasMember(component, "SetMutliSelect"));

    const QString missing =
        EXPECT_BRYX_ERROR(CallByName(component, "SetMutliSelect", {true}), ErrorNumber::ObjectDoesNotSupport);
    EXPECT_TRUE(missing.contains("Object doesn't support this property or method")) << missing.toStdString();
    EXPECT_BRYX_ERROR(GetPropertyByName(component, "GetMultiSelect"), ErrorNumber::ObjectDoesNotSupport);
    EXPECT_BRYX_ERROR(CallByName(component, "Add", {1}), ErrorNumber::InvalidArgument);
    EXPECT_BRYX_ERROR(CallByName(component, "Add", {1, "one"}), ErrorNumber::TypeMismatch);
    // An error the member raises reaches the caller as it was raised.
    EXPECT_TRUE(EXPECT_BRYX_ERROR(CallByName(component, "Fail"), ErrorNumber::InvalidArgument)
                    .contains("asked to fail"));
}

TEST(ControlExtender, AddsComponentsByProgIdAndHearsEveryEventByName)
{
    TestComponent::registerClass();
    QWidget form;
    const int before = UserControl::liveCount();
    auto extender = ControlExtender::add(form, "brYxtest.testcomponent", "ModalSearch");
    ASSERT_TRUE(extender->object());
    EXPECT_EQ(UserControl::liveCount(), before + 1);
    EXPECT_EQ(extender->name(), QString("ModalSearch"));
    EXPECT_EQ(form.findChild<QWidget*>("ModalSearch"), extender->object());
    EXPECT_NEAR(extender->widthTwips(), 9615, 15);
    EXPECT_NEAR(extender->heightTwips(), 8595, 15);
    extender->setSizeTwips(1500, 3000);
    EXPECT_NEAR(extender->heightTwips(), 3000, 15);
    extender->setVisible(false);
    EXPECT_FALSE(extender->isVisible());
    extender->setVisible(true);
    EXPECT_TRUE(extender->isVisible());

    QStringList heard;
    QObject::connect(extender.get(), &ControlExtender::Event,
                     [&](const QString& name, const QVariantList& args) {
                         heard << name + (args.isEmpty() ? QString() : "(" + args.front().toString() + ")");
                     });
    auto* component = static_cast<TestComponent*>(extender->object());
    emit component->UpdateList(7);
    emit component->Quit();
    emit component->NewItem();
    EXPECT_EQ(heard, QStringList({"UpdateList(7)", "Quit", "NewItem"}));
    EXPECT_EQ(CallByName(*extender->object(), "CanClose"), QVariant(true));

    EXPECT_BRYX_ERROR(ControlExtender::add(form, TestComponent::ProgId, "ModalSearch"),
                      ErrorNumber::DuplicateKey);
    EXPECT_BRYX_ERROR(ControlExtender::add(form, "No.Such.Component", "Other"),
                      ErrorNumber::CannotCreateObject);

    extender.reset(); // removing the control takes it off the form at once and ends it after
    EXPECT_EQ(form.findChild<QWidget*>("ModalSearch"), nullptr);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(UserControl::liveCount(), before);
}

TEST(ErrorReport, HandlersNeverLetAnErrorReachTheEventLoop)
{
    auto previous = ErrorReport::install(std::make_unique<RecordingReport>());
    RecordingReport::reports.clear();
    TestComponent component;
    runHandler("cmdStartSearch_Click", [&] { CallByName(component, "Fail"); });
    runHandler("cmdOk_Click", [] { throw std::runtime_error("plain failure"); });
    runHandler("cmdCancel_Click", [] {});
    EXPECT_EQ(RecordingReport::reports,
              QStringList({"cmdStartSearch_Click: asked to fail", "cmdOk_Click: plain failure"}));
    ErrorReport::install(std::move(previous));
}

TEST(Twips, FifteenToThePixelAtNinetySixDotsPerInch)
{
    const double dpi = QGuiApplication::primaryScreen()->logicalDotsPerInch();
    EXPECT_EQ(twipsToPixels(1440), int(dpi));
    EXPECT_NEAR(pixelsToTwips(twipsToPixels(9615)), 9615, 15); // within one pixel
    if (dpi == 96.0) {
        EXPECT_EQ(twipsToPixels(15), 1);
    }
}

TEST(UserControl, PopsMenusUpAtTwipPositionsAndSizesInTwips)
{
    UserControl component;
    component.setSizeTwips(9615, 8595);
    EXPECT_EQ(component.width(), twipsToPixels(9615, &component));
    EXPECT_EQ(component.widthTwips(), pixelsToTwips(component.width(), &component));
    component.move(100, 50);
    component.show();
    QMenu fileNew;
    fileNew.addAction("&Botanical...");
    component.PopupMenu(fileNew, 0, 370);
    EXPECT_TRUE(fileNew.isVisible());
    EXPECT_EQ(fileNew.pos(), component.mapToGlobal(QPoint(0, twipsToPixels(370, &component))));
    fileNew.hide();
}
