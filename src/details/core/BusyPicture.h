#pragma once

#include <cstdint>

namespace bryx {

class DetailsUi;

// The editor's busy picture: an activity picture and a message picture ("Loading", "Saving",
// "Deleting", "Please wait", "Copying") brought to the front while an operation runs.
class BusyPicture {
public:
    // Message numbers, in the order of the message pictures.
    enum Message : int16_t { Loading = 0, Saving = 1, Deleting = 2, PleaseWait = 3, Copying = 4 };

    explicit BusyPicture(DetailsUi& ui)
        : m_ui(ui)
    {
    }

    // A request to show while the picture is up changes nothing (not even the message).
    void ShowWaitMessage(bool show, int16_t number);
    bool isShown() const;

private:
    DetailsUi& m_ui;
};

// The busy picture for as long as an operation runs: shown when made, hidden again when it
// goes out of scope, on every path out of the operation, errors included. `keepShown` leaves
// it up (a delete that closes the window keeps it until the window goes).
class BusyPictureScope {
public:
    BusyPictureScope(BusyPicture& picture, BusyPicture::Message message);
    ~BusyPictureScope();
    BusyPictureScope(const BusyPictureScope&) = delete;
    BusyPictureScope& operator=(const BusyPictureScope&) = delete;

    void hide();
    void keepShown() { m_active = false; }

private:
    BusyPicture& m_picture;
    bool m_active = true;
};

} // namespace bryx
