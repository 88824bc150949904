#include "exchange/ArchiveFolder.h"

#include "TestPackage.h"
#include "error/Error.h"
#include "exchange/DwcaMeta.h"
#include "exchange/DwcaRowReader.h"
#include "support/QtPrinters.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <map>

using namespace bryx;
using namespace bryx::host;
using bryx::test::refusal;
using bryx::test::writeZip;

namespace {

const char* const Meta = R"(<archive><core fieldsTerminatedBy="\t" ignoreHeaderLines="1">
<files><location>taxon.txt</location></files><id index="0"/>
<field index="1" term="http://rs.tdwg.org/dwc/terms/scientificName"/></core></archive>)";

bryx::test::PackageFiles package()
{
    return {{"dwca/meta.xml", Meta},
            {"dwca/taxon.txt", "taxonID\tscientificName\n1\tAbies alba\n2\tPicea abies\n"}};
}

QStringList namesIn(const ArchiveFolder& folder)
{
    const QByteArray meta = folder.readAll("meta.xml", 1 << 20);
    const DwcaMeta description = DwcaMeta::parse(meta);
    auto device = folder.open(description.core.location);
    DwcaRowReader reader(*device, description.core, description.core.location);
    QStringList names;
    QStringList fields;
    while (reader.next(fields))
        names << fields.value(description.core.field("scientificName")->index);
    return names;
}

} // namespace

TEST(ArchiveFolder, AZipAndTheFolderItWasUnpackedIntoReadAlike)
{
    QTemporaryDir temp;
    const QString zip = temp.filePath("checklist.zip");
    writeZip(zip, package());
    const ArchiveFolder zipped(zip);
    EXPECT_FALSE(zipped.isFolder());
    EXPECT_EQ(zipped.find("meta.xml"), "dwca/meta.xml") << "found inside the archive's own folder";
    EXPECT_EQ(namesIn(zipped), QStringList({"Abies alba", "Picea abies"}));

    bryx::test::writeFolder(temp.filePath("unpacked"), package());
    const ArchiveFolder folder(temp.filePath("unpacked"));
    EXPECT_TRUE(folder.isFolder());
    EXPECT_EQ(namesIn(folder), QStringList({"Abies alba", "Picea abies"}));
}

TEST(ArchiveFolder, DamagedOrIncompletePackagesAreRefusedByName)
{
    QTemporaryDir temp;
    const QString zip = temp.filePath("checklist.zip");
    bryx::test::PackageFiles members = package();
    members["dwca/taxon.txt"] = QByteArray(200'000, 'x'); // large enough to be cut in the middle
    writeZip(zip, members);
    QFile whole(zip);
    ASSERT_TRUE(whole.open(QIODevice::ReadOnly));
    const QByteArray bytes = whole.readAll();
    whole.close();
    const QString cut = temp.filePath("cut.zip");
    QFile damaged(cut);
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write(bytes.left(bytes.size() / 2));
    damaged.close();
    const QString damagedWhy = refusal([&] {
        const ArchiveFolder folder(cut);
        auto device = folder.open("taxon.txt");
        DwcaFile file;
        DwcaRowReader reader(*device, file, "taxon.txt");
        QStringList fields;
        while (reader.next(fields)) { }
    });
    EXPECT_TRUE(damagedWhy.contains("cut.zip")) << damagedWhy.toStdString();
    EXPECT_FALSE(damagedWhy.trimmed().endsWith(':')) << "says why: " << damagedWhy.toStdString();

    EXPECT_TRUE(
        refusal([&] { ArchiveFolder(temp.filePath("missing.zip")); }).contains("missing.zip does not exist"));
    const QString notArchive = temp.filePath("notes.dat");
    QFile text(notArchive);
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("just words, not an archive\n");
    text.close();
    EXPECT_TRUE(refusal([&] { ArchiveFolder {notArchive}; }).contains("notes.dat")) << "named";
    EXPECT_EQ(refusal([&] { ArchiveFolder(zip).open("Reference.tsv"); }),
              zip + " holds no file Reference.tsv");
}
