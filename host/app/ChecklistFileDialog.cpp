#include "ChecklistFileDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace bryx::host {

namespace {

constexpr int MinimumWidth = 520;

} // namespace

ChecklistFileDialog::ChecklistFileDialog(Mode mode, QWidget* parent)
    : QDialog(parent)
    , m_mode(mode)
    , m_path(new QLineEdit(this))
    , m_buttons(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this))
{
    const bool importing = mode == Mode::Import;
    setObjectName(importing ? QStringLiteral("dlgImportChecklist") : QStringLiteral("dlgExportChecklist"));
    setWindowTitle(importing ? tr("Import Checklist") : tr("Export Checklist"));
    setMinimumWidth(MinimumWidth);
    auto* layout = new QVBoxLayout(this);
    auto* explanation = new QLabel(
        importing
            ? tr("A Darwin Core Archive or a ColDP package, as a zip file or an unpacked folder (choose its "
                 "meta.xml or NameUsage.tsv), or a single spreadsheet (CSV or TSV) whose first row names "
                 "Darwin Core terms. You see what it holds before anything is imported; then the whole "
                 "checklist is imported, or nothing.")
            : tr("The stored names with their established names and references. A file name ending in .zip "
                 "gives a zip archive; any other name a folder."),
        this);
    explanation->setWordWrap(true);
    layout->addWidget(explanation);

    auto* fileRow = new QHBoxLayout;
    m_path->setObjectName(QStringLiteral("txtPath"));
    auto* browse = new QPushButton(tr("&Browse..."), this);
    browse->setObjectName(QStringLiteral("cmdBrowse"));
    fileRow->addWidget(m_path, 1);
    fileRow->addWidget(browse);
    auto* form = new QFormLayout;
    auto* label = new QLabel(importing ? tr("&Checklist:") : tr("&Save as:"), this);
    label->setBuddy(m_path);
    form->addRow(label, fileRow);
    layout->addLayout(form);

    if (importing) {
        m_update =
            new QCheckBox(tr("&Update names already stored (same name and author) from the checklist"), this);
        m_update->setObjectName(QStringLiteral("chkUpdate"));
        m_skipBadRows =
            new QCheckBox(tr("&Skip rows that cannot be imported, and list them afterwards"), this);
        m_skipBadRows->setObjectName(QStringLiteral("chkSkipBadRows"));
        layout->addWidget(m_update);
        layout->addWidget(m_skipBadRows);
    } else {
        m_dwca = new QRadioButton(tr("&Darwin Core Archive (meta.xml, taxon and reference files)"), this);
        m_dwca->setObjectName(QStringLiteral("optDwca"));
        m_coldp = new QRadioButton(tr("C&olDP package (NameUsage.tsv, Reference.tsv, metadata.yaml)"), this);
        m_coldp->setObjectName(QStringLiteral("optColdp"));
        m_dwca->setChecked(true);
        layout->addWidget(m_dwca);
        layout->addWidget(m_coldp);
    }
    layout->addStretch();
    layout->addWidget(m_buttons);
    connect(browse, &QPushButton::clicked, this, &ChecklistFileDialog::browse);
    connect(m_path, &QLineEdit::textChanged, this, &ChecklistFileDialog::updateOk);
    connect(m_buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    updateOk();
}

QString ChecklistFileDialog::path() const
{
    const QString typed = m_path->text().trimmed();
    // A file chosen inside an unpacked package stands for its folder; a spreadsheet on its own
    // is the checklist itself.
    const QFileInfo info(typed);
    if (m_mode != Mode::Import || !info.isFile())
        return typed;
    bool package = false;
    for (const QString& name : info.absoluteDir().entryList(QDir::Files)) {
        const QString base = name.section(QLatin1Char('.'), 0, 0);
        package = package || name.compare(QLatin1String("meta.xml"), Qt::CaseInsensitive) == 0
            || base.compare(QLatin1String("NameUsage"), Qt::CaseInsensitive) == 0
            || base.compare(QLatin1String("Name"), Qt::CaseInsensitive) == 0;
    }
    return package ? info.absolutePath() : typed;
}

void ChecklistFileDialog::setPath(const QString& path)
{
    m_path->setText(path);
}

ImportOptions ChecklistFileDialog::importOptions() const
{
    ImportOptions options;
    options.update = m_update && m_update->isChecked();
    options.skipBadRows = m_skipBadRows && m_skipBadRows->isChecked();
    return options;
}

void ChecklistFileDialog::setImportOptions(bool update, bool skipBadRows)
{
    if (m_update) {
        m_update->setChecked(update);
        m_skipBadRows->setChecked(skipBadRows);
    }
}

ChecklistFormat ChecklistFileDialog::format() const
{
    return m_coldp && m_coldp->isChecked() ? ChecklistFormat::ColDP : ChecklistFormat::DarwinCoreArchive;
}

void ChecklistFileDialog::setFormat(ChecklistFormat format)
{
    if (m_coldp)
        (format == ChecklistFormat::ColDP ? m_coldp : m_dwca)->setChecked(true);
}

void ChecklistFileDialog::browse()
{
    const QString filter =
        tr("Checklists (*.zip meta.xml NameUsage.tsv Name.tsv *.csv *.tsv *.txt);;All files (*)");
    const QString chosen = m_mode == Mode::Import
        ? QFileDialog::getOpenFileName(this, windowTitle(), m_path->text(), filter)
        : QFileDialog::getSaveFileName(this, windowTitle(), m_path->text(), tr("Zip archives (*.zip)"));
    if (!chosen.isEmpty())
        m_path->setText(chosen);
}

void ChecklistFileDialog::updateOk()
{
    m_buttons->button(QDialogButtonBox::Ok)->setEnabled(!m_path->text().trimmed().isEmpty());
}

} // namespace bryx::host
