#include "ByteFields.h"

#include "platform/text/NameCodec.h"

#include <QtEndian>
#include <cstring>

namespace kelbrin {

namespace {

template <typename T> void appendLittleEndian(QByteArray& bytes, T value) {
    char raw[sizeof(T)];
    qToLittleEndian(value, raw);
    bytes.append(raw, sizeof(T));
}

constexpr qsizetype kMaxVariableString = 0xFFFF;

} // namespace

void ByteWriter::Byte(std::uint8_t value) {
    m_bytes.append(static_cast<char>(value));
}
void ByteWriter::Integer(std::int16_t value) {
    appendLittleEndian(m_bytes, value);
}
void ByteWriter::Long(std::int32_t value) {
    appendLittleEndian(m_bytes, value);
}
void ByteWriter::Single(float value) {
    appendLittleEndian(m_bytes, value);
}
void ByteWriter::Double(double value) {
    appendLittleEndian(m_bytes, value);
}
void ByteWriter::Boolean(bool value) {
    Integer(value ? -1 : 0);
}

void ByteWriter::VariableString(const QString& text) {
    const QByteArray raw = NameCodec::Truncate(NameCodec(m_codec).encode(text), kMaxVariableString);
    appendLittleEndian(m_bytes, static_cast<std::uint16_t>(raw.size()));
    m_bytes.append(raw);
}

void ByteWriter::FixedString(const QString& text, int width) {
    QByteArray raw = m_codec.fromUnicode(text).left(width);
    raw.append(QByteArray(width - raw.size(), ' '));
    m_bytes.append(raw);
}

const char* ByteReader::take(qint64 n) {
    if (m_failed || n < 0 || n > remaining()) {
        m_failed = true;
        m_position = m_bytes.size();
        return nullptr;
    }
    const char* at = m_bytes.constData() + m_position;
    m_position += n;
    return at;
}

std::uint8_t ByteReader::Byte() {
    const char* at = take(1);
    return at ? static_cast<std::uint8_t>(*at) : 0;
}

std::int16_t ByteReader::Integer() {
    const char* at = take(2);
    return at ? qFromLittleEndian<std::int16_t>(at) : 0;
}

std::uint16_t ByteReader::UnsignedInteger() {
    const char* at = take(2);
    return at ? qFromLittleEndian<std::uint16_t>(at) : 0;
}

std::int32_t ByteReader::Long() {
    const char* at = take(4);
    return at ? qFromLittleEndian<std::int32_t>(at) : 0;
}

float ByteReader::Single() {
    const char* at = take(4);
    return at ? qFromLittleEndian<float>(at) : 0.0f;
}

double ByteReader::Double() {
    const char* at = take(8);
    return at ? qFromLittleEndian<double>(at) : 0.0;
}

bool ByteReader::Boolean() {
    return Integer() != 0;
}

QString ByteReader::VariableString() {
    return NameCodec(m_codec).decode(VariableBytes());
}

QByteArray ByteReader::VariableBytes() {
    const std::uint16_t length = UnsignedInteger();
    const char* at = take(length);
    return at ? QByteArray(at, length) : QByteArray();
}

QString ByteReader::FixedString(int width) {
    return m_codec.toUnicode(FixedBytes(width));
}

QByteArray ByteReader::FixedBytes(int width) {
    const char* at = take(width);
    if (!at)
        return QByteArray();
    // The field is padded to its width; the padding is not part of the text.
    qsizetype length = width;
    while (length > 0 && (at[length - 1] == ' ' || at[length - 1] == '\0'))
        --length;
    return QByteArray(at, length);
}

} // namespace kelbrin
