#pragma once
// The 128-byte ID3v1 block at the end of an MPEG audio file, in its ID3v1 and
// ID3v1.1 forms, and its reading and in-place writing.
//
//   offset 0 "TAG", 3 title (30), 33 artist (30), 63 album (30), 93 year (4),
//   97 comment (28), 125-126 the comment's last two characters, or a zero byte
//   and the track number (ID3v1.1), 127 genre.
//
// Texts are single bytes in the ANSI code page; a character the code page
// cannot hold is written as "?". Fields are cut to their width and filled with
// blanks, never with zero bytes.

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <optional>

namespace kelbrin {

class AnsiCodec;

constexpr int kId3v1Size = 128;

struct Id3v1Tag {
    QString title;
    QString artist;
    QString album;
    QString year = QStringLiteral("1999");
    QString comment;        // up to 30 characters; 28 in the ID3v1.1 form
    bool v11 = false;       // bytes 125-126 hold a zero and the track number
    std::int32_t track = 0; // 0..255
    std::uint8_t genre = 0;
};

// The fields of a block; nothing when the bytes do not start with "TAG". The
// ID3v1.1 form is taken when byte 125 is 0 and the track number is above 0 (a
// track of 0 reads as ID3v1 with a 28-character comment). A text ends at its
// first zero byte and loses its trailing blanks.
std::optional<Id3v1Tag> ParseId3v1(const QByteArray& block, const AnsiCodec& codec);

// The whole block; nothing when the track number is outside 0..255.
std::optional<QByteArray> BuildId3v1(const Id3v1Tag& tag, const AnsiCodec& codec);

struct Id3v1ReadResult {
    bool fileFound = false;      // the file exists
    std::optional<Id3v1Tag> tag; // the block, when the file ends with one
};
// Reads the block of a file; a file that cannot be read or is shorter than the
// block reads as one without a block.
Id3v1ReadResult ReadId3v1(const QString& path, const AnsiCodec& codec);

enum class Id3v1WriteStatus { Written, Appended, Missing, CannotOpen, WriteFailed, BadTrack };
struct Id3v1WriteResult {
    Id3v1WriteStatus status = Id3v1WriteStatus::CannotOpen;
    QString error; // the system's description of a failure
    bool ok() const {
        return status == Id3v1WriteStatus::Written || status == Id3v1WriteStatus::Appended;
    }
};
// Writes the block over the file's own block, or appends it when the file has
// none. The file must exist; the block is built whole first and goes to the
// file in one positioned write, so nothing is written when it cannot be built.
Id3v1WriteResult WriteId3v1(const QString& path, const Id3v1Tag& tag, const AnsiCodec& codec);

} // namespace kelbrin
