#pragma once

#include "exchange/ChecklistImporter.h"

#include <QDialog>

class QCheckBox;
class QComboBox;

namespace bryx::host {

// Shows what a first pass over a checklist found before anything is imported: its first names
// as they will be stored, how many will be imported, passed over (with the first reasons) or
// found in the database already, and, when some names' type nothing in the package tells, a
// choice of the type they are to take. Import goes on with the choices made here.
class ImportPreviewDialog : public QDialog {
    Q_OBJECT
public:
    ImportPreviewDialog(const QString& path, const ImportPreview& preview, const ImportOptions& options,
                        QWidget* parent = nullptr);

    // The options the import is to run with: those it was opened with, the name type chosen
    // and whether rows that cannot be imported are to be skipped.
    ImportOptions importOptions() const;

private:
    ImportOptions m_options;
    QComboBox* m_nameType = nullptr;
    QCheckBox* m_skipBadRows;
};

} // namespace bryx::host
