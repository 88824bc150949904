#include "ChecklistTransfer.h"

#include "ChecklistFileDialog.h"
#include "ExchangeProgressDialog.h"
#include "ImportPreviewDialog.h"
#include "ImportSummaryDialog.h"
#include "error/Error.h"
#include "exchange/SkippedRowReport.h"
#include "services/MessageBox.h"
#include "services/Screen.h"
#include "services/SqlAppManager.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QWidget>

namespace bryx::host {

namespace {

// How many skipped rows the closing message lists; the rest are counted.
constexpr size_t ListedReasons = 12;

const QString ImportTitle = QStringLiteral("Import Checklist");
const QString ExportTitle = QStringLiteral("Export Checklist");

} // namespace

ChecklistTransfer::ChecklistTransfer(QWidget& window, std::shared_ptr<SqlAppManager> appManager)
    : m_window(window)
    , m_appManager(std::move(appManager))
{
}

void ChecklistTransfer::importChecklist()
{
    ChecklistFileDialog dialog(ChecklistFileDialog::Mode::Import, &m_window);
    DesktopServices::current().showModal(dialog);
    if (dialog.result() == QDialog::Accepted)
        importChecklist(dialog.path(), dialog.importOptions());
}

void ChecklistTransfer::importChecklist(const QString& path, const ImportOptions& options)
{
    const std::optional<ImportPreview> preview = previewOf(path, options);
    if (!preview)
        return;
    ImportPreviewDialog looked(path, *preview, options, &m_window);
    DesktopServices::current().showModal(looked);
    if (looked.result() == QDialog::Accepted)
        importFrom(path, looked.importOptions());
}

std::optional<ImportPreview> ChecklistTransfer::previewOf(const QString& path, const ImportOptions& options)
{
    try {
        ExchangeProgressDialog progress(ImportTitle, &m_window);
        ImportOptions reading = options;
        reading.progress = [&](int permille, const QString& stage) { progress.report(permille, stage); };
        return ChecklistImporter(m_appManager->writable(), m_appManager->user()).preview(path, reading);
    } catch (const ExchangeCancelled&) {
        return std::nullopt;
    } catch (const Error& error) {
        MsgBox(QStringLiteral("The checklist cannot be imported.\n\n%1").arg(error.Description()),
               MsgBoxStyle::Critical, ImportTitle);
        return std::nullopt;
    }
}

void ChecklistTransfer::exportChecklist()
{
    ChecklistFileDialog dialog(ChecklistFileDialog::Mode::Export, &m_window);
    dialog.setPath(QDir::home().filePath(QStringLiteral("scientific-names.zip")));
    DesktopServices::current().showModal(dialog);
    if (dialog.result() != QDialog::Accepted)
        return;
    // A typed name may be one that is there already; the Browse dialog asked, this has not.
    const QFileInfo target(dialog.path());
    const QString shown = QDir::toNativeSeparators(dialog.path());
    QString question;
    if (target.isDir() && !QDir(dialog.path()).isEmpty())
        question = QStringLiteral("The folder %1 is not empty; the checklist package in it will be replaced. "
                                  "Export into it?")
                       .arg(shown);
    else if (target.exists() && !target.isDir())
        question = QStringLiteral("%1 exists already. Replace it?").arg(shown);
    if (!question.isEmpty()
        && MsgBox(question, MsgBoxStyle::YesNo | MsgBoxStyle::Question, ExportTitle) != MsgBoxResult::Yes)
        return;
    exportTo(dialog.path(), dialog.format());
}

std::optional<ImportSummary> ChecklistTransfer::importFrom(const QString& path, ImportOptions options)
{
    std::optional<ImportSummary> summary;
    // Every skipped row goes to a file, for the summary's Save Skipped Rows...
    QTemporaryDir scratch;
    const QString skippedRows =
        scratch.isValid() ? scratch.filePath(QStringLiteral("skipped.tsv")) : QString();
    try {
        ExchangeProgressDialog progress(ImportTitle, &m_window);
        options.progress = [&](int permille, const QString& stage) { progress.report(permille, stage); };
        std::optional<SkippedRowReport> report;
        if (!skippedRows.isEmpty()) {
            report.emplace(skippedRows);
            options.onSkipped = [&](const SkippedRow& row) { report->add(row); };
        }
        summary = ChecklistImporter(m_appManager->writable(), m_appManager->user()).import(path, options);
        if (report)
            report->commit();
    } catch (const ExchangeCancelled&) {
        MsgBox(QStringLiteral("The import was cancelled; nothing was changed."), MsgBoxStyle::Information,
               ImportTitle);
        return std::nullopt;
    } catch (const Error& error) {
        MsgBox(QStringLiteral("The checklist could not be imported; nothing was changed.\n\n%1")
                   .arg(error.Description()),
               MsgBoxStyle::Critical, ImportTitle);
        return std::nullopt;
    }
    ImportSummaryDialog told(
        QStringLiteral("%1 (%2) is imported.\n\n%3")
            .arg(QDir::toNativeSeparators(path), summary->format, summary->describe(ListedReasons)),
        summary->skippedRows, skippedRows, &m_window);
    DesktopServices::current().showModal(told);
    return summary;
}

std::optional<ExportSummary> ChecklistTransfer::exportTo(const QString& path, ChecklistFormat format)
{
    std::optional<ExportSummary> summary;
    try {
        ExchangeProgressDialog progress(ExportTitle, &m_window);
        summary = ChecklistExporter(m_appManager->readOnly())
                      .exportTo(path, format, [&](int permille, const QString& stage) {
                          progress.report(permille, stage);
                      });
    } catch (const ExchangeCancelled&) {
        MsgBox(QStringLiteral("The export was cancelled."), MsgBoxStyle::Information, ExportTitle);
        return std::nullopt;
    } catch (const Error& error) {
        MsgBox(QStringLiteral("The names could not be exported.\n\n%1").arg(error.Description()),
               MsgBoxStyle::Critical, ExportTitle);
        return std::nullopt;
    }
    MsgBox(QStringLiteral("%1 names, %2 references and %3 reference links are exported to %4.")
               .arg(summary->names)
               .arg(summary->references)
               .arg(summary->links)
               .arg(QDir::toNativeSeparators(path)),
           MsgBoxStyle::Information, ExportTitle);
    return summary;
}

} // namespace bryx::host
