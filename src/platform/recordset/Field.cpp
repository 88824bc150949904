#include "Field.h"

#include "CellConversion.h"
#include "Recordset.h"
#include "error/Error.h"

#include <QDate>
#include <QDateTime>
#include <cmath>

namespace bryx {

namespace {

StorageKind checkedKind(const QString& name, int type)
{
    StorageKind kind;
    if (!storageKindOf(type, kind))
        throw Error(
            ErrorNumber::InvalidArgument,
            QStringLiteral("Fields.Append \"%1\": data type code %2 is not supported").arg(name).arg(type));
    return kind;
}

bool isWholeNumberType(const QMetaType& type)
{
    switch (type.id()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::LongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
        return true;
    default:
        return false;
    }
}

bool isRealType(const QMetaType& type)
{
    return type.id() == QMetaType::Double || type.id() == QMetaType::Float;
}

} // namespace

Field::Field(Recordset& owner, QString name, int type, qint64 definedSize, int attributes)
    : m_owner(owner)
    , m_name(std::move(name))
    , m_type(type)
    , m_definedSize(definedSize)
    , m_attributes(attributes)
    , m_column(checkedKind(m_name, type))
{
}

QVariant Field::Value() const
{
    return valueAt(m_owner.currentRowFor(*this, "Value"));
}

void Field::SetValue(const QVariant& value)
{
    setValueAt(m_owner.rowForWrite(*this), value);
}

void Field::SetValueFrom(const Field& source)
{
    const size_t fromRow = source.m_owner.currentRowFor(source, "Value");
    copyCellFrom(m_owner.rowForWrite(*this), source, fromRow);
}

bool Field::IsNull() const
{
    return m_column.isNull(m_owner.currentRowFor(*this, "Value"));
}

void Field::SetOptimize(bool optimize)
{
    if (optimize && !m_index)
        m_index = std::make_unique<FieldIndex>(m_column);
    else if (!optimize)
        m_index.reset();
}

void Field::rebuildIndex()
{
    if (m_index)
        m_index = std::make_unique<FieldIndex>(m_column);
}

QVariant Field::valueAt(size_t row) const
{
    if (m_column.isNull(row))
        return {};
    switch (m_column.kind()) {
    case StorageKind::Integer: {
        const int64_t value = m_column.word(row);
        int64_t min, max;
        integerRangeOf(static_cast<DataType>(m_type), min, max);
        if (min >= INT32_MIN && max <= INT32_MAX)
            return QVariant(static_cast<int>(value));
        return QVariant(static_cast<qlonglong>(value));
    }
    case StorageKind::Real:
        return QVariant(m_column.real(row));
    case StorageKind::Currency:
        return QVariant(double(m_column.word(row)) / 10000.0);
    case StorageKind::Boolean:
        return QVariant(m_column.word(row) != 0);
    case StorageKind::Date:
        return QVariant(cell::msToDate(m_column.word(row)));
    case StorageKind::Text: {
        const std::string_view bytes = m_column.bytes(row);
        return QVariant(QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size())));
    }
    case StorageKind::Binary: {
        const std::string_view bytes = m_column.bytes(row);
        return QVariant(QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
    }
    }
    return {};
}

QString Field::textAt(size_t row) const
{
    if (m_column.isNull(row))
        return {};
    switch (m_column.kind()) {
    case StorageKind::Integer:
        return QString::number(m_column.word(row));
    case StorageKind::Real:
        return cell::formatReal(m_column.real(row));
    case StorageKind::Currency:
        return cell::formatCurrency(m_column.word(row));
    case StorageKind::Boolean:
        return m_column.word(row) ? QStringLiteral("True") : QStringLiteral("False");
    case StorageKind::Date:
        return cell::formatDate(m_column.word(row));
    case StorageKind::Text:
    case StorageKind::Binary: {
        const std::string_view bytes = m_column.bytes(row);
        return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
    }
    }
    return {};
}

void Field::conversionError(const QVariant& value, const QString& why) const
{
    throw Error(ErrorNumber::DataConversion,
                QStringLiteral("Field \"%1\" (%2) cannot take the value \"%3\": %4")
                    .arg(m_name, dataTypeName(m_type), value.toString(), why));
}

void Field::setValueAt(size_t row, const QVariant& value)
{
    if (cell::isNullVariant(value)) {
        indexBeforeChange(row);
        m_column.setNull(row);
        return;
    }
    const QMetaType type = value.metaType();
    switch (m_column.kind()) {
    case StorageKind::Integer: {
        int64_t number = 0;
        if (type.id() == QMetaType::Bool) {
            number = value.toBool() ? -1 : 0;
        } else if (type.id() == QMetaType::ULongLong) {
            const qulonglong unsignedNumber = value.toULongLong();
            if (unsignedNumber > qulonglong(INT64_MAX))
                conversionError(value, QStringLiteral("it is out of range"));
            number = static_cast<int64_t>(unsignedNumber);
        } else if (isWholeNumberType(type)) {
            number = value.toLongLong();
        } else {
            std::optional<cell::Number> parsed;
            if (isRealType(type))
                parsed = cell::Number {false, 0, value.toDouble()};
            else if (type.id() == QMetaType::QString)
                parsed = cell::parseNumberText(value.toString());
            if (!parsed)
                conversionError(value, QStringLiteral("it is not a whole number"));
            if (parsed->isInteger) {
                number = parsed->integer;
            } else {
                const double rounded = std::nearbyint(parsed->real);
                if (!std::isfinite(rounded) || rounded < -9.2233720368547758e18
                    || rounded >= 9.2233720368547758e18)
                    conversionError(value, QStringLiteral("it is out of range"));
                number = static_cast<int64_t>(rounded);
            }
        }
        int64_t min, max;
        integerRangeOf(static_cast<DataType>(m_type), min, max);
        if (number < min || number > max)
            conversionError(value, QStringLiteral("it is outside %1 to %2").arg(min).arg(max));
        indexBeforeChange(row);
        m_column.setWord(row, number);
        break;
    }
    case StorageKind::Real:
    case StorageKind::Currency: {
        double number = 0;
        if (type.id() == QMetaType::Bool) {
            number = value.toBool() ? -1 : 0;
        } else if (isWholeNumberType(type) || isRealType(type) || type.id() == QMetaType::ULongLong) {
            number = value.toDouble();
        } else if (type.id() == QMetaType::QString) {
            const auto parsed = cell::parseNumberText(value.toString());
            if (!parsed)
                conversionError(value, QStringLiteral("it is not a number"));
            number = parsed->isInteger ? double(parsed->integer) : parsed->real;
        } else {
            conversionError(value, QStringLiteral("it is not a number"));
        }
        if (!std::isfinite(number))
            conversionError(value, QStringLiteral("it is not a finite number"));
        indexBeforeChange(row);
        if (m_column.kind() == StorageKind::Real) {
            m_column.setWord(row, std::bit_cast<int64_t>(number));
        } else {
            const double scaled = std::nearbyint(number * 10000.0);
            if (scaled < -9.2233720368547758e18 || scaled >= 9.2233720368547758e18)
                conversionError(value, QStringLiteral("it is out of the currency range"));
            m_column.setWord(row, static_cast<int64_t>(scaled));
        }
        break;
    }
    case StorageKind::Boolean: {
        bool flag = false;
        if (type.id() == QMetaType::Bool || isWholeNumberType(type) || isRealType(type)
            || type.id() == QMetaType::ULongLong) {
            flag = value.toDouble() != 0.0 || value.toBool();
        } else if (type.id() == QMetaType::QString) {
            const QString text = value.toString().trimmed();
            if (text.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
                flag = true;
            else if (text.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
                flag = false;
            else if (const auto parsed = cell::parseNumberText(text))
                flag = parsed->isInteger ? parsed->integer != 0 : parsed->real != 0.0;
            else
                conversionError(value, QStringLiteral("it is neither True, False nor a number"));
        } else {
            conversionError(value, QStringLiteral("it is not a truth value"));
        }
        indexBeforeChange(row);
        m_column.setWord(row, flag ? 1 : 0);
        break;
    }
    case StorageKind::Date: {
        int64_t ms = 0;
        if (type.id() == QMetaType::QDateTime) {
            if (!value.toDateTime().isValid())
                conversionError(value, QStringLiteral("it is not a valid date"));
            ms = cell::dateToMs(value.toDateTime());
        } else if (type.id() == QMetaType::QDate) {
            if (!value.toDate().isValid())
                conversionError(value, QStringLiteral("it is not a valid date"));
            ms = cell::dateToMs(QDateTime(value.toDate(), QTime(0, 0), Qt::UTC));
        } else if (isWholeNumberType(type) || isRealType(type)) {
            ms = cell::oleDaysToMs(value.toDouble());
        } else if (type.id() == QMetaType::QString) {
            const auto parsed = cell::parseDateText(value.toString());
            if (!parsed)
                conversionError(value, QStringLiteral("it is not a date"));
            ms = *parsed;
        } else {
            conversionError(value, QStringLiteral("it is not a date"));
        }
        indexBeforeChange(row);
        m_column.setWord(row, ms);
        break;
    }
    case StorageKind::Text:
    case StorageKind::Binary: {
        QByteArray bytes;
        if (type.id() == QMetaType::QByteArray)
            bytes = value.toByteArray();
        else if (type.id() == QMetaType::Bool)
            bytes = value.toBool() ? QByteArrayLiteral("True") : QByteArrayLiteral("False");
        else if (type.id() == QMetaType::QDateTime)
            bytes = cell::formatDate(cell::dateToMs(value.toDateTime())).toUtf8();
        else if (isRealType(type))
            bytes = cell::formatReal(value.toDouble()).toUtf8();
        else if (value.canConvert<QString>())
            bytes = value.toString().toUtf8();
        else
            conversionError(value, QStringLiteral("it has no text form"));
        indexBeforeChange(row);
        m_column.setBytes(row, std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())));
        break;
    }
    }
    indexAfterChange(row);
}

void Field::copyCellFrom(size_t row, const Field& from, size_t fromRow)
{
    if (from.m_column.kind() == m_column.kind() && from.m_type == m_type) {
        indexBeforeChange(row);
        m_column.copyCell(row, from.m_column, fromRow);
        indexAfterChange(row);
        return;
    }
    setValueAt(row, from.valueAt(fromRow));
}

void Field::indexBeforeChange(size_t row)
{
    if (m_index)
        m_index->erase(row);
}

void Field::indexAfterChange(size_t row)
{
    if (m_index)
        m_index->insert(row);
}

} // namespace bryx
