#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringList>

namespace bryx::host {

// Writes a tab-separated UTF-8 file a row at a time through a large buffer. With quoting, a
// field holding a tab, a line break or a leading quote is enclosed in double quotes, its own
// quotes doubled (a Darwin Core Archive declares that dialect in meta.xml); without it (ColDP,
// which never quotes), tabs and line breaks become spaces.
class DelimitedWriter {
public:
    enum class Quoting { WhenNeeded, Never };

    DelimitedWriter(const QString& path, Quoting quoting);
    void write(const QStringList& fields);
    // Writes what is buffered and closes the file; throws, naming it, when the disk refuses.
    void close();

private:
    void flushBuffer();

    QFile m_file;
    Quoting m_quoting;
    QByteArray m_buffer;
};

} // namespace bryx::host
