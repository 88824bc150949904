#pragma once

#include "DwcaMeta.h"

#include <QString>
#include <QStringDecoder>
#include <QStringList>

class QIODevice;

namespace bryx::host {

// Reads the rows of one data file of an archive as its description declares them, a piece at
// a time: the declared delimiter and quote (a quoted field may hold delimiters, line breaks and
// doubled or backslash-escaped quotes), any line ending ("\n", "\r\n" or "\r", whatever the
// description says), header lines skipped, and the declared encoding (UTF-8, ISO-8859-1 or
// Windows-1252). A row that cannot be read is refused with the file name and line.
class DwcaRowReader {
public:
    // The longest field and row read, in characters: far past any name or citation, and a
    // file without line ends cannot fill the memory.
    static constexpr qsizetype MaxFieldLength = 1 << 20;
    static constexpr qsizetype MaxRowLength = 4 << 20;

    DwcaRowReader(QIODevice& device, const DwcaFile& file, QString sourceName);

    // The next row's fields; false after the last row.
    bool next(QStringList& fields);
    // The line on which the row last returned starts, from 1.
    qint64 rowLine() const { return m_rowLine; }
    // The last header line's fields, once the first row has been asked for.
    const QStringList& header() const { return m_header; }
    // How many bytes of the file have been read so far.
    qint64 bytesRead() const { return m_bytesRead; }

private:
    enum class Encoding { Utf8, Latin1, Windows1252 };
    // Makes sure at least one more character is buffered; false at the end of the data.
    bool fill();
    [[noreturn]] void refuse(qint64 line, const QString& why) const;
    bool readRow(QStringList& fields);

    QIODevice& m_device;
    QString m_source;
    Encoding m_encoding = Encoding::Utf8;
    QStringDecoder m_utf8 {QStringDecoder::Utf8};
    QString m_delimiter;
    std::optional<QChar> m_quote;
    int m_headerLines = 0;
    QString m_noError;
    QString m_encodingAdvice; // what the device says before anything went wrong
    QStringList m_header;
    qint64 m_bytesRead = 0;
    QString m_buffer;
    qsizetype m_at = 0;
    qint64 m_line = 1;
    qint64 m_rowLine = 0;
};

} // namespace bryx::host
