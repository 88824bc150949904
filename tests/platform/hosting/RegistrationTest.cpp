#include "../../support/ConfigFolder.h"
#include "../../support/ErrorMatchers.h"
#include "../../support/QtPrinters.h"
#include "../../support/TestComponent.h"
#include "hosting/ComponentLibrary.h"
#include "hosting/RegistryFile.h"
#include "registration/EntryPoints.h"
#include "registration/Identities.h"

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace bryx;
using namespace bryx::test;

namespace {

QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Points the XDG config folder at a temporary one for the test's lifetime.
} // namespace

TEST(Registration, RegisteringRecordsTheIdentitiesAndUnregisteringLeavesTheFileAsItWas)
{
    ConfigFolder config;
    ASSERT_EQ(RegistryFile::defaultPath(), config.registry());
    {
        // Another library was registered before.
        LibraryRegistration other;
        other.typeLibraryId = "{OTHER-TLB}";
        other.typeLibraryName = "OtherLibrary";
        other.libraryPath = "/opt/other.so";
        other.classes = {
            {"Other.Thing", "{OTHER-CLSID}", "_Thing", "{OTHER-IID}", "__Thing", "{OTHER-EVENTS}"}};
        RegistryFile().registerLibrary(other);
    }
    const QByteArray before = contents(config.registry());
    ASSERT_FALSE(before.isEmpty());

    ASSERT_EQ(DllRegisterServer(), registration::S_Ok);
    QSettings settings(config.registry(), QSettings::IniFormat);
    EXPECT_EQ(settings.value("ProgID/BRYX_ScientificName.ScientificSearch/CLSID"),
              QVariant("{68230FF6-775D-480B-892C-7F2BC8143655}"));
    EXPECT_EQ(settings.value("ProgID/BRYX_ScientificName.ScientificDetails/CLSID"),
              QVariant("{F5AB5683-C66A-4963-9824-AE7AD400FD58}"));
    const QString tlb = "TypeLib/{79AFE130-98CF-4214-9D3A-AAA3133DA36C}/";
    EXPECT_EQ(settings.value(tlb + "HelpString"), QVariant("BRYX Scientific Name"));
    EXPECT_EQ(settings.value(tlb + "Version"), QVariant("1.0"));
    EXPECT_EQ(settings.value(tlb + "Locale"), QVariant("0x0409"));
    EXPECT_EQ(settings.value(tlb + "FileVersion"), QVariant("2.03.0007"));
    EXPECT_TRUE(settings.value(tlb + "Path").toString().contains("libBRYX_ScientificName.so"));
    EXPECT_EQ(settings.value("Interface/{2AE55EA7-2B59-4842-B6B5-E8FFC068F56B}/Name"),
              QVariant("__ScientificSearch"));
    EXPECT_EQ(RegistryFile().classIdOf("BRYX_ScientificName.ScientificDetails"),
              QString("{F5AB5683-C66A-4963-9824-AE7AD400FD58}"));

    ASSERT_EQ(DllUnregisterServer(), registration::S_Ok);
    EXPECT_EQ(contents(config.registry()), before);
}

TEST(Registration, ClassObjectsAndTheUnloadAnswerFollowTheLiveComponents)
{
    TestComponent::registerClass();
    const void* factory = nullptr;
    ASSERT_EQ(DllGetClassObject(TestComponent::ClassId, &factory), registration::S_Ok);
    auto* componentClass = static_cast<const ComponentClass*>(factory);
    EXPECT_EQ(componentClass->progId, QString(TestComponent::ProgId));
    EXPECT_EQ(DllGetClassObject("{NOT-A-CLASS}", &factory), registration::ClassNotAvailable);
    EXPECT_EQ(factory, nullptr);

    EXPECT_EQ(DllCanUnloadNow(), registration::S_Ok);
    {
        std::unique_ptr<UserControl> live(componentClass->create(nullptr));
        EXPECT_EQ(DllCanUnloadNow(), registration::S_False);
    }
    EXPECT_EQ(DllCanUnloadNow(), registration::S_Ok);
}

TEST(Registration, AHostLoadsTheLibraryByPathAndCreatesComponentsByProgId)
{
    ConfigFolder config;
    ComponentLibrary library(registration::thisLibraryPath());
    ASSERT_EQ(library.registerServer(), registration::S_Ok);
    EXPECT_FALSE(RegistryFile().classIdOf("BRYX_ScientificName.ScientificSearch").isEmpty());
    {
        std::unique_ptr<UserControl> search(
            library.create("BRYX_ScientificName.ScientificSearch", nullptr, config.registry()));
        EXPECT_TRUE(search && search->metaObject()->indexOfMethod("CanClose()") >= 0);
        EXPECT_FALSE(library.canUnloadNow());
    }
    {
        std::unique_ptr<UserControl> details(
            library.create("BRYX_ScientificName.ScientificDetails", nullptr, config.registry()));
        EXPECT_TRUE(details && details->metaObject()->indexOfMethod("GetID()") >= 0);
        EXPECT_FALSE(library.canUnloadNow());
    }
    EXPECT_BRYX_ERROR(library.create("Not.Registered", nullptr, config.registry()),
                      ErrorNumber::CannotCreateObject);

    // A class the library offers is created through its class object.
    TestComponent::registerClass();
    QSettings(config.registry(), QSettings::IniFormat)
        .setValue(QStringLiteral("ProgID/%1/CLSID").arg(TestComponent::ProgId), TestComponent::ClassId);
    std::unique_ptr<UserControl> created(library.create(TestComponent::ProgId, nullptr, config.registry()));
    EXPECT_NE(dynamic_cast<TestComponent*>(created.get()), nullptr);
    EXPECT_FALSE(library.canUnloadNow());
    created.reset();
    EXPECT_TRUE(library.canUnloadNow());
    EXPECT_EQ(library.unregisterServer(), registration::S_Ok);

    EXPECT_BRYX_ERROR(ComponentLibrary("/nonexistent/libNothing.so"), ErrorNumber::CannotCreateObject);
}
