#include "ImportSummaryDialog.h"

#include "services/MessageBox.h"
#include "services/Screen.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSaveFile>
#include <QVBoxLayout>

namespace bryx::host {

namespace {

constexpr int MinimumWidth = 620;
constexpr int MinimumHeight = 380;

} // namespace

ImportSummaryDialog::ImportSummaryDialog(const QString& text, qint64 skippedRows, QString skippedRowsFile,
                                         QWidget* parent)
    : QDialog(parent)
    , m_skippedRowsFile(std::move(skippedRowsFile))
{
    setObjectName(QStringLiteral("dlgImportSummary"));
    setWindowTitle(tr("Import Checklist"));
    setMinimumSize(MinimumWidth, MinimumHeight);
    auto* layout = new QVBoxLayout(this);
    auto* summary = new QPlainTextEdit(text, this);
    summary->setObjectName(QStringLiteral("txtSummary"));
    summary->setReadOnly(true);
    layout->addWidget(summary, 1);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    QPushButton* save = buttons->addButton(tr("&Save Skipped Rows..."), QDialogButtonBox::ActionRole);
    save->setObjectName(QStringLiteral("cmdSaveSkipped"));
    save->setEnabled(skippedRows > 0 && !m_skippedRowsFile.isEmpty());
    layout->addWidget(buttons);
    connect(save, &QPushButton::clicked, this, &ImportSummaryDialog::saveSkippedRows);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
}

void ImportSummaryDialog::saveSkippedRows()
{
    QFileDialog chooser(this, tr("Save Skipped Rows"),
                        QDir::home().filePath(QStringLiteral("skipped-rows.tsv")),
                        tr("Tab-separated files (*.tsv);;All files (*)"));
    chooser.setObjectName(QStringLiteral("dlgSaveSkipped"));
    chooser.setAcceptMode(QFileDialog::AcceptSave);
    chooser.setDefaultSuffix(QStringLiteral("tsv"));
    DesktopServices::current().showModal(chooser);
    if (chooser.result() != QDialog::Accepted || chooser.selectedFiles().isEmpty())
        return;
    const QString target = chooser.selectedFiles().front();
    // Written whole or not at all: a file of that name stays as it was when this fails.
    QFile rows(m_skippedRowsFile);
    QSaveFile saved(target);
    const bool written = rows.open(QIODevice::ReadOnly) && saved.open(QIODevice::WriteOnly)
        && saved.write(rows.readAll()) == rows.size() && saved.commit();
    if (!written)
        MsgBox(tr("The skipped rows could not be saved to %1.").arg(QDir::toNativeSeparators(target)),
               MsgBoxStyle::Critical, windowTitle());
}

} // namespace bryx::host
