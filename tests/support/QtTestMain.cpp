// Test entry point for suites that need widgets: one QApplication for the whole run.
#include <QApplication>
#include <gmock/gmock.h>

int main(int argc, char** argv)
{
    // Tests are headless, also when the build lists them.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    ::testing::InitGoogleMock(&argc, argv);
    const int result = RUN_ALL_TESTS();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); // nothing left for the leak check
    return result;
}
