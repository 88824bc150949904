#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>
#include <memory>

class QIODevice;

namespace bryx::host {

// The files of a checklist package, whether it is a zip archive, a folder it was unpacked
// into, or a single spreadsheet (a .csv, .tsv, .tab or .txt file, its one member). Archive members are
// streamed from the archive as they are read, never unpacked whole into memory or onto the disk.
class ArchiveFolder {
public:
    // Throws, naming the path, when it is neither a folder nor an archive that can be read.
    explicit ArchiveFolder(QString path);

    const QString& path() const { return m_path; }
    bool isFolder() const { return m_folder; }
    // The member names ("meta.xml", "taxon.txt", "data/Reference.tsv").
    QStringList names() const { return m_names; }
    // The member with that name, or with that name in any sub-folder; an empty string when none.
    QString find(const QString& name) const;
    // The member's size in bytes as the package records it (0 when unknown).
    qint64 size(const QString& name) const;
    // A member opened for sequential reading; throws, naming the package and member, when it
    // is missing or damaged.
    std::unique_ptr<QIODevice> open(const QString& name) const;
    // A small member (a description) read whole, or its first `limit` + 1 bytes when it is
    // larger, so that the caller can refuse it without holding it all. A read error is thrown.
    QByteArray readAll(const QString& name, qint64 limit) const;

private:
    QString m_path;
    bool m_folder = false;
    bool m_single = false;
    QStringList m_names;
    QHash<QString, qint64> m_sizes;
};

} // namespace bryx::host
