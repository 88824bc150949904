#pragma once

#include "exchange/ChecklistExporter.h"
#include "exchange/ChecklistImporter.h"

#include <memory>
#include <optional>

class QWidget;

namespace bryx::host {

class SqlAppManager;

// The main window's checklist import and export: the dialog that asks what and how, the
// progress dialog with its Cancel button, and the message that tells what came of it.
class ChecklistTransfer {
public:
    ChecklistTransfer(QWidget& window, std::shared_ptr<SqlAppManager> appManager);

    // File > Import Checklist... and Export Checklist...
    void importChecklist();
    // The import of a checklist chosen already (given on the command line, opened from a file
    // manager): its first pass, the preview and then the import.
    void importChecklist(const QString& path, const ImportOptions& options = {});
    void exportChecklist();
    // The first pass over a checklist, for the user to look over; no value when it failed or
    // was cancelled (the user has been told).
    std::optional<ImportPreview> previewOf(const QString& path, const ImportOptions& options);
    // The import itself; no value when it failed or was cancelled (the user has been told, and
    // nothing changed).
    std::optional<ImportSummary> importFrom(const QString& path, ImportOptions options);
    std::optional<ExportSummary> exportTo(const QString& path, ChecklistFormat format);

private:
    QWidget& m_window;
    std::shared_ptr<SqlAppManager> m_appManager;
};

} // namespace bryx::host
