#include "NameCodec.h"

#include <QStringDecoder>

#include <cstdint>

namespace kelbrin {

namespace {

bool isContinuation(unsigned char c) {
    return (c & 0xC0) == 0x80;
}

// Splits at CR and LF, keeping each break with the text before it.
template <typename Text, typename Each> void forEachLine(const Text& text, Each each) {
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            each(text.mid(start, i - start), text.mid(i, 1));
            start = i + 1;
        }
    }
    if (start < text.size())
        each(text.mid(start), Text());
}

} // namespace

bool NameCodec::IsNonAsciiUtf8(const QByteArray& bytes) {
    bool nonAscii = false;
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.constData());
    const qsizetype n = bytes.size();
    for (qsizetype i = 0; i < n;) {
        const unsigned char c = p[i];
        if (c < 0x80) {
            ++i;
            continue;
        }
        nonAscii = true;
        int extra = 0;
        std::uint32_t code = 0;
        if (c >= 0xC2 && c <= 0xDF) {
            extra = 1;
            code = c & 0x1F;
        } else if (c >= 0xE0 && c <= 0xEF) {
            extra = 2;
            code = c & 0x0F;
        } else if (c >= 0xF0 && c <= 0xF4) {
            extra = 3;
            code = c & 0x07;
        } else {
            return false; // a continuation byte alone, or a lead byte UTF-8 never uses
        }
        if (i + extra >= n)
            return false; // cut short
        for (int k = 1; k <= extra; ++k) {
            if (!isContinuation(p[i + k]))
                return false;
            code = (code << 6) | (p[i + k] & 0x3F);
        }
        // Over-long forms, surrogates and values past U+10FFFF are not UTF-8.
        if ((extra == 2 && code < 0x800) || (extra == 3 && code < 0x10000) ||
            (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF)
            return false;
        i += extra + 1;
    }
    return nonAscii;
}

QByteArray NameCodec::encode(const QString& name) const {
    bool lossless = false;
    const QByteArray ansi = m_codec.fromUnicode(name, &lossless);
    // Code-page bytes that happen to form UTF-8 would read back as other
    // characters: such a name is written as UTF-8 too.
    if (lossless && !IsNonAsciiUtf8(ansi))
        return ansi;
    return name.toUtf8();
}

QString NameCodec::decode(const QByteArray& bytes) const {
    if (IsNonAsciiUtf8(bytes))
        return QString::fromUtf8(bytes);
    return m_codec.toUnicode(bytes);
}

QByteArray NameCodec::encodeLines(const QString& text) const {
    QByteArray out;
    forEachLine(text, [&](const QString& line, const QString& lineBreak) {
        out += encode(line);
        out += lineBreak.toLatin1();
    });
    return out;
}

QString NameCodec::decodeLines(const QByteArray& bytes) const {
    QString out;
    forEachLine(bytes, [&](const QByteArray& line, const QByteArray& lineBreak) {
        out += decode(line);
        out += QLatin1String(lineBreak);
    });
    return out;
}

QString NameCodec::decodeTextFile(const QByteArray& bytes) const {
    // Read byte by byte, UTF-16 has a NUL in every other byte and no line
    // holds a keyword.
    const bool little = bytes.startsWith("\xFF\xFE");
    if (little || bytes.startsWith("\xFE\xFF")) {
        QStringDecoder decoder(little ? QStringConverter::Utf16LE : QStringConverter::Utf16BE);
        return decoder.decode(bytes.mid(2));
    }
    return decodeLines(bytes);
}

QByteArray NameCodec::Truncate(const QByteArray& encoded, qsizetype maxBytes) {
    if (encoded.size() <= maxBytes)
        return encoded;
    if (!IsNonAsciiUtf8(encoded))
        return encoded.left(maxBytes);
    qsizetype end = maxBytes;
    while (end > 0 && isContinuation(static_cast<unsigned char>(encoded[end])))
        --end;
    return encoded.left(end);
}

} // namespace kelbrin
