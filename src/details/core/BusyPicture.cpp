#include "BusyPicture.h"

#include "DetailsUi.h"
#include "controls/Pictures.h"
#include "services/Screen.h"

namespace bryx {

namespace {

constexpr const char* MessageKeys[] = {"Loading", "Saving", "Deleting", "PleaseWait", "Copying"};

} // namespace

bool BusyPicture::isShown() const
{
    return !m_ui.picActivityWait->isHidden();
}

void BusyPicture::ShowWaitMessage(bool show, int16_t number)
{
    if (show && !m_ui.picActivityWait->isHidden())
        return;
    for (PictureBox* picture : {m_ui.picActivityWait, m_ui.picWaitMessage}) {
        picture->setVisible(show);
        picture->raise();
    }
    if (show && number >= 0 && number < int16_t(std::size(MessageKeys)))
        m_ui.picWaitMessage->SetPicture(m_ui.ilWaitMessages->ListImages(QLatin1String(MessageKeys[number])));
    // The picture appears at once, before the work starts.
    DesktopServices::current().doEvents();
}

BusyPictureScope::BusyPictureScope(BusyPicture& picture, BusyPicture::Message message)
    : m_picture(picture)
{
    m_picture.ShowWaitMessage(true, message);
}

BusyPictureScope::~BusyPictureScope()
{
    try {
        hide();
    } catch (...) {
        // Leaving an operation never fails because its picture could not be hidden.
    }
}

void BusyPictureScope::hide()
{
    if (!m_active)
        return;
    m_active = false;
    m_picture.ShowWaitMessage(false, 0);
}

} // namespace bryx
