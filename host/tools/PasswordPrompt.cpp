#include "PasswordPrompt.h"

#include <cstdio>
#include <iostream>
#include <string>
#include <termios.h>
#include <unistd.h>

namespace bryx::host {

namespace {

// Turns the terminal's echo off for as long as it lives.
class HiddenInput {
public:
    HiddenInput()
        : m_terminal(isatty(STDIN_FILENO) == 1 && tcgetattr(STDIN_FILENO, &m_saved) == 0)
    {
        if (!m_terminal)
            return;
        termios hidden = m_saved;
        hidden.c_lflag &= ~tcflag_t(ECHO);
        tcsetattr(STDIN_FILENO, TCSAFLUSH, &hidden);
    }
    ~HiddenInput()
    {
        if (m_terminal) {
            tcsetattr(STDIN_FILENO, TCSAFLUSH, &m_saved);
            std::fputc('\n', stderr);
        }
    }
    HiddenInput(const HiddenInput&) = delete;
    HiddenInput& operator=(const HiddenInput&) = delete;

    bool terminal() const { return m_terminal; }

private:
    termios m_saved {};
    bool m_terminal;
};

} // namespace

QString readPassword(const QString& prompt)
{
    const HiddenInput hidden;
    if (hidden.terminal())
        std::fprintf(stderr, "%s", qPrintable(prompt));
    std::string line;
    std::getline(std::cin, line);
    return QString::fromStdString(line);
}

} // namespace bryx::host
