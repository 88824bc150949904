#pragma once

#include <QDialog>

namespace bryx::host {

// What an import did, as the user reads it, with a button that saves every skipped row and
// its reason as a tab-separated file (the import wrote them to `skippedRows`).
class ImportSummaryDialog : public QDialog {
    Q_OBJECT
public:
    ImportSummaryDialog(const QString& text, qint64 skippedRows, QString skippedRowsFile,
                        QWidget* parent = nullptr);

private:
    void saveSkippedRows();

    QString m_skippedRowsFile;
};

} // namespace bryx::host
