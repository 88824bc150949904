#pragma once

#include <QString>
#include <functional>
#include <optional>

namespace bryx::host {

class Database;

enum class ChecklistFormat { DarwinCoreArchive, ColDP };

// What an export wrote.
struct ExportSummary {
    qint64 names = 0;
    qint64 references = 0;
    qint64 links = 0;
};

// Writes the stored names, their established-name links and their publications as a Darwin
// Core Archive (a Taxon core with the References extension) or a ColDP package (NameUsage.tsv,
// Reference.tsv, metadata.yaml), so that importing it into an empty database gives the same
// names back. A path ending in ".zip" gets a zip archive, any other path a folder of the files;
// either is written whole or not at all, and an earlier package there stays until the new one
// is complete.
class ChecklistExporter {
public:
    using Progress = std::function<void(int permille, const QString& stage)>;

    explicit ChecklistExporter(Database& db);
    ExportSummary exportTo(const QString& path, ChecklistFormat format, const Progress& progress = {});
    // The format a word of the command line names ("dwca", "coldp").
    static std::optional<ChecklistFormat> formatNamed(const QString& word);

private:
    QStringList writeFiles(const QString& folder, ChecklistFormat format, ExportSummary& summary,
                           const Progress& progress);

    Database& m_db;
};

} // namespace bryx::host
