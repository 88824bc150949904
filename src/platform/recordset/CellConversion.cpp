#include "CellConversion.h"

#include <QLocale>
#include <QTimeZone>
#include <cmath>

namespace bryx::cell {

namespace {
constexpr int64_t MsPerDay = 86'400'000;
constexpr double OleEpochOffsetDays = 25569.0; // 1899-12-30 to 1970-01-01
} // namespace

int64_t dateToMs(const QDateTime& value)
{
    return QDateTime(value.date(), value.time(), Qt::UTC).toMSecsSinceEpoch();
}

QDateTime msToDate(int64_t ms)
{
    return QDateTime::fromMSecsSinceEpoch(ms, Qt::UTC);
}

int64_t oleDaysToMs(double days)
{
    return std::llround((days - OleEpochOffsetDays) * double(MsPerDay));
}

std::optional<int64_t> parseDateText(const QString& input)
{
    const QString text = input.trimmed();
    if (text.isEmpty())
        return std::nullopt;
    static const QString formats[] = {
        QStringLiteral("yyyy-MM-dd"),
        QStringLiteral("yyyy-MM-ddTHH:mm:ss"),
        QStringLiteral("yyyy-MM-ddTHH:mm:ss.zzz"),
        QStringLiteral("yyyy-MM-dd HH:mm:ss"),
        QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz"),
        QStringLiteral("yyyy-MM-dd HH:mm"),
        QStringLiteral("M/d/yyyy"),
        QStringLiteral("M/d/yyyy H:mm:ss"),
        QStringLiteral("M/d/yyyy h:mm:ss AP"),
        QStringLiteral("M/d/yyyy h:mm AP"),
        QStringLiteral("M/d/yyyy H:mm"),
    };
    const QDateTime iso = QDateTime::fromString(text, Qt::ISODateWithMs);
    if (iso.isValid())
        return dateToMs(iso.timeSpec() == Qt::LocalTime ? iso : iso.toUTC());
    const QLocale c = QLocale::c();
    for (const QString& format : formats) {
        QDateTime parsed = c.toDateTime(text, format);
        if (!parsed.isValid()) {
            const QDate date = c.toDate(text, format);
            if (!date.isValid())
                continue;
            parsed = QDateTime(date, QTime(0, 0), Qt::UTC);
        }
        return dateToMs(parsed);
    }
    return std::nullopt;
}

QString formatDate(int64_t ms)
{
    const QDateTime value = msToDate(ms);
    if (value.time() == QTime(0, 0))
        return value.date().toString(Qt::ISODate);
    if (value.time().msec() != 0)
        return value.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz"));
    return value.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

std::optional<Number> parseNumberText(const QString& input)
{
    const QString text = input.trimmed();
    if (text.isEmpty())
        return std::nullopt;
    bool ok = false;
    const qlonglong integer = text.toLongLong(&ok, 10);
    if (ok)
        return Number {true, integer, double(integer)};
    const double real = text.toDouble(&ok);
    if (ok && std::isfinite(real))
        return Number {false, 0, real};
    return std::nullopt;
}

QString formatReal(double value)
{
    return QString::number(value, 'g', QLocale::FloatingPointShortest);
}

QString formatCurrency(int64_t scaled)
{
    const bool negative = scaled < 0;
    const uint64_t magnitude = negative ? uint64_t(0) - uint64_t(scaled) : uint64_t(scaled);
    QString text = QString::number(magnitude / 10000);
    if (const uint64_t fraction = magnitude % 10000) {
        QString digits = QStringLiteral("%1").arg(fraction, 4, 10, QLatin1Char('0'));
        while (digits.endsWith(QLatin1Char('0')))
            digits.chop(1);
        text += QLatin1Char('.') + digits;
    }
    return negative ? QLatin1Char('-') + text : text;
}

bool isNullVariant(const QVariant& value)
{
    return !value.isValid() || value.isNull();
}

} // namespace bryx::cell
