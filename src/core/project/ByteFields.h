#pragma once
// Little-endian fields of the binary project file: numbers, the 16-bit
// booleans, counted strings (names and labels: in the ANSI code page, or UTF-8
// when it cannot hold them) and fixed 30-byte strings (tag fields, in the code
// page, "?" for what it cannot hold). The reader never reads past its buffer:
// a read beyond the end marks it failed and gives zero or empty, so a caller
// checks ok() once per record.

#include "platform/text/AnsiCodec.h"

#include <QByteArray>
#include <QString>
#include <cstdint>

namespace kelbrin {

class ByteWriter {
public:
    explicit ByteWriter(const AnsiCodec& codec) : m_codec(codec) {}

    void Byte(std::uint8_t value);
    void Integer(std::int16_t value);
    void Long(std::int32_t value);
    void Single(float value);
    void Double(double value);
    // 0 for false, -1 for true.
    void Boolean(bool value);
    // A 16-bit byte count and the text; text beyond 65535 bytes is cut (never
    // inside a UTF-8 character).
    void VariableString(const QString& text);
    // Exactly `width` bytes: padded with spaces or cut.
    void FixedString(const QString& text, int width);

    const QByteArray& bytes() const { return m_bytes; }

private:
    const AnsiCodec& m_codec;
    QByteArray m_bytes;
};

class ByteReader {
public:
    ByteReader(const QByteArray& bytes, const AnsiCodec& codec) : m_bytes(bytes), m_codec(codec) {}

    std::uint8_t Byte();
    std::int16_t Integer();
    std::uint16_t UnsignedInteger();
    std::int32_t Long();
    float Single();
    double Double();
    bool Boolean(); // any value other than 0 is true
    QString VariableString();
    // The bytes of a variable-length string as stored, undecoded.
    QByteArray VariableBytes();
    QString FixedString(int width);
    // The text bytes of a fixed string, without its padding, undecoded.
    QByteArray FixedBytes(int width);

    const AnsiCodec& codec() const { return m_codec; }
    // False once any read ran past the end.
    bool ok() const { return !m_failed; }
    qint64 position() const { return m_position; }
    qint64 remaining() const { return m_bytes.size() - m_position; }

private:
    // The next n bytes, or null (and failed) when fewer are left.
    const char* take(qint64 n);

    const QByteArray& m_bytes;
    const AnsiCodec& m_codec;
    qint64 m_position = 0;
    bool m_failed = false;
};

} // namespace kelbrin
