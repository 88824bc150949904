#include "DelimitedWriter.h"

#include "error/Error.h"

namespace bryx::host {

namespace {

constexpr qsizetype BufferBytes = 1 << 20;

bool needsQuotes(const QString& field)
{
    if (field.startsWith(u'"'))
        return true;
    for (const QChar c : field) {
        if (c == u'\t' || c == u'\n' || c == u'\r')
            return true;
    }
    return false;
}

} // namespace

DelimitedWriter::DelimitedWriter(const QString& path, Quoting quoting)
    : m_file(path)
    , m_quoting(quoting)
{
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw Error(ErrorNumber::PathFileAccess,
                    QStringLiteral("%1 cannot be written: %2").arg(path, m_file.errorString()));
    m_buffer.reserve(BufferBytes + 4096);
}

void DelimitedWriter::write(const QStringList& fields)
{
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (i > 0)
            m_buffer += '\t';
        const QString& field = fields[i];
        if (m_quoting == Quoting::WhenNeeded && needsQuotes(field)) {
            m_buffer += '"';
            m_buffer += QString(field).replace(QLatin1Char('"'), QLatin1String("\"\"")).toUtf8();
            m_buffer += '"';
        } else if (m_quoting == Quoting::Never) {
            QString plain = field;
            for (QChar& c : plain) {
                if (c == u'\t' || c == u'\n' || c == u'\r')
                    c = u' ';
            }
            m_buffer += plain.toUtf8();
        } else {
            m_buffer += field.toUtf8();
        }
    }
    m_buffer += '\n';
    if (m_buffer.size() >= BufferBytes)
        flushBuffer();
}

void DelimitedWriter::flushBuffer()
{
    if (m_file.write(m_buffer) != m_buffer.size())
        throw Error(ErrorNumber::PathFileAccess,
                    QStringLiteral("%1 cannot be written: %2").arg(m_file.fileName(), m_file.errorString()));
    m_buffer.clear();
}

void DelimitedWriter::close()
{
    flushBuffer();
    if (!m_file.flush())
        throw Error(ErrorNumber::PathFileAccess,
                    QStringLiteral("%1 cannot be written: %2").arg(m_file.fileName(), m_file.errorString()));
    m_file.close();
}

} // namespace bryx::host
