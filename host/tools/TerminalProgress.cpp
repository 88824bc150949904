#include "TerminalProgress.h"

#include <unistd.h>

namespace bryx::host {

namespace {

constexpr int BarWidth = 30;
constexpr int StageWidth = 60;

} // namespace

TerminalProgress::TerminalProgress()
    : m_terminal(isatty(fileno(stderr)) == 1)
{
}

TerminalProgress::~TerminalProgress()
{
    if (m_drawn)
        std::fputc('\n', stderr);
}

void TerminalProgress::show(int permille, const QString& stage)
{
    const int percent = std::clamp(permille, 0, 1000) / 10;
    if (!m_terminal || (percent == m_shown && stage == m_stage))
        return;
    m_shown = percent;
    m_stage = stage;
    m_drawn = true;
    const int filled = percent * BarWidth / 100;
    const QString bar = QString(filled, QLatin1Char('#')) + QString(BarWidth - filled, QLatin1Char('.'));
    const QString text =
        stage.size() > StageWidth ? QStringLiteral("...") + stage.right(StageWidth - 3) : stage;
    std::fprintf(stderr, "\r[%s] %3d%%  %-*s", qPrintable(bar), percent, StageWidth,
                 text.toLocal8Bit().constData());
    std::fflush(stderr);
}

} // namespace bryx::host
