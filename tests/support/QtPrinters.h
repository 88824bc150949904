#pragma once

#include <QString>
#include <QVariant>
#include <ostream>

// Readable gtest failure messages for the Qt types the tests compare.
QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}
inline void PrintTo(const QVariant& value, std::ostream* out)
{
    if (!value.isValid())
        *out << "NULL";
    else
        *out << value.metaType().name() << '(' << value.toString().toStdString() << ')';
}
QT_END_NAMESPACE
