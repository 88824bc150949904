#include "PopupCellEditor.h"

#include "controls/Controls.h"
#include "controls/FlexGrid.h"
#include "hosting/ErrorReport.h"

#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace bryx::host {

namespace {

constexpr int EditorWidthTwips = 9000;
constexpr int EditorHeightTwips = 5400;

} // namespace

PopupCellEditor::PopupCellEditor(FlexGrid& grid, QWidget* parent)
    : Form(parent)
    , m_grid(grid)
    , m_row(grid.Row())
    , m_col(grid.Col())
    , m_text(new QPlainTextEdit(this))
    , m_cmdOk(new CommandButton(QStringLiteral("OK"), this))
    , m_cmdCancel(new CommandButton(QStringLiteral("Cancel"), this))
{
    m_editable = grid.CellEditable(m_row, m_col);
    const QString header = grid.TextMatrix(0, m_col);
    SetCaption(header.isEmpty() ? tr("Text Editor") : tr("Text Editor - %1").arg(header));
    m_text->setObjectName(QStringLiteral("txtCell"));
    m_text->setPlainText(grid.TextMatrix(m_row, m_col));
    m_text->setReadOnly(!m_editable);
    m_cmdOk->setObjectName(QStringLiteral("cmdOk"));
    m_cmdOk->setDefault(m_editable);
    m_cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    m_cmdCancel->SetCancel(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_text);
    auto* buttons = new QHBoxLayout;
    if (!m_editable)
        buttons->addWidget(new Label(tr("This cell is read-only."), this));
    buttons->addStretch();
    buttons->addWidget(m_cmdOk);
    buttons->addWidget(m_cmdCancel);
    layout->addLayout(buttons);
    SetWidthTwips(EditorWidthTwips);
    SetHeightTwips(EditorHeightTwips);
    connect(m_cmdOk, &QPushButton::clicked, this, [this] { runHandler("cmdOk_Click", [this] { ok(); }); });
    connect(m_cmdCancel, &QPushButton::clicked, this, &QWidget::hide);
}

void PopupCellEditor::ok()
{
    if (m_editable && m_text->toPlainText() != m_grid.TextMatrix(m_row, m_col))
        m_grid.CommitCellEdit(m_row, m_col, m_text->toPlainText());
    hide();
}

bool PopupCellEditor::editCurrentCell(FlexGrid& grid)
{
    if (grid.Row() < grid.FixedRows() || grid.Col() < 0)
        return false;
    PopupCellEditor editor(grid, grid.window());
    editor.ShowModal();
    editor.Unload();
    return true;
}

} // namespace bryx::host
