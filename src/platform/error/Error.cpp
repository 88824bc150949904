#include "Error.h"

namespace bryx {

Error::Error(int number, QString description)
    : m_number(number)
    , m_description(std::move(description))
    , m_what(QStringLiteral("#%1: %2").arg(number).arg(m_description).toUtf8())
{
}

Error Error::from(const std::exception& caught)
{
    if (const auto* error = dynamic_cast<const Error*>(&caught))
        return *error;
    return Error(ErrorNumber::Unexpected, QString::fromLocal8Bit(caught.what()));
}

} // namespace bryx
