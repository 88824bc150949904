#include "DwcaRowReader.h"

#include "error/Error.h"

#include <QIODevice>

namespace bryx::host {

namespace {

constexpr qint64 ChunkBytes = 1 << 16;

// Windows-1252 differs from ISO-8859-1 only from 0x80 to 0x9F; five of those are unassigned
// and read as the replacement character.
constexpr char16_t Windows1252High[32] = {0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                          0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD,
                                          0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                          0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178};

// Where the first byte sequence that is not UTF-8 starts, for the line an error names. Bytes
// continuing a character begun in the previous read are passed over.
qsizetype firstInvalidUtf8(const QByteArray& bytes)
{
    auto byte = [&](qsizetype at) { return static_cast<unsigned char>(bytes[at]); };
    qsizetype at = 0;
    while (at < bytes.size() && at < 3 && (byte(at) & 0xC0) == 0x80)
        ++at;
    while (at < bytes.size()) {
        const unsigned char lead = byte(at);
        const int length = lead < 0x80 ? 1
            : (lead & 0xE0) == 0xC0    ? 2
            : (lead & 0xF0) == 0xE0    ? 3
            : (lead & 0xF8) == 0xF0    ? 4
                                       : 0;
        if (length == 0)
            return at;
        for (int i = 1; i < length && at + i < bytes.size(); ++i) {
            if ((byte(at + i) & 0xC0) != 0x80)
                return at;
        }
        at += length;
    }
    return 0;
}

} // namespace

DwcaRowReader::DwcaRowReader(QIODevice& device, const DwcaFile& file, QString sourceName)
    : m_device(device)
    , m_source(std::move(sourceName))
    , m_delimiter(file.fieldsTerminatedBy)
    , m_quote(file.fieldsEnclosedBy)
    , m_headerLines(file.ignoreHeaderLines)
    , m_noError(device.errorString())
    , m_encodingAdvice(file.encodingAdvice)
{
    const QString encoding = file.encoding.trimmed().toUpper().remove(QLatin1Char('_'));
    if (encoding == QLatin1String("UTF-8") || encoding == QLatin1String("UTF8") || encoding.isEmpty())
        m_encoding = Encoding::Utf8;
    else if (encoding == QLatin1String("ISO-8859-1") || encoding == QLatin1String("LATIN1")
             || encoding == QLatin1String("ISO8859-1"))
        m_encoding = Encoding::Latin1;
    else if (encoding == QLatin1String("WINDOWS-1252") || encoding == QLatin1String("CP1252")
             || encoding == QLatin1String("WINDOWS1252"))
        m_encoding = Encoding::Windows1252;
    else
        refuse(1,
               QStringLiteral("the encoding \"%1\" is not one this program reads (UTF-8, ISO-8859-1, "
                              "Windows-1252)")
                   .arg(file.encoding));
}

void DwcaRowReader::refuse(qint64 line, const QString& why) const
{
    throw Error(ErrorNumber::InvalidArgument,
                QStringLiteral("%1, line %2: %3").arg(m_source).arg(line).arg(why));
}

bool DwcaRowReader::fill()
{
    if (m_at < m_buffer.size())
        return true;
    m_buffer.clear();
    m_at = 0;
    while (m_buffer.isEmpty()) {
        const QByteArray bytes = m_device.read(ChunkBytes);
        if (bytes.isEmpty()) {
            if (m_device.errorString() != m_noError)
                refuse(m_line, m_device.errorString());
            return false;
        }
        m_bytesRead += bytes.size();
        switch (m_encoding) {
        case Encoding::Utf8:
            m_buffer = m_utf8.decode(bytes);
            if (m_utf8.hasError())
                refuse(m_line + bytes.left(firstInvalidUtf8(bytes)).count('\n'),
                       QStringLiteral("the text is not valid UTF-8 (%1)").arg(m_encodingAdvice));
            break;
        case Encoding::Latin1:
            m_buffer = QString::fromLatin1(bytes);
            break;
        case Encoding::Windows1252:
            m_buffer.resize(bytes.size());
            for (qsizetype i = 0; i < bytes.size(); ++i) {
                const auto byte = static_cast<unsigned char>(bytes[i]);
                m_buffer[i] =
                    QChar(byte >= 0x80 && byte < 0xA0 ? Windows1252High[byte - 0x80] : char16_t(byte));
            }
            break;
        }
    }
    return true;
}

bool DwcaRowReader::next(QStringList& fields)
{
    while (m_headerLines > 0) {
        if (!readRow(m_header))
            return false;
        --m_headerLines;
    }
    while (readRow(fields)) {
        // A blank line between or after rows holds no record.
        if (!(fields.size() == 1 && fields.front().isEmpty()))
            return true;
    }
    return false;
}

bool DwcaRowReader::readRow(QStringList& fields)
{
    fields.clear();
    if (!fill())
        return false;
    m_rowLine = m_line;
    QString field;
    bool quoted = false;
    bool fieldStarted = false;
    auto endLine = [&](QChar c) {
        // "\r\n" is one line end, whatever the description declares.
        if (c == u'\r' && fill() && m_buffer[m_at] == u'\n')
            ++m_at;
        ++m_line;
    };
    const QChar delimiter = m_delimiter.front();
    qsizetype rowLength = 0;
    auto checkLength = [&] {
        if (field.size() > MaxFieldLength)
            refuse(m_rowLine,
                   QStringLiteral("a field is longer than %1 characters, the most one field may hold")
                       .arg(MaxFieldLength));
        if (rowLength + field.size() > MaxRowLength)
            refuse(m_rowLine,
                   QStringLiteral("the row is longer than %1 characters, the most one row may hold")
                       .arg(MaxRowLength));
    };
    while (fill()) {
        if (!quoted && (fieldStarted || !m_quote || m_buffer[m_at] != *m_quote)) {
            // Plain text up to the next delimiter or line end is taken in one piece.
            const QChar* text = m_buffer.constData();
            qsizetype end = m_at;
            while (end < m_buffer.size() && text[end] != delimiter && text[end] != u'\n'
                   && text[end] != u'\r')
                ++end;
            if (end > m_at) {
                field.append(text + m_at, end - m_at);
                fieldStarted = true;
                m_at = end;
                checkLength();
                continue;
            }
        }
        const QChar c = m_buffer[m_at++];
        if (quoted) {
            if ((field.size() & 0xFFF) == 0)
                checkLength();
            if (c == *m_quote) {
                if (fill() && m_buffer[m_at] == *m_quote) {
                    field += c;
                    ++m_at;
                } else {
                    quoted = false;
                }
            } else if (c == u'\\' && fill() && m_buffer[m_at] == *m_quote) {
                field += *m_quote;
                ++m_at;
            } else {
                if (c == u'\n' || c == u'\r') {
                    endLine(c);
                    field += QLatin1Char('\n');
                    continue;
                }
                field += c;
            }
            continue;
        }
        if (m_quote && c == *m_quote && !fieldStarted) {
            quoted = true;
            fieldStarted = true;
            continue;
        }
        if (c == u'\n' || c == u'\r') {
            endLine(c);
            fields << field;
            return true;
        }
        if (c == m_delimiter.front()
            && (m_delimiter.size() == 1 || QStringView(m_buffer).mid(m_at - 1).startsWith(m_delimiter))) {
            m_at += m_delimiter.size() - 1;
            rowLength += field.size() + 1; // the delimiter: a row of nothing else is long too
            fields << field;
            field.clear();
            checkLength();
            fieldStarted = false;
            continue;
        }
        field += c;
        fieldStarted = true;
    }
    if (quoted)
        refuse(m_rowLine, QStringLiteral("a quoted field is not closed before the end of the file"));
    fields << field;
    return true;
}

} // namespace bryx::host
