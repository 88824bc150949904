#pragma once

#include "error/Error.h"

#include <QString>
#include <functional>
#include <memory>

namespace bryx {

// Where an error that escaped an event handler ends up: the host's default error report.
// The built-in one shows the error in a message box and logs it; tests install their own.
class ErrorReport {
public:
    virtual ~ErrorReport() = default;
    virtual void report(const QString& where, const Error& error) = 0;

    static ErrorReport& current();
    static std::unique_ptr<ErrorReport> install(std::unique_ptr<ErrorReport> report);
};

// Runs one event handler so that no exception reaches Qt's event loop: anything it throws is
// handed to the current error report, named after the handler.
void runHandler(const char* handlerName, const std::function<void()>& handler) noexcept;

} // namespace bryx
