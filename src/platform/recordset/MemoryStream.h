#pragma once

#include <QByteArray>
#include <cstring>

namespace bryx {

// An in-memory byte stream a recordset saves itself into and reopens itself from.
// Writes append; reads advance from the start, so several saves can be read back in turn.
class MemoryStream {
public:
    void write(const void* data, size_t size)
    {
        if (size != 0)
            m_buffer.append(static_cast<const char*>(data), qsizetype(size));
    }
    bool read(void* data, size_t size)
    {
        if (size > remaining())
            return false;
        if (size == 0)
            return true; // an empty vector's data() may be null, which memcpy must not see
        std::memcpy(data, m_buffer.constData() + m_readPosition, size);
        m_readPosition += qsizetype(size);
        return true;
    }
    // Advances over `size` bytes and answers where they start; null when fewer remain.
    const char* view(size_t size)
    {
        if (size > remaining())
            return nullptr;
        const char* start = m_buffer.constData() + m_readPosition;
        m_readPosition += qsizetype(size);
        return start;
    }
    size_t remaining() const noexcept { return size_t(m_buffer.size() - m_readPosition); }
    void reserveExtra(size_t size) { m_buffer.reserve(m_buffer.size() + qsizetype(size)); }

    const QByteArray& buffer() const noexcept { return m_buffer; }
    void setBuffer(QByteArray bytes)
    {
        m_buffer = std::move(bytes);
        m_readPosition = 0;
    }

private:
    QByteArray m_buffer;
    qsizetype m_readPosition = 0;
};

} // namespace bryx
