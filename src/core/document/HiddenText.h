#pragma once
// A text hidden in the private bits of a file's frames (header byte 3, bit
// 0x01), one bit a frame: character i takes frames 8(i-1)+1 to 8i, least
// significant bit first. Characters are single bytes in the ANSI code page; a
// character code 0 ends the text, and the writer clears the private bit of
// every frame after the text.

#include "SourceWriteHost.h"

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <functional>
#include <optional>

namespace kelbrin {

class AnsiCodec;
class cPozycjaPlikow;

// Reading looks at no more frames than this (30,000 characters).
constexpr std::int32_t kHiddenTextReadFrames = 240000;

// The codes of the text, or nothing when a character has no code in the code
// page (or is a zero character, which would end the text); *refused then
// receives those characters once each.
std::optional<QByteArray> EncodeHiddenText(const QString& text, const AnsiCodec& codec,
                                           QString* refused = nullptr);

// The characters a file of `frames` indexed frames holds so that they read
// back whole: eight frames each, within the frames that reading looks at.
std::int64_t HiddenTextCapacity(std::int32_t frames);

// The private bit that frame `frame` (1-based) carries for these codes.
bool HiddenTextBit(const QByteArray& codes, std::int64_t frame);

// The codes read from the file's frame index (which must keep header bytes).
// `yield` runs every 100 frames; when it returns false the reading stops with
// what it has.
QByteArray ReadHiddenCodes(const cPozycjaPlikow& file, const std::function<bool()>& yield = {});

// Writes the codes into every frame of the file's index, one private bit per
// frame, yielding every 10 frames. Only the private bit of each header changes
// (and the CRC of a protected Layer III frame); the index learns the new bit of
// each frame whose header the file now holds.
SourceWriteResult WriteHiddenCodes(cPozycjaPlikow& file, const QByteArray& codes,
                                   SourceWriteHost& host);

} // namespace kelbrin
