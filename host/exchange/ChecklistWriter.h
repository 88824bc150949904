#pragma once

#include <QStringList>
#include <memory>

namespace bryx::host {

class Database;
class StoredNames;
struct ExportSummary;
enum class ChecklistFormat;

// Writes one checklist format into a folder: the names file as the names go by, then what
// follows them (the references, the package's description). The exporter drives it.
class ChecklistWriter {
public:
    virtual ~ChecklistWriter() = default;

    static std::unique_ptr<ChecklistWriter> create(ChecklistFormat format, const QString& folder);

    // The package's files, in the order they are packed; the names file among them.
    virtual QStringList files() const = 0;
    virtual QString namesFile() const = 0;
    // The current name of `names` with its links.
    virtual void writeName(const StoredNames& names) = 0;
    // Closes the files and writes the rest; counts the references the package holds.
    virtual void finish(Database& db, ExportSummary& summary) = 0;

protected:
    // A small file written whole; an error names it.
    static void writeText(const QString& path, const QByteArray& text);
};

} // namespace bryx::host
