#pragma once

#include <QLockFile>
#include <QString>
#include <QTemporaryDir>
#include <memory>

namespace bryx::host {

// Where an export is written before it takes the place the user chose: a staging folder beside
// that place, so that an export that fails, is cancelled or is killed leaves the target as it
// was, and never anything that looks like a whole package. The staging folder is held by a
// lock file; stagings that an earlier export left behind when it was killed (their lock has no
// live owner) are removed when the next export starts there.
class ExportTarget {
public:
    // Throws, naming the path, when the place cannot be written, or is a folder that holds
    // something other than a checklist package (which replacing it would lose).
    explicit ExportTarget(QString path);
    ~ExportTarget();
    ExportTarget(const ExportTarget&) = delete;
    ExportTarget& operator=(const ExportTarget&) = delete;

    // The folder to write the package's files into.
    QString filesFolder() const;
    // A file in the staging folder, outside the package's files (the packed archive).
    QString stagedFile(const QString& name) const;
    // Puts the staged files folder in the target's place (a folder target), or the staged file
    // (a zip target); the old target goes only once the new one is complete.
    void commitFolder();
    void commitFile(const QString& staged);

private:
    static void removeAbandonedStagings(const QString& folder);

    QString m_path;
    std::unique_ptr<QTemporaryDir> m_staging;
    std::unique_ptr<QLockFile> m_lock;
};

} // namespace bryx::host
