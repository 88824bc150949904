#include "ExportTarget.h"

#include "error/Error.h"

#include <QDir>
#include <QFileInfo>
#include <filesystem>
#include <system_error>

namespace bryx::host {

namespace {

constexpr const char* StagingPrefix = ".bryx-export-";
constexpr const char* LockName = "export.lock";
constexpr const char* FilesName = "package";

// The files a checklist package may hold: a folder of only these may be replaced.
bool isPackageFile(const QString& name)
{
    static const QStringList known = {"meta.xml",      "eml.xml",       "taxon.txt",     "reference.txt",
                                      "metadata.yaml", "NameUsage.tsv", "Reference.tsv", "default.yaml"};
    return known.contains(name, Qt::CaseInsensitive);
}

[[noreturn]] void refuse(const QString& path, const QString& why)
{
    throw Error(ErrorNumber::PathFileAccess, QStringLiteral("%1 cannot be written: %2").arg(path, why));
}

void renameOver(const QString& from, const QString& to)
{
    std::error_code error;
    std::filesystem::rename(QFile::encodeName(from).toStdString(), QFile::encodeName(to).toStdString(),
                            error);
    if (error)
        refuse(to, QString::fromStdString(error.message()));
}

} // namespace

ExportTarget::ExportTarget(QString path)
    : m_path(QFileInfo(path).absoluteFilePath())
{
    const QFileInfo target(m_path);
    if (target.isDir()) {
        const QStringList held =
            QDir(m_path).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
        for (const QString& name : held) {
            if (!isPackageFile(name))
                refuse(m_path,
                       QStringLiteral("the folder holds %1, which is not part of a checklist package; "
                                      "choose an empty or a new folder")
                           .arg(name));
        }
    }
    // A folder package may be made with its parents, as a folder is; an archive goes into a
    // folder that is there.
    const QString parent = target.absolutePath();
    const bool archive = m_path.endsWith(QLatin1String(".zip"), Qt::CaseInsensitive);
    if (archive ? !QFileInfo(parent).isDir() : !QDir().mkpath(parent))
        refuse(m_path,
               QStringLiteral("the folder %1 %2").arg(parent, archive ? "does not exist" : "cannot be made"));
    removeAbandonedStagings(parent);
    m_staging =
        std::make_unique<QTemporaryDir>(QDir(parent).filePath(QLatin1String(StagingPrefix) + "XXXXXX"));
    if (!m_staging->isValid())
        refuse(m_path, m_staging->errorString());
    m_lock = std::make_unique<QLockFile>(m_staging->filePath(QLatin1String(LockName)));
    m_lock->setStaleLockTime(0);
    if (!m_lock->tryLock())
        refuse(m_path, QStringLiteral("its staging folder cannot be locked"));
    if (!QDir(m_staging->path()).mkdir(QLatin1String(FilesName)))
        refuse(m_path, QStringLiteral("its staging folder cannot be written"));
}

ExportTarget::~ExportTarget()
{
    // The lock goes before the folder that holds it.
    m_lock.reset();
    m_staging.reset();
}

QString ExportTarget::filesFolder() const
{
    return m_staging->filePath(QLatin1String(FilesName));
}

QString ExportTarget::stagedFile(const QString& name) const
{
    return m_staging->filePath(name);
}

void ExportTarget::commitFolder()
{
    const QString previous = m_staging->filePath(QStringLiteral("previous"));
    const bool replacing = QFileInfo(m_path).exists();
    if (replacing)
        renameOver(m_path, previous);
    renameOver(filesFolder(), m_path);
}

void ExportTarget::commitFile(const QString& staged)
{
    if (QFileInfo(m_path).isDir())
        refuse(m_path, QStringLiteral("it is a folder"));
    // One rename replaces the old archive: there is no moment without a whole one.
    renameOver(staged, m_path);
}

void ExportTarget::removeAbandonedStagings(const QString& folder)
{
    const QStringList stagings = QDir(folder).entryList({QLatin1String(StagingPrefix) + QLatin1Char('*')},
                                                        QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot);
    for (const QString& name : stagings) {
        const QString staging = QDir(folder).filePath(name);
        QLockFile lock(QDir(staging).filePath(QLatin1String(LockName)));
        lock.setStaleLockTime(0);
        // A live export holds its lock; a killed one's lock names a process that is gone, which
        // tryLock takes over.
        if (lock.tryLock()) {
            lock.unlock();
            QDir(staging).removeRecursively();
        }
    }
}

} // namespace bryx::host
