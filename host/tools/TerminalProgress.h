#pragma once

#include <QString>
#include <cstdio>

namespace bryx::host {

// A progress bar on standard error, drawn only when it is a terminal (a log file gets the
// summary alone), redrawn when the shown percentage or stage changes.
class TerminalProgress {
public:
    TerminalProgress();
    ~TerminalProgress();
    TerminalProgress(const TerminalProgress&) = delete;
    TerminalProgress& operator=(const TerminalProgress&) = delete;

    void show(int permille, const QString& stage);

private:
    bool m_terminal;
    int m_shown = -1;
    QString m_stage;
    bool m_drawn = false;
};

} // namespace bryx::host
