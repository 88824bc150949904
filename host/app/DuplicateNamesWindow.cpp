#include "DuplicateNamesWindow.h"

#include "DuplicateGroupsModel.h"
#include "common/BusyPointer.h"
#include "curation/NameMerger.h"
#include "error/Error.h"
#include "services/MessageBox.h"
#include "services/SqlAppManager.h"

#include <QComboBox>
#include <QElapsedTimer>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace bryx::host {

namespace {

const std::pair<const char*, DuplicateMode> Modes[] = {
    {"Same name and author", DuplicateMode::SameNameAndAuthor},
    {"Same name, author written another way", DuplicateMode::EquivalentAuthor},
    {"Same name, any author", DuplicateMode::SameName},
    {"Similar spelling", DuplicateMode::SimilarSpelling},
};
const std::pair<const char*, QChar> Types[] = {{"All types", QChar()},
                                               {"Botanical", QLatin1Char('P')},
                                               {"Zoological", QLatin1Char('A')},
                                               {"Ecological community", QLatin1Char('C')}};

} // namespace

DuplicateNamesWindow::DuplicateNamesWindow(std::shared_ptr<SqlAppManager> appManager, Callbacks callbacks,
                                           QWidget* parent)
    : QWidget(parent)
    , m_appManager(std::move(appManager))
    , m_callbacks(std::move(callbacks))
    , m_model(new DuplicateGroupsModel(this))
    , m_mode(new QComboBox(this))
    , m_type(new QComboBox(this))
    , m_view(new QTableView(this))
    , m_summary(new QLabel(this))
    , m_open(new QPushButton(tr("&Open"), this))
    , m_merge(new QPushButton(tr("&Merge Group into Selected Name..."), this))
{
    setWindowTitle(tr("Find Duplicate Names"));
    setObjectName(QStringLiteral("frmDuplicateNames"));
    for (const auto& [caption, mode] : Modes)
        m_mode->addItem(tr(caption), int(mode));
    for (const auto& [caption, type] : Types)
        m_type->addItem(tr(caption), type.isNull() ? QVariant() : QVariant(QString(type)));
    m_mode->setObjectName(QStringLiteral("cboRule"));
    m_type->setObjectName(QStringLiteral("cboType"));
    auto* findButton = new QPushButton(tr("&Find"), this);
    findButton->setObjectName(QStringLiteral("cmdFind"));
    findButton->setDefault(true);
    m_open->setObjectName(QStringLiteral("cmdOpen"));
    m_merge->setObjectName(QStringLiteral("cmdMerge"));
    m_summary->setObjectName(QStringLiteral("lblSummary"));

    m_view->setObjectName(QStringLiteral("grdGroups"));
    m_view->setModel(m_model);
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_view->setSelectionMode(QAbstractItemView::SingleSelection);
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_view->verticalHeader()->hide();
    // Fixed row heights: the view never measures the rows it does not show.
    m_view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_view->verticalHeader()->setDefaultSectionSize(m_view->fontMetrics().height() + 6);
    m_view->horizontalHeader()->setStretchLastSection(true);
    const std::pair<int, int> widths[] = {
        {DuplicateGroupsModel::Group, 50},   {DuplicateGroupsModel::Id, 70},
        {DuplicateGroupsModel::Name, 220},   {DuplicateGroupsModel::Author, 140},
        {DuplicateGroupsModel::Type, 90},    {DuplicateGroupsModel::Category, 130},
        {DuplicateGroupsModel::Level, 90},   {DuplicateGroupsModel::References, 75},
        {DuplicateGroupsModel::Resting, 90}, {DuplicateGroupsModel::LastChanged, 130}};
    for (const auto& [column, width] : widths)
        m_view->setColumnWidth(column, width);

    auto* criteria = new QHBoxLayout;
    criteria->addWidget(new QLabel(tr("&Rule:"), this));
    qobject_cast<QLabel*>(criteria->itemAt(0)->widget())->setBuddy(m_mode);
    criteria->addWidget(m_mode);
    criteria->addWidget(new QLabel(tr("T&ype:"), this));
    qobject_cast<QLabel*>(criteria->itemAt(2)->widget())->setBuddy(m_type);
    criteria->addWidget(m_type);
    criteria->addWidget(findButton);
    criteria->addStretch();
    auto* actions = new QHBoxLayout;
    actions->addWidget(m_summary, 1);
    actions->addWidget(m_open);
    actions->addWidget(m_merge);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(criteria);
    layout->addWidget(m_view, 1);
    layout->addLayout(actions);
    resize(1150, 520);

    connect(findButton, &QPushButton::clicked, this, &DuplicateNamesWindow::find);
    connect(m_open, &QPushButton::clicked, this, &DuplicateNamesWindow::openSelected);
    connect(m_merge, &QPushButton::clicked, this, &DuplicateNamesWindow::mergeIntoSelected);
    connect(m_view, &QTableView::doubleClicked, this, &DuplicateNamesWindow::openSelected);
    connect(m_view->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &DuplicateNamesWindow::updateButtons);
    m_merge->setToolTip(m_appManager->user().maySave && m_appManager->user().mayDelete
                            ? tr("Keep the selected name and merge the rest of its group into it")
                            : tr("Your role may not merge names"));
    updateButtons();
}

DuplicateNamesWindow::~DuplicateNamesWindow() = default;

int DuplicateNamesWindow::selectedRow() const
{
    const QModelIndexList rows = m_view->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void DuplicateNamesWindow::updateButtons()
{
    const bool chosen = selectedRow() >= 0;
    m_open->setEnabled(chosen);
    m_merge->setEnabled(chosen && m_appManager->user().maySave && m_appManager->user().mayDelete);
}

void DuplicateNamesWindow::find()
{
    try {
        BusyPointer busy;
        QElapsedTimer timer;
        timer.start();
        const auto mode = static_cast<DuplicateMode>(m_mode->currentData().toInt());
        const QVariant type = m_type->currentData();
        m_model->setGroups(
            DuplicateFinder(m_appManager->readOnly())
                .find(mode, type.isNull() ? std::nullopt : std::optional<QChar>(type.toString().at(0))));
        showCounts(tr("found in %1 s").arg(double(timer.elapsed()) / 1000.0, 0, 'f', 1));
    } catch (const Error& error) {
        MsgBox(error.Description(), MsgBoxStyle::OKOnly | MsgBoxStyle::Exclamation, windowTitle());
    }
    updateButtons();
}

void DuplicateNamesWindow::showCounts(const QString& how)
{
    m_summary->setText(m_model->groupCount() == 0 ? tr("No duplicates by this rule.")
                                                  : tr("%1 group(s) of %2 names, %3")
                                                        .arg(m_model->groupCount())
                                                        .arg(m_model->nameCount())
                                                        .arg(how));
}

void DuplicateNamesWindow::openSelected()
{
    const int row = selectedRow();
    if (row >= 0 && m_callbacks.openName)
        m_callbacks.openName(int32_t(m_model->memberAt(row).id));
}

void DuplicateNamesWindow::mergeIntoSelected()
{
    const int row = selectedRow();
    if (row < 0)
        return;
    const int32_t kept = int32_t(m_model->memberAt(row).id);
    std::vector<int32_t> merged;
    for (const DuplicateMember& member : m_model->groupOf(row).members) {
        if (member.id != kept)
            merged.push_back(int32_t(member.id));
    }
    try {
        NameMerger merger(m_appManager->writable(), m_appManager->user());
        const MergePreview preview = merger.preview(kept, merged);
        if (MsgBox(preview.describe() + tr("\n\nMerge them?"), MsgBoxStyle::YesNo | MsgBoxStyle::Question,
                   tr("Merge Names"))
            != MsgBoxResult::Yes)
            return;
        {
            BusyPointer busy;
            merger.merge(preview);
        }
        // The group is no duplicate any more and the others are as they were found: searching
        // a million names again (seconds, for similar spelling) would show the same.
        m_model->removeGroupOf(row);
        // The view would choose the next group's first name; the next merge is chosen anew.
        m_view->clearSelection();
        showCounts(tr("after the merge"));
        updateButtons();
        if (m_callbacks.merged)
            m_callbacks.merged(merged, kept);
        MsgBox(tr("Merged into %1. View > Name History on it can take the merge back.").arg(preview.keptName),
               MsgBoxStyle::OKOnly | MsgBoxStyle::Information, tr("Merge Names"));
    } catch (const Error& error) {
        MsgBox(error.Description(), MsgBoxStyle::OKOnly | MsgBoxStyle::Exclamation, tr("Merge Names"));
        // What stood in the way changed the names: the list is found again.
        find();
    }
}

} // namespace bryx::host
