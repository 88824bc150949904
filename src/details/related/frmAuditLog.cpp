#include "frmAuditLog.h"

#include "contracts/AppManager.h"
#include "contracts/ClientComponents.h"
#include "controls/Controls.h"
#include "controls/FlexGrid.h"
#include "error/Error.h"
#include "hosting/ErrorReport.h"
#include "hosting/Twips.h"
#include "recordset/Field.h"
#include "recordset/Recordset.h"
#include "services/MessageBox.h"

#include <QColor>
#include <QResizeEvent>

namespace bryx {

namespace {

const char* const FormatString =
    "ID|Date|User|Table|Actn|Column|Old Value|Comments|Primary Key|Org Unit|Id|Column Id";
// Column widths in twips, from "Date" on.
constexpr int ColumnWidths[] = {2000, 1200, 2500, 500, 3000, 4500, 4500, 1000, 2200, 1000, 1000};
// Logged values are read-only and shown on grey; a comment is typed on white.
const QColor ReadOnlyCellColour(192, 192, 192);
const QColor CommentCellColour(255, 255, 255);
const char* const CommentClientProgId = "BRYX_AuditLogClient.cAuditLog";
const char* const CommentCriterion = "AuditLogColumnId = ";

constexpr int MinimumWidthTwips = 4000;
constexpr int MinimumHeightTwips = 1800;
constexpr int GridMarginTwips = 150;
constexpr int ButtonGapTwips = 225;
constexpr int EdgeTwips = 75;
constexpr int InitialWidthTwips = 12000;
constexpr int InitialHeightTwips = 6000;

} // namespace

frmAuditLog::frmAuditLog(QWidget* parent)
    : Form(parent)
    , m_fgAuditLog(new FlexGrid(this))
    , m_chkWordWrap(new CheckBox(QStringLiteral("&Word Wrap"), this))
    , m_cmdOk(new CommandButton(QStringLiteral("OK"), this))
    , m_cmdCancel(new CommandButton(QStringLiteral("Cancel"), this))
{
    SetCaption(QStringLiteral("Audit Log"));
    m_fgAuditLog->setObjectName(QStringLiteral("fgAuditLog"));
    m_fgAuditLog->SetEditable(true);
    m_fgAuditLog->SetMultiSelect(false);
    m_chkWordWrap->setObjectName(QStringLiteral("chkWordWrap"));
    m_cmdOk->setObjectName(QStringLiteral("cmdOk"));
    m_cmdOk->setDefault(true);
    m_cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    m_cmdCancel->SetCancel(true);
    SetWidthTwips(InitialWidthTwips);
    SetHeightTwips(InitialHeightTwips);

    connect(m_fgAuditLog, &FlexGrid::BeforeEdit, this,
            [this](int row, int col, bool& cancel) { fgAuditLog_BeforeEdit(row, col, cancel); });
    connect(m_fgAuditLog, &FlexGrid::AfterEdit, this, [this](int row, int col) {
        runHandler("fgAuditLog_AfterEdit", [&] { fgAuditLog_AfterEdit(row, col); });
    });
    // As in the references grid: a column resized by the user makes all columns fit again.
    connect(m_fgAuditLog, &FlexGrid::AfterUserResize, this, [this](int, int) {
        runHandler("fgAuditLog_AfterUserResize",
                   [this] { m_fgAuditLog->AutoSize(0, m_fgAuditLog->Cols() - 1); });
    });
    connect(m_chkWordWrap, &QCheckBox::clicked, this,
            [this] { runHandler("chkWordWrap_Click", [this] { chkWordWrap_Click(); }); });
    connect(m_cmdOk, &QPushButton::clicked, this,
            [this] { runHandler("cmdOk_Click", [this] { cmdOk_Click(); }); });
    connect(m_cmdCancel, &QPushButton::clicked, this,
            [this] { runHandler("cmdCancel_Click", [this] { hide(); }); });
}

frmAuditLog::~frmAuditLog() = default;

void frmAuditLog::LoadAuditData(const QString& strTableName, int32_t lId,
                                std::shared_ptr<AppManager> objAppManager, const QString& strColumnName)
{
    m_objAppManager = std::move(objAppManager);
    m_rsAudit = m_objAppManager->Auditing(strTableName, lId, strColumnName);
    m_fgAuditLog->SetDataSource(m_rsAudit);
    formatGrid();
    if (m_rsAudit && m_rsAudit->RecordCount() > 0) {
        m_colComments =
            CreateObject<ComponentCollection>(QStringLiteral("ClientFrameWork.ComponentCollection"));
        m_colComments->Initialize(QLatin1String(CommentClientProgId), m_objAppManager->GetServerName(),
                                  m_objAppManager->GetServerType());
        m_colComments->Load(QStringLiteral("Empty"), QString(), -1, -1, -1);
    }
}

void frmAuditLog::formatGrid()
{
    FlexGrid& grid = *m_fgAuditLog;
    grid.SetFormatString(QLatin1String(FormatString));
    grid.SetColHidden(ColId, true);
    for (int col = ColDate; col <= ColColumnId; ++col)
        grid.SetColWidth(col, ColumnWidths[col - ColDate]);
    grid.SetAutoSizeMode(FlexGrid::AutoSizeMode::ColWidth);
    grid.AutoSize(0, grid.Cols() - 1);

    QString orgUnits;
    QString sql = QStringLiteral("select * from org_unit");
    const auto units = m_objAppManager->CallGetQueryRSXML(sql);
    for (units->MoveFirst(); !units->IsEOF(); units->MoveNext()) {
        orgUnits += QLatin1Char('#') + units->Fields(QStringLiteral("org_unit_id")).Value().toString()
            + QLatin1Char(';') + units->Fields(QStringLiteral("org_unit_name")).Value().toString()
            + QLatin1Char('|');
    }
    grid.SetColComboList(ColOrgUnit, orgUnits);

    if (grid.Rows() > grid.FixedRows()) {
        grid.SetBlockBackColor(grid.FixedRows(), ColDate, grid.Rows() - 1, grid.Cols() - 1,
                               ReadOnlyCellColour);
        for (int row = grid.FixedRows(); row < grid.Rows(); ++row) {
            if (commentable(row))
                grid.SetCellBackColor(row, ColComments, CommentCellColour);
        }
    }
    // The columns fitted above already fit these contents; colouring cells changes no width,
    // so fitting columns 0 to 5 and 8 to 11 once more would measure every text again for
    // nothing.
    fitRowHeights();
}

void frmAuditLog::fitRowHeights()
{
    m_fgAuditLog->SetAutoSizeMode(FlexGrid::AutoSizeMode::RowHeight);
    m_fgAuditLog->AutoSize(0, m_fgAuditLog->Cols() - 1);
}

bool frmAuditLog::commentable(int row) const
{
    return !m_fgAuditLog->TextMatrix(row, ColColumnId).isEmpty();
}

void frmAuditLog::fgAuditLog_BeforeEdit(int row, int col, bool& cancel)
{
    cancel = !(col == ColComments && commentable(row));
}

void frmAuditLog::fgAuditLog_AfterEdit(int row, int)
{
    if (!commentable(row) || !m_colComments)
        return;
    const QString columnId = m_fgAuditLog->TextMatrix(row, ColColumnId);
    const QString text = m_fgAuditLog->TextMatrix(row, ColComments);
    auto found = std::dynamic_pointer_cast<AuditComment>(
        m_colComments->FindItem(QLatin1String(CommentCriterion) + columnId));
    if (!found) {
        auto comment = CreateObject<AuditComment>(QLatin1String(CommentClientProgId));
        comment->Connect(m_objAppManager->GetServerName(), m_objAppManager->GetServerType());
        comment->Load(columnId.toInt());
        comment->SetComment(text);
        m_colComments->Add(comment, columnId);
        return;
    }
    found->SetComment(text);
}

void frmAuditLog::chkWordWrap_Click()
{
    m_fgAuditLog->SetWordWrap(m_chkWordWrap->isChecked());
    fitRowHeights();
}

void frmAuditLog::cmdOk_Click()
{
    try {
        if (m_colComments)
            m_colComments->Save();
        hide();
    } catch (const std::exception& error) {
        MsgBox(QStringLiteral("Unable to save changes: ") + Error::from(error).Description(),
               MsgBoxStyle::Exclamation);
    }
}

void frmAuditLog::resizeEvent(QResizeEvent* event)
{
    Form::resizeEvent(event);
    if (m_laying || isMinimized())
        return;
    const int minimumWidth = twipsToPixels(MinimumWidthTwips, this);
    const int minimumHeight = twipsToPixels(MinimumHeightTwips, this);
    if (width() < minimumWidth || height() < minimumHeight) {
        m_laying = true;
        resize(std::max(width(), minimumWidth), std::max(height(), minimumHeight));
        m_laying = false;
    }
    const int margin = twipsToPixels(GridMarginTwips, this);
    const int edge = twipsToPixels(EdgeTwips, this);
    const int buttonHeight = m_cmdCancel->sizeHint().height();
    const int buttonWidth = std::max(m_cmdCancel->sizeHint().width(), m_cmdOk->sizeHint().width());
    const int buttonTop = height() - edge - buttonHeight;
    m_fgAuditLog->setGeometry(0, 0, width() - margin,
                              height() - buttonHeight - twipsToPixels(ButtonGapTwips, this));
    m_cmdCancel->setGeometry(width() - edge - buttonWidth, buttonTop, buttonWidth, buttonHeight);
    m_cmdOk->setGeometry(m_cmdCancel->x() - edge - buttonWidth, buttonTop, buttonWidth, buttonHeight);
    m_chkWordWrap->setGeometry(margin, buttonTop, m_chkWordWrap->sizeHint().width(), buttonHeight);
}

void frmAuditLog::onUnload()
{
    m_fgAuditLog->SetDataSource(nullptr);
    m_colComments.reset();
    m_rsAudit.reset();
}

} // namespace bryx
