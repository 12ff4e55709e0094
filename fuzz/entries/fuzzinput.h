#pragma once

// Reads typed values off the front of a fuzz input; an exhausted input gives zeros and empty
// texts, so that every input makes a complete set of values.

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>

namespace ferlin::fuzz {

class FuzzInput {
public:
    FuzzInput(const std::uint8_t *data, std::size_t size) : m_data(data), m_size(size) {}

    bool atEnd() const { return m_pos >= m_size; }

    std::uint8_t byte() { return atEnd() ? 0 : m_data[m_pos++]; }
    bool flag() { return (byte() & 1) != 0; }

    // Up to `count` bytes.
    QByteArray bytes(std::size_t count)
    {
        const std::size_t n = count < m_size - m_pos ? count : m_size - m_pos;
        const QByteArray out(reinterpret_cast<const char *>(m_data + m_pos), qsizetype(n));
        m_pos += n;
        return out;
    }
    // A length byte, then that many bytes of UTF-8.
    QString text() { return QString::fromUtf8(bytes(byte())); }

private:
    const std::uint8_t *m_data;
    std::size_t m_size;
    std::size_t m_pos = 0;
};

} // namespace ferlin::fuzz
