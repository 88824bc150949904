#include "MessageBox.h"

#include <QApplication>
#include <QMessageBox>

namespace bryx {

namespace {

class QtMessageBoxService final : public MessageBoxService {
public:
    int show(const QString& prompt, int style, const QString& title) override
    {
        QMessageBox box;
        box.setText(prompt);
        box.setWindowTitle(title.isEmpty() ? QApplication::applicationName() : title);
        switch (style & 0x70) {
        case MsgBoxStyle::Critical:
            box.setIcon(QMessageBox::Critical);
            break;
        case MsgBoxStyle::Question:
            box.setIcon(QMessageBox::Question);
            break;
        case MsgBoxStyle::Exclamation:
            box.setIcon(QMessageBox::Warning);
            break;
        case MsgBoxStyle::Information:
            box.setIcon(QMessageBox::Information);
            break;
        default:
            break;
        }
        struct Choice {
            QMessageBox::StandardButton button;
            int answer;
        };
        std::vector<Choice> choices;
        switch (style & 0x7) {
        case MsgBoxStyle::OKCancel:
            choices = {{QMessageBox::Ok, MsgBoxResult::OK}, {QMessageBox::Cancel, MsgBoxResult::Cancel}};
            break;
        case MsgBoxStyle::AbortRetryIgnore:
            choices = {{QMessageBox::Abort, MsgBoxResult::Abort},
                       {QMessageBox::Retry, MsgBoxResult::Retry},
                       {QMessageBox::Ignore, MsgBoxResult::Ignore}};
            break;
        case MsgBoxStyle::YesNoCancel:
            choices = {{QMessageBox::Yes, MsgBoxResult::Yes},
                       {QMessageBox::No, MsgBoxResult::No},
                       {QMessageBox::Cancel, MsgBoxResult::Cancel}};
            break;
        case MsgBoxStyle::YesNo:
            choices = {{QMessageBox::Yes, MsgBoxResult::Yes}, {QMessageBox::No, MsgBoxResult::No}};
            break;
        case MsgBoxStyle::RetryCancel:
            choices = {{QMessageBox::Retry, MsgBoxResult::Retry},
                       {QMessageBox::Cancel, MsgBoxResult::Cancel}};
            break;
        default:
            choices = {{QMessageBox::Ok, MsgBoxResult::OK}};
            break;
        }
        QMessageBox::StandardButtons buttons;
        for (const Choice& choice : choices)
            buttons |= choice.button;
        box.setStandardButtons(buttons);
        const int pressed = box.exec();
        for (const Choice& choice : choices) {
            if (pressed == choice.button)
                return choice.answer;
        }
        // Closing the box with Escape or its close button counts as its cancelling button.
        return (style & 0x7) == MsgBoxStyle::YesNo ? MsgBoxResult::No
            : (style & 0x7) == MsgBoxStyle::OKOnly ? MsgBoxResult::OK
                                                   : MsgBoxResult::Cancel;
    }
};

std::unique_ptr<MessageBoxService>& installed()
{
    static std::unique_ptr<MessageBoxService> service;
    return service;
}

} // namespace

MessageBoxService& MessageBoxService::current()
{
    static QtMessageBoxService builtIn;
    auto& service = installed();
    return service ? *service : builtIn;
}

std::unique_ptr<MessageBoxService> MessageBoxService::install(std::unique_ptr<MessageBoxService> service)
{
    auto previous = std::move(installed());
    installed() = std::move(service);
    return previous;
}

int MsgBox(const QString& prompt, int style, const QString& title)
{
    return MessageBoxService::current().show(prompt, style, title);
}

} // namespace bryx
