#include "SkippedRowReport.h"

#include "error/Error.h"

namespace bryx::host {

namespace {

// A text as one cell: a tab or a line break would start another cell or row.
QString cell(QString text)
{
    return text.replace(QLatin1Char('\t'), QLatin1Char(' '))
        .replace(QLatin1Char('\r'), QLatin1Char(' '))
        .replace(QLatin1Char('\n'), QLatin1Char(' '));
}

} // namespace

SkippedRowReport::SkippedRowReport(const QString& path)
    : m_file(path)
{
    if (!m_file.open(QIODevice::WriteOnly))
        throw Error(ErrorNumber::PathFileAccess,
                    QStringLiteral("%1 cannot be written: %2").arg(path, m_file.errorString()));
    m_file.write("file\tline\treason\n");
}

void SkippedRowReport::add(const SkippedRow& row)
{
    m_file.write(QStringLiteral("%1\t%2\t%3\n")
                     .arg(cell(row.origin.file))
                     .arg(row.origin.line)
                     .arg(cell(row.reason))
                     .toUtf8());
}

void SkippedRowReport::commit()
{
    if (!m_file.commit())
        throw Error(ErrorNumber::PathFileAccess,
                    QStringLiteral("%1 cannot be written: %2").arg(m_file.fileName(), m_file.errorString()));
}

} // namespace bryx::host
