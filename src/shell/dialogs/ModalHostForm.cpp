#include "ModalHostForm.h"

#include "contracts/AppManager.h"
#include "contracts/HostTypes.h"
#include "error/Error.h"
#include "hosting/ControlExtender.h"
#include "hosting/ErrorReport.h"
#include "hosting/UserControl.h"

#include <QMenuBar>
#include <QShowEvent>

namespace bryx {

ModalHostForm::ModalHostForm(QString controlName, QWidget* parent)
    : Form(parent)
    , m_controlName(std::move(controlName))
{
    registerHostTypes();
    SetKeyPreview(true);
}

ModalHostForm::~ModalHostForm() = default;

void ModalHostForm::addComponent(const QString& progId)
{
    m_genericDetails = ControlExtender::add(*this, progId, m_controlName);
    if (const QList<QMenu*> menus = component()->Menus(); !menus.isEmpty()) {
        if (!m_menuBar)
            m_menuBar = new QMenuBar(this);
        m_menuBar->clear();
        for (QMenu* menu : menus)
            m_menuBar->addMenu(menu);
        m_menuBar->adjustSize();
        m_menuBar->setGeometry(0, 0, std::max(width(), m_menuBar->sizeHint().width()),
                               m_menuBar->sizeHint().height());
        component()->move(0, m_menuBar->height());
    }
    connect(m_genericDetails.get(), &ControlExtender::Event, this,
            [this](const QString& name, const QVariantList&) {
                runHandler("GenericDetails_ObjectEvent", [&] { componentEvent(name.toLower()); });
            });
}

void ModalHostForm::fitToComponent()
{
    SetWidthTwips(m_genericDetails->widthTwips() + 100);
    SetHeightTwips(m_genericDetails->heightTwips() + 750);
    if (m_menuBar)
        m_menuBar->resize(width(), m_menuBar->height());
}

QString ModalHostForm::Caption() const
{
    return Form::Caption();
}

void ModalHostForm::SetCaption(const QString& caption)
{
    Form::SetCaption(caption);
}

int ModalHostForm::Height() const
{
    return HeightTwips();
}

void ModalHostForm::SetHeight(int twips)
{
    SetHeightTwips(twips);
}

QIcon ModalHostForm::Icon() const
{
    return Form::Icon();
}

void ModalHostForm::SetMainGridRedraw(bool)
{
    // A dialog has no main list to repaint.
}

void ModalHostForm::SetFocus()
{
    activateWindow();
    setFocus(Qt::OtherFocusReason);
}

void ModalHostForm::keepAppManager(std::shared_ptr<AppManager> appManager)
{
    if (!appManager)
        throw Error(ErrorNumber::InvalidArgument, QStringLiteral("InitDialog needs the application manager"));
    m_appManager = std::move(appManager);
}

UserControl* ModalHostForm::component() const
{
    return m_genericDetails ? m_genericDetails->object() : nullptr;
}

void ModalHostForm::useHelpFileOfHost()
{
    m_help.HelpFile = m_appManager->HelpFile();
    m_help.HelpCommand = HelpProvider::HelpContextCommand;
}

void ModalHostForm::release()
{
    m_genericDetails.reset(); // removes the control from the dialog
    m_appManager.reset();
}

bool ModalHostForm::onKeyDown(int keyCode, Qt::KeyboardModifiers)
{
    if (!component() || !m_appManager)
        return false;
    if (keyCode == Qt::Key_F1) {
        m_help.HelpContext = 0;
        int32_t topic = 0;
        if (m_appManager->GetHelpTopicID(*component(), topic)) {
            m_help.HelpContext = topic;
            m_help.ShowHelp();
        }
        return true;
    }
    if (keyCode == Qt::Key_F9) {
        m_appManager->DisplaySystemControlEntry(*component());
        return true;
    }
    return false;
}

void ModalHostForm::showEvent(QShowEvent* event)
{
    Form::showEvent(event);
    if (m_genericDetails)
        m_genericDetails->setVisible(true);
    setEnabled(true);
}

} // namespace bryx
