#include "ArchivePacker.h"

#include "error/Error.h"

#include <QDir>
#include <QFile>
#include <archive.h>
#include <archive_entry.h>
#include <ctime>
#include <memory>

namespace bryx::host {

namespace {

constexpr qint64 BlockBytes = 1 << 16;
constexpr int FileMode = 0644;

using WriterHandle = std::unique_ptr<archive, int (*)(archive*)>;
using EntryHandle = std::unique_ptr<archive_entry, void (*)(archive_entry*)>;

[[noreturn]] void refuse(const QString& zipPath, archive* writer)
{
    throw Error(ErrorNumber::PathFileAccess,
                QStringLiteral("%1 cannot be written: %2")
                    .arg(zipPath, QString::fromUtf8(archive_error_string(writer))));
}

} // namespace

void packZip(const QString& folder, const QStringList& files, const QString& zipPath)
{
    WriterHandle writer(archive_write_new(), archive_write_free);
    if (archive_write_set_format_zip(writer.get()) != ARCHIVE_OK
        || archive_write_open_filename(writer.get(), QFile::encodeName(zipPath).constData()) != ARCHIVE_OK)
        refuse(zipPath, writer.get());
    QByteArray block(BlockBytes, Qt::Uninitialized);
    for (const QString& name : files) {
        QFile file(QDir(folder).filePath(name));
        if (!file.open(QIODevice::ReadOnly))
            throw Error(ErrorNumber::PathFileAccess,
                        QStringLiteral("%1 cannot be read: %2").arg(file.fileName(), file.errorString()));
        EntryHandle entry(archive_entry_new(), archive_entry_free);
        archive_entry_set_pathname_utf8(entry.get(), name.toUtf8().constData());
        archive_entry_set_size(entry.get(), file.size());
        archive_entry_set_filetype(entry.get(), AE_IFREG);
        archive_entry_set_perm(entry.get(), FileMode);
        archive_entry_set_mtime(entry.get(), std::time(nullptr), 0);
        if (archive_write_header(writer.get(), entry.get()) != ARCHIVE_OK)
            refuse(zipPath, writer.get());
        for (qint64 read = 0; (read = file.read(block.data(), BlockBytes)) > 0;) {
            if (archive_write_data(writer.get(), block.constData(), size_t(read)) != read)
                refuse(zipPath, writer.get());
        }
    }
    if (archive_write_close(writer.get()) != ARCHIVE_OK)
        refuse(zipPath, writer.get());
}

} // namespace bryx::host
