#pragma once
// The 128-byte ID3v1 block written after the audio of every output: "TAG",
// title, artist, album, year, a full 30-byte comment and the genre, each text
// in the ANSI code page, cut to its width and padded with blanks.

#include "SaveRequest.h"

#include <QByteArray>

namespace kelbrin {

class AnsiCodec;

constexpr int kId3v1BlockSize = 128;

// A genre outside 0..255 is written as 255 (none).
QByteArray Id3v1Block(const Id3v1Fields& fields, const AnsiCodec& codec);
QByteArray Id3v1Block(const Id3v1Fields& fields);

} // namespace kelbrin
