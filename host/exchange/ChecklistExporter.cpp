#include "ChecklistExporter.h"

#include "ArchivePacker.h"
#include "ChecklistWriter.h"
#include "ExportTarget.h"
#include "StoredNames.h"
#include "db/Database.h"

#include <QFileInfo>

namespace bryx::host {

namespace {

constexpr int ReportEvery = 4096;
constexpr int NamesDone = 950;

} // namespace

ChecklistExporter::ChecklistExporter(Database& db)
    : m_db(db)
{
}

std::optional<ChecklistFormat> ChecklistExporter::formatNamed(const QString& word)
{
    if (word.compare(QLatin1String("dwca"), Qt::CaseInsensitive) == 0)
        return ChecklistFormat::DarwinCoreArchive;
    if (word.compare(QLatin1String("coldp"), Qt::CaseInsensitive) == 0)
        return ChecklistFormat::ColDP;
    return std::nullopt;
}

ExportSummary ChecklistExporter::exportTo(const QString& path, ChecklistFormat format,
                                          const Progress& progress)
{
    ExportSummary summary;
    ExportTarget target(path);
    const QStringList files = writeFiles(target.filesFolder(), format, summary, progress);
    if (!path.endsWith(QLatin1String(".zip"), Qt::CaseInsensitive)) {
        target.commitFolder();
        return summary;
    }
    const QString packed = target.stagedFile(QStringLiteral("package.zip"));
    // The last moment a cancel is taken: once the archive is in place, the export is done.
    if (progress)
        progress(NamesDone, QStringLiteral("Packing %1").arg(QFileInfo(path).fileName()));
    packZip(target.filesFolder(), files, packed);
    target.commitFile(packed);
    return summary;
}

QStringList ChecklistExporter::writeFiles(const QString& folder, ChecklistFormat format,
                                          ExportSummary& summary, const Progress& progress)
{
    StoredNames names(m_db);
    const auto writer = ChecklistWriter::create(format, folder);
    const QString stage = QStringLiteral("Writing %1").arg(writer->namesFile());
    while (names.next()) {
        writer->writeName(names);
        summary.links += qint64(names.links().size());
        if (++summary.names % ReportEvery == 0 && progress)
            progress(int(summary.names * NamesDone / std::max<qint64>(names.total(), 1)), stage);
    }
    writer->finish(m_db, summary);
    return writer->files();
}

} // namespace bryx::host
