#pragma once

#include <QString>
#include <memory>

namespace bryx {

// Button sets, icons and answers of a message box, as desktop code composes them: the style
// is one button set plus one icon, and the answer is the button pressed.
namespace MsgBoxStyle {
inline constexpr int OKOnly = 0;
inline constexpr int OKCancel = 1;
inline constexpr int AbortRetryIgnore = 2;
inline constexpr int YesNoCancel = 3;
inline constexpr int YesNo = 4;
inline constexpr int RetryCancel = 5;
inline constexpr int Critical = 16;
inline constexpr int Question = 32;
inline constexpr int Exclamation = 48;
inline constexpr int Information = 64;
} // namespace MsgBoxStyle

namespace MsgBoxResult {
inline constexpr int OK = 1;
inline constexpr int Cancel = 2;
inline constexpr int Abort = 3;
inline constexpr int Retry = 4;
inline constexpr int Ignore = 5;
inline constexpr int Yes = 6;
inline constexpr int No = 7;
} // namespace MsgBoxResult

// Shows message boxes. Production shows Qt dialogs; tests install a scripted one.
class MessageBoxService {
public:
    virtual ~MessageBoxService() = default;
    virtual int show(const QString& prompt, int style, const QString& title) = 0;

    // The service in use; a Qt message box until another is installed.
    static MessageBoxService& current();
    // Installs a service and answers the one it replaces (null for the built-in one).
    static std::unique_ptr<MessageBoxService> install(std::unique_ptr<MessageBoxService> service);
};

// Shows a message box through the current service and answers the button pressed.
int MsgBox(const QString& prompt, int style = MsgBoxStyle::OKOnly, const QString& title = {});

} // namespace bryx
