#pragma once

#include "db/DatabaseUrl.h"

#include <QDialog>
#include <optional>

class QLabel;
class QLineEdit;

namespace bryx::host {

// Asks for the password of a server login, the way libpq would take it from ~/.pgpass: the
// text never shows, and Cancel answers nothing.
class PasswordDialog : public QDialog {
    Q_OBJECT
public:
    PasswordDialog(const DatabaseUrl& url, bool refused, QWidget* parent = nullptr);

    // The password typed, or none when the user cancelled.
    static std::optional<QString> ask(const DatabaseUrl& url, bool refused, QWidget* parent = nullptr);

private:
    // Wide enough for a host name and a login on one line of the question.
    static constexpr int MinimumWidth = 380;
    QLineEdit* m_password;
};

} // namespace bryx::host
