#include "frmSQL.h"

#include "controls/Controls.h"
#include "controls/RichTextBox.h"
#include "hosting/ErrorReport.h"
#include "services/Screen.h"

#include <QHBoxLayout>
#include <QMenuBar>
#include <QVBoxLayout>

namespace bryx {

frmSQL::frmSQL(QWidget* parent)
    : Form(parent)
    , m_txtSQL(new RichTextBox(this))
    , m_cmdOk(new CommandButton(QStringLiteral("O&K"), this))
{
    SetCaption(QStringLiteral("View SQL"));
    m_txtSQL->setObjectName(QStringLiteral("txtSQL"));
    m_txtSQL->SetTextMode(true);
    m_txtSQL->setReadOnly(true);
    m_cmdOk->setObjectName(QStringLiteral("cmdOk"));
    m_cmdOk->setDefault(true);

    auto* menuBar = new QMenuBar(this);
    QMenu* menuEdit = menuBar->addMenu(QStringLiteral("&Edit"));
    menuEdit->setObjectName(QStringLiteral("menuEdit"));
    m_mnuEditCopy = new MenuItem(QStringLiteral("mnuEditCopy"), QStringLiteral("&Copy"), menuEdit);
    menuEdit->addAction(m_mnuEditCopy);

    auto* layout = new QVBoxLayout(this);
    layout->setMenuBar(menuBar);
    layout->addWidget(m_txtSQL);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_cmdOk);
    layout->addLayout(buttons);
    SetWidthTwips(7200);
    SetHeightTwips(3600);

    connect(m_cmdOk, &QPushButton::clicked, this, [this] { runHandler("cmdOk_Click", [this] { hide(); }); });
    connect(m_mnuEditCopy, &QAction::triggered, this, [] {
        runHandler("mnuEditCopy_Click", [] { DesktopServices::current().sendKeys(QStringLiteral("^C")); });
    });
}

} // namespace bryx
