#include "ArchiveFolder.h"

#include "error/Error.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <archive.h>
#include <archive_entry.h>

namespace bryx::host {

namespace {

constexpr size_t ReadBlockBytes = 1 << 16;

// libarchive's account of what went wrong, or a plain one when it gives none (a truncated
// archive often does not).
QString archiveError(archive* reader)
{
    const char* said = archive_error_string(reader);
    return said && *said ? QString::fromUtf8(said)
                         : QStringLiteral("its data is cut short or damaged (the archive may be incomplete)");
}

using ArchiveHandle = std::unique_ptr<archive, int (*)(archive*)>;

ArchiveHandle openArchive(const QString& path)
{
    ArchiveHandle reader(archive_read_new(), archive_read_free);
    archive_read_support_format_zip(reader.get());
    archive_read_support_format_tar(reader.get());
    archive_read_support_filter_all(reader.get());
    if (archive_read_open_filename(reader.get(), QFile::encodeName(path).constData(), ReadBlockBytes)
        != ARCHIVE_OK)
        throw Error(
            ErrorNumber::InvalidArgument,
            QStringLiteral("%1 cannot be read as an archive: %2").arg(path, archiveError(reader.get())));
    return reader;
}

// One archive member, streamed from the archive as it is read.
class ArchiveMember : public QIODevice {
public:
    ArchiveMember(ArchiveHandle reader, QString description)
        : m_reader(std::move(reader))
        , m_description(std::move(description))
    {
    }
    bool isSequential() const override { return true; }

protected:
    // A damaged member is reported through the device's error string: an exception must not
    // pass through Qt's reading code.
    qint64 readData(char* data, qint64 maxSize) override
    {
        const la_ssize_t read = archive_read_data(m_reader.get(), data, size_t(maxSize));
        if (read < 0) {
            setErrorString(
                QStringLiteral("%1 is damaged: %2").arg(m_description, archiveError(m_reader.get())));
            return -1;
        }
        return read;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    ArchiveHandle m_reader;
    QString m_description;
};

} // namespace

ArchiveFolder::ArchiveFolder(QString path)
    : m_path(std::move(path))
{
    const QFileInfo info(m_path);
    if (!info.exists())
        throw Error(ErrorNumber::FileNotFound, QStringLiteral("%1 does not exist").arg(m_path));
    m_folder = info.isDir();
    static const QStringList spreadsheets = {"csv", "tsv", "tab", "txt"};
    if (!m_folder && spreadsheets.contains(info.suffix().toLower())) {
        m_single = true;
        m_names << info.fileName();
        m_sizes.insert(info.fileName(), info.size());
        return;
    }
    if (m_folder) {
        const QDir root(info.canonicalFilePath());
        QDirIterator files(root.path(), QDir::Files, QDirIterator::Subdirectories);
        while (files.hasNext()) {
            const QString file = files.next();
            // A link that leads out of the folder is not part of the package: reading it would
            // import whatever it points at.
            const QString real = QFileInfo(file).canonicalFilePath();
            if (real.isEmpty() || !real.startsWith(root.path() + QLatin1Char('/')))
                continue;
            m_names << root.relativeFilePath(file);
            m_sizes.insert(m_names.back(), QFileInfo(file).size());
        }
        return;
    }
    ArchiveHandle reader = openArchive(m_path);
    archive_entry* entry = nullptr;
    int status = ARCHIVE_OK;
    while ((status = archive_read_next_header(reader.get(), &entry)) == ARCHIVE_OK) {
        if (archive_entry_filetype(entry) == AE_IFREG) {
            m_names << QString::fromUtf8(archive_entry_pathname(entry));
            if (archive_entry_size_is_set(entry))
                m_sizes.insert(m_names.back(), archive_entry_size(entry));
        }
        archive_read_data_skip(reader.get());
    }
    if (status != ARCHIVE_EOF)
        throw Error(ErrorNumber::InvalidArgument,
                    QStringLiteral("%1 is damaged: %2").arg(m_path, archiveError(reader.get())));
}

QString ArchiveFolder::find(const QString& name) const
{
    for (const QString& member : m_names) {
        if (member.compare(name, Qt::CaseInsensitive) == 0)
            return member;
    }
    for (const QString& member : m_names) {
        if (member.endsWith(QLatin1Char('/') + name, Qt::CaseInsensitive))
            return member;
    }
    return {};
}

qint64 ArchiveFolder::size(const QString& name) const
{
    return m_sizes.value(find(name));
}

std::unique_ptr<QIODevice> ArchiveFolder::open(const QString& name) const
{
    const QString member = find(name);
    if (member.isEmpty())
        throw Error(ErrorNumber::FileNotFound, QStringLiteral("%1 holds no file %2").arg(m_path, name));
    if (m_folder || m_single) {
        auto file = std::make_unique<QFile>(m_single ? m_path : QDir(m_path).filePath(member));
        if (!file->open(QIODevice::ReadOnly))
            throw Error(ErrorNumber::PathFileAccess,
                        QStringLiteral("%1 cannot be read: %2").arg(file->fileName(), file->errorString()));
        return file;
    }
    ArchiveHandle reader = openArchive(m_path);
    archive_entry* entry = nullptr;
    while (archive_read_next_header(reader.get(), &entry) == ARCHIVE_OK) {
        if (QString::fromUtf8(archive_entry_pathname(entry)) == member) {
            auto device =
                std::make_unique<ArchiveMember>(std::move(reader), m_path + QLatin1Char(':') + member);
            device->open(QIODevice::ReadOnly);
            return device;
        }
        archive_read_data_skip(reader.get());
    }
    throw Error(ErrorNumber::InvalidArgument,
                QStringLiteral("%1 is damaged: %2 cannot be found again").arg(m_path, member));
}

QByteArray ArchiveFolder::readAll(const QString& name, qint64 limit) const
{
    const std::unique_ptr<QIODevice> device = open(name);
    const QString noError = device->errorString();
    QByteArray bytes;
    while (bytes.size() <= limit) {
        const QByteArray piece = device->read(std::min<qint64>(ReadBlockBytes, limit + 1 - bytes.size()));
        if (piece.isEmpty())
            break;
        bytes += piece;
    }
    if (device->errorString() != noError)
        throw Error(ErrorNumber::InvalidArgument, device->errorString());
    return bytes;
}

} // namespace bryx::host
