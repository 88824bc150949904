#pragma once

#include <QDateTime>
#include <QString>
#include <QVariant>
#include <cstdint>
#include <optional>

namespace bryx::cell {

// Dates are kept as wall-clock milliseconds since 1970-01-01T00:00, without a zone, the way
// desktop date values behave; QDateTime values are read and answered as UTC.
int64_t dateToMs(const QDateTime& value);
QDateTime msToDate(int64_t ms);
// OLE automation dates: days since 1899-12-30, the fraction being the time of day.
int64_t oleDaysToMs(double days);

// Parses "2024-01-31", "2024-01-31T10:00:00[.zzz]", "2024-01-31 10:00:00", "1/31/2024" and
// "1/31/2024 10:00:00 AM".
std::optional<int64_t> parseDateText(const QString& text);
QString formatDate(int64_t ms);

// A number written as text, parsed without regard to the locale; nullopt when it is not one.
struct Number {
    bool isInteger = false;
    int64_t integer = 0;
    double real = 0;
};
std::optional<Number> parseNumberText(const QString& text);

// Shortest round-trip text of a double, and of a currency value scaled by 10,000.
QString formatReal(double value);
QString formatCurrency(int64_t scaled);

bool isNullVariant(const QVariant& value);

} // namespace bryx::cell
