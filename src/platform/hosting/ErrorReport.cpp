#include "ErrorReport.h"

#include "services/MessageBox.h"

#include <QDebug>

namespace bryx {

namespace {

class MessageBoxReport final : public ErrorReport {
public:
    void report(const QString& where, const Error& error) override
    {
        qWarning().noquote()
            << QStringLiteral("Error %1 in %2: %3").arg(error.Number()).arg(where, error.Description());
        MsgBox(QStringLiteral("Error %1 in %2:\n\n%3").arg(error.Number()).arg(where, error.Description()),
               MsgBoxStyle::OKOnly | MsgBoxStyle::Critical, QStringLiteral("Application Error"));
    }
};

std::unique_ptr<ErrorReport>& installed()
{
    static std::unique_ptr<ErrorReport> report;
    return report;
}

} // namespace

ErrorReport& ErrorReport::current()
{
    static MessageBoxReport builtIn;
    return installed() ? *installed() : builtIn;
}

std::unique_ptr<ErrorReport> ErrorReport::install(std::unique_ptr<ErrorReport> report)
{
    auto previous = std::move(installed());
    installed() = std::move(report);
    return previous;
}

void runHandler(const char* handlerName, const std::function<void()>& handler) noexcept
{
    try {
        handler();
    } catch (const std::exception& caught) {
        try {
            ErrorReport::current().report(QString::fromLatin1(handlerName), Error::from(caught));
        } catch (...) {
            qCritical("An error report failed while reporting an error in %s", handlerName);
        }
    } catch (...) {
        qCritical("A non-standard exception escaped %s", handlerName);
    }
}

} // namespace bryx
