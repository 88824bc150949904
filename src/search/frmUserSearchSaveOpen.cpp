#include "frmUserSearchSaveOpen.h"

#include "common/UserOptionStore.h"
#include "contracts/AppManager.h"
#include "contracts/ClientComponents.h"
#include "controls/Controls.h"
#include "error/Error.h"
#include "hosting/ErrorReport.h"
#include "services/MessageBox.h"

#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>

namespace bryx {

frmUserSearchSaveOpen::frmUserSearchSaveOpen(QWidget* parent)
    : Form(parent)
    , m_list(new ListBox(this))
    , m_name(new TextBox(this))
    , m_cmdSave(new CommandButton(QStringLiteral("Save"), this))
    , m_cmdCancel(new CommandButton(QStringLiteral("Cancel"), this))
{
    m_list->setObjectName(QStringLiteral("lstUserSearches"));
    m_name->setObjectName(QStringLiteral("txtSearchName"));
    m_cmdSave->setObjectName(QStringLiteral("cmdSave"));
    m_cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    m_cmdSave->setDefault(true);
    m_cmdCancel->SetCancel(true);

    auto* layout = new QGridLayout(this);
    layout->addWidget(new Label(QStringLiteral("User Searches"), this), 0, 0, 1, 2);
    layout->addWidget(m_list, 1, 0, 1, 2);
    layout->addWidget(new Label(QStringLiteral("Search Name:"), this), 2, 0);
    layout->addWidget(m_name, 2, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_cmdSave);
    buttons->addWidget(m_cmdCancel);
    layout->addLayout(buttons, 3, 0, 1, 2);
    SetWidthTwips(5400);
    SetHeightTwips(4200);

    connect(m_list, &ListBox::Click, this, [this] { listClicked(); });
    connect(m_list, &ListBox::DblClick, this, [this] {
        runHandler("lstUserSearches_DblClick", [this] {
            listClicked();
            if (m_cmdSave->isEnabled())
                hide();
        });
    });
    connect(m_name, &TextBox::Change, this, [this] {
        if (m_mode == Save)
            m_cmdSave->setEnabled(!m_name->text().trimmed().isEmpty());
    });
    connect(m_cmdSave, &QPushButton::clicked, this, [this] { hide(); });
    connect(m_cmdCancel, &QPushButton::clicked, this, [this] {
        m_canceled = true;
        hide();
    });
}

bool frmUserSearchSaveOpen::Init(const QString& strCategoryName, int enMode,
                                 std::shared_ptr<AppManager> objAppManager)
{
    m_category = strCategoryName;
    m_mode = enMode;
    m_canceled = false;
    m_userId = objAppManager->GetUserID();
    m_serverName = objAppManager->GetServerName();
    m_serverType = objAppManager->GetServerType();

    const bool saving = m_mode == Save;
    switch (m_mode) {
    case Save:
        m_cmdSave->setText(QStringLiteral("Save"));
        SetCaption(QStringLiteral("Save User Search"));
        break;
    case Open:
        m_cmdSave->setText(QStringLiteral("Open"));
        SetCaption(QStringLiteral("Open User Search"));
        break;
    default:
        m_cmdSave->setText(QStringLiteral("Delete"));
        SetCaption(QStringLiteral("Delete User Search"));
        break;
    }
    m_name->setReadOnly(!saving);
    QPalette palette = m_name->palette();
    palette.setColor(QPalette::Base,
                     QApplication::palette().color(saving ? QPalette::Base : QPalette::Button));
    m_name->setPalette(palette);
    m_cmdSave->setEnabled(false);
    fillList();
    return true;
}

void frmUserSearchSaveOpen::fillList()
{
    try {
        const UserOptionStore store(m_serverName, m_serverType);
        const auto options =
            store.findOptions(QStringLiteral("CATEGORY_OPTIONS"), {m_category, QString::number(m_userId)});
        if (!options)
            throw Error(ErrorNumber::Unexpected,
                        QStringLiteral("the saved searches of \"%1\" could not be read").arg(m_category));
        for (const auto& item : options->Items()) {
            if (const auto option = std::dynamic_pointer_cast<UserOption>(item))
                m_list->AddItem(option->Name());
        }
    } catch (const std::exception& caught) {
        MsgBox(QStringLiteral("Unable to save default settings: ") + Error::from(caught).Description(),
               MsgBoxStyle::Exclamation);
    }
}

void frmUserSearchSaveOpen::listClicked()
{
    const bool chosen = m_list->ListIndex() >= 0;
    if (chosen)
        m_name->setText(m_list->Text());
    if (m_mode != Save)
        m_cmdSave->setEnabled(chosen);
}

QString frmUserSearchSaveOpen::GetSearchName() const
{
    return m_name->text();
}

bool frmUserSearchSaveOpen::queryUnload(UnloadMode mode)
{
    // Closing by the window's close box is a cancel: the caller gets no name.
    if (mode == UnloadMode::ControlMenu)
        m_canceled = true;
    return true;
}

} // namespace bryx
