#include "exchange/ArchiveFolder.h"

#include "../support/QtPrinters.h"
#include "error/Error.h"
#include "exchange/DwcaMeta.h"
#include "exchange/DwcaRowReader.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <archive.h>
#include <archive_entry.h>
#include <gtest/gtest.h>
#include <map>

using namespace bryx;
using namespace bryx::host;

namespace {

const char* const Meta = R"(<archive><core fieldsTerminatedBy="\t" ignoreHeaderLines="1">
<files><location>taxon.txt</location></files><id index="0"/>
<field index="1" term="http://rs.tdwg.org/dwc/terms/scientificName"/></core></archive>)";

std::map<std::string, QByteArray> package()
{
    return {{"dwca/meta.xml", Meta},
            {"dwca/taxon.txt", "taxonID\tscientificName\n1\tAbies alba\n2\tPicea abies\n"}};
}

// A zip archive with these members, written by the same library that reads it.
void writeZip(const QString& path, const std::map<std::string, QByteArray>& members)
{
    archive* writer = archive_write_new();
    archive_write_set_format_zip(writer);
    ASSERT_EQ(archive_write_open_filename(writer, QFile::encodeName(path).constData()), ARCHIVE_OK);
    for (const auto& [name, bytes] : members) {
        archive_entry* entry = archive_entry_new();
        archive_entry_set_pathname(entry, name.c_str());
        archive_entry_set_size(entry, bytes.size());
        archive_entry_set_filetype(entry, AE_IFREG);
        archive_entry_set_perm(entry, 0644);
        archive_write_header(writer, entry);
        archive_write_data(writer, bytes.constData(), size_t(bytes.size()));
        archive_entry_free(entry);
    }
    archive_write_close(writer);
    archive_write_free(writer);
}

QStringList namesIn(const ArchiveFolder& folder)
{
    const QByteArray meta = folder.readAll("meta.xml");
    const DwcaMeta description = DwcaMeta::parse(meta);
    auto device = folder.open(description.core.location);
    DwcaRowReader reader(*device, description.core, description.core.location);
    QStringList names;
    QStringList fields;
    while (reader.next(fields))
        names << fields.value(description.core.field("scientificName")->index);
    return names;
}

QString refusal(const std::function<void()>& work)
{
    try {
        work();
    } catch (const Error& error) {
        return error.Description();
    }
    return {};
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

    QDir(temp.path()).mkpath("unpacked/dwca");
    for (const auto& [name, bytes] : package()) {
        QFile file(temp.filePath("unpacked/" + QString::fromStdString(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    const ArchiveFolder folder(temp.filePath("unpacked"));
    EXPECT_TRUE(folder.isFolder());
    EXPECT_EQ(namesIn(folder), QStringList({"Abies alba", "Picea abies"}));
}

TEST(ArchiveFolder, DamagedOrIncompletePackagesAreRefusedByName)
{
    QTemporaryDir temp;
    const QString zip = temp.filePath("checklist.zip");
    std::map<std::string, QByteArray> members = package();
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

    EXPECT_TRUE(
        refusal([&] { ArchiveFolder(temp.filePath("missing.zip")); }).contains("missing.zip does not exist"));
    const QString notArchive = temp.filePath("notes.txt");
    QFile text(notArchive);
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("just words, not an archive\n");
    text.close();
    EXPECT_TRUE(refusal([&] { ArchiveFolder {notArchive}; }).contains("notes.txt")) << "named";
    EXPECT_EQ(refusal([&] { ArchiveFolder(zip).open("Reference.tsv"); }),
              zip + " holds no file Reference.tsv");
}
