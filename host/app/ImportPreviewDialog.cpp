#include "ImportPreviewDialog.h"

#include "exchange/NameTypeRules.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace bryx::host {

namespace {

constexpr int MinimumWidth = 760;
constexpr int MinimumHeight = 520;
constexpr size_t ListedReasons = 5;

// The types the combo offers after its first entry ("Skip them"), by their codes.
const QChar Types[] = {QChar(u'P'), QChar(u'A'), QChar(u'C')};

QString counted(qint64 count)
{
    return QLocale().toString(count);
}

// "1 row", "2 rows".
QString counted(qint64 count, const char* one, const char* many)
{
    return QStringLiteral("%1 %2").arg(counted(count), QLatin1String(count == 1 ? one : many));
}

} // namespace

ImportPreviewDialog::ImportPreviewDialog(const QString& path, const ImportPreview& preview,
                                         const ImportOptions& options, QWidget* parent)
    : QDialog(parent)
    , m_options(options)
    , m_skipBadRows(new QCheckBox(tr("&Skip rows that cannot be imported, and list them afterwards"), this))
{
    setObjectName(QStringLiteral("dlgImportPreview"));
    setWindowTitle(tr("Import Checklist"));
    setMinimumSize(MinimumWidth, MinimumHeight);
    const ImportSummary& found = preview.summary;
    auto* layout = new QVBoxLayout(this);

    auto* counts = new QLabel(this);
    counts->setObjectName(QStringLiteral("lblCounts"));
    counts->setWordWrap(true);
    QString text = tr("%1 (%2): %3 read; %4 to import")
                       .arg(QDir::toNativeSeparators(QFileInfo(path).fileName()), found.format,
                            counted(found.namesRead, "name", "names"), counted(preview.importable));
    if (found.alreadyPresent > 0)
        text += tr(", %1 already in the database (left as they are)").arg(counted(found.alreadyPresent));
    if (preview.skippedForOtherReasons() > 0)
        text += tr(", %1 to skip").arg(counted(preview.skippedForOtherReasons(), "row", "rows"));
    if (found.untypedNames > 0)
        text += tr(", %1 of undecided name type").arg(counted(found.untypedNames));
    counts->setText(text + QLatin1Char('.'));
    layout->addWidget(counts);

    auto* table = new QTableWidget(int(preview.rows.size()), 6, this);
    table->setObjectName(QStringLiteral("tblPreview"));
    table->setHorizontalHeaderLabels(
        {tr("Name"), tr("Author"), tr("Type"), tr("Category"), tr("Level"), tr("Established name")});
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->verticalHeader()->setVisible(false);
    for (int row = 0; row < int(preview.rows.size()); ++row) {
        const PreviewRow& name = preview.rows[size_t(row)];
        const QString cells[] = {name.name,     name.author, name.type,
                                 name.category, name.level,  name.establishedName};
        for (int column = 0; column < 6; ++column)
            table->setItem(row, column, new QTableWidgetItem(cells[column]));
    }
    table->resizeColumnsToContents();
    table->horizontalHeader()->setStretchLastSection(true);
    auto* shown = new QLabel(tr("The first %1 names as they will be stored:").arg(preview.rows.size()), this);
    layout->addWidget(shown);
    layout->addWidget(table, 1);

    QStringList reasons;
    for (const SkippedRow& row : found.skipped) {
        if (reasons.size() == int(ListedReasons))
            break;
        if (found.untypedNames > 0 && row.reason == NameTypeRules::UndecidedReason)
            continue;
        reasons << tr("%1: %2").arg(row.origin.text(), row.reason);
    }
    if (!reasons.isEmpty()) {
        auto* skipped =
            new QLabel(tr("Rows that cannot be imported, first of them:\n") + reasons.join('\n'), this);
        skipped->setObjectName(QStringLiteral("lblSkipped"));
        skipped->setWordWrap(true);
        skipped->setTextInteractionFlags(Qt::TextSelectableByMouse);
        layout->addWidget(skipped);
    }

    if (found.untypedNames > 0) {
        m_nameType = new QComboBox(this);
        m_nameType->setObjectName(QStringLiteral("cboNameType"));
        m_nameType->addItem(tr("Skip them"));
        m_nameType->addItem(tr("Botanical"));
        m_nameType->addItem(tr("Zoological"));
        m_nameType->addItem(tr("Ecological community"));
        auto* choice = new QHBoxLayout;
        const QString many = tr("%1 names say nothing").arg(counted(found.untypedNames));
        auto* label =
            new QLabel(tr("%1 of their type (no code, kingdom, known higher taxon or typed parent). "
                          "&Import them as:")
                           .arg(found.untypedNames == 1 ? tr("1 name says nothing") : many),
                       this);
        label->setWordWrap(true);
        label->setBuddy(m_nameType);
        choice->addWidget(label, 1);
        choice->addWidget(m_nameType);
        layout->addLayout(choice);
        // Skipping the untyped names needs bad rows skipped, or the first of them stops the import.
        connect(m_nameType, &QComboBox::currentIndexChanged, this, [this](int index) {
            if (index == 0)
                m_skipBadRows->setChecked(true);
        });
    }
    m_skipBadRows->setObjectName(QStringLiteral("chkSkipBadRows"));
    m_skipBadRows->setChecked(options.skipBadRows || (found.untypedNames > 0 && !options.nameType));
    layout->addWidget(m_skipBadRows);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
    QPushButton* import = buttons->addButton(tr("&Import"), QDialogButtonBox::AcceptRole);
    import->setObjectName(QStringLiteral("cmdImport"));
    import->setDefault(true);
    import->setEnabled(preview.importable > 0 || found.untypedNames > 0);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

ImportOptions ImportPreviewDialog::importOptions() const
{
    ImportOptions options = m_options;
    options.skipBadRows = m_skipBadRows->isChecked();
    if (m_nameType && m_nameType->currentIndex() > 0)
        options.nameType = Types[m_nameType->currentIndex() - 1];
    return options;
}

} // namespace bryx::host
