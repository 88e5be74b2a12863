#pragma once
// Names of files and tracks in the 8-bit files this program shares with its
// older versions (projects, scripts, CUE sheets, playlists). A name the ANSI
// code page holds is written in it, so those files stay what older versions
// read and write; a name it cannot hold is written as UTF-8 rather than
// degraded to "?". Reading takes bytes that are valid UTF-8 and hold non-ASCII
// bytes as UTF-8, anything else as the code page, so every older file reads
// as it always did.

#include "AnsiCodec.h"

#include <QByteArray>
#include <QString>

namespace kelbrin {

class NameCodec {
public:
    explicit NameCodec(const AnsiCodec& codec = AnsiCodec()) : m_codec(codec) {}

    QByteArray encode(const QString& name) const;
    QString decode(const QByteArray& bytes) const;

    // Whole texts, one line at a time (a line ends at CR or LF), since every
    // line holds at most one name and each name is encoded on its own.
    QByteArray encodeLines(const QString& text) const;
    QString decodeLines(const QByteArray& bytes) const;
    // A whole text file a user may have saved elsewhere: UTF-16 behind a
    // UTF-16 byte-order mark (as editors save "Unicode" text), else decodeLines.
    QString decodeTextFile(const QByteArray& bytes) const;

    // Valid UTF-8 with at least one byte above 0x7F.
    static bool IsNonAsciiUtf8(const QByteArray& bytes);
    // At most `maxBytes` bytes of encoded text, cut before a UTF-8 sequence
    // that would not fit whole when the text is UTF-8.
    static QByteArray Truncate(const QByteArray& encoded, qsizetype maxBytes);

private:
    AnsiCodec m_codec;
};

} // namespace kelbrin
