#pragma once

#include "exchange/ChecklistExporter.h"
#include "exchange/ChecklistImporter.h"

#include <QDialog>

class QCheckBox;
class QDialogButtonBox;
class QLineEdit;
class QRadioButton;

namespace bryx::host {

// Asks which checklist to import and how, or where to export the names and in which format:
// a file box with Browse..., and the import's choices or the export's format.
class ChecklistFileDialog : public QDialog {
    Q_OBJECT
public:
    enum class Mode { Import, Export };

    ChecklistFileDialog(Mode mode, QWidget* parent = nullptr);

    QString path() const;
    void setPath(const QString& path);
    // Import: whether to update stored names and to skip bad rows.
    ImportOptions importOptions() const;
    void setImportOptions(bool update, bool skipBadRows);
    // Export: the format chosen.
    ChecklistFormat format() const;
    void setFormat(ChecklistFormat format);

private:
    void browse();
    void updateOk();

    Mode m_mode;
    QLineEdit* m_path;
    QCheckBox* m_update = nullptr;
    QCheckBox* m_skipBadRows = nullptr;
    QRadioButton* m_dwca = nullptr;
    QRadioButton* m_coldp = nullptr;
    QDialogButtonBox* m_buttons;
};

} // namespace bryx::host
