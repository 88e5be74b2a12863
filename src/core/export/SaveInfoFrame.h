#pragma once
// The Info/Xing (or VBRI) frame that encoders put first in a file tells
// players the number of frames and bytes and holds a seek table. Copied to the
// start of an output, it must describe that output, not the source it came
// from, or players show the source's duration and seek wrongly.

#include <QByteArray>
#include <cstdint>
#include <optional>
#include <vector>

namespace kelbrin {

struct OutputFacts {
    // Byte positions, from the start of the output, of the audio frames that
    // follow the Info frame.
    std::vector<std::int64_t> framePositions;
    std::int64_t audioBytes = 0;   // the output's frames, the Info frame included
    bool endsWithSourceEnd = false; // the last frame is the source's last
    // The frames after the Info frame are not all of one bit rate: a Xing
    // header says so, an Info one tells players of a constant rate.
    bool severalBitRates = false;
    // The sum of the bytes written after the Info frame, for the encoder's
    // tag (see MusicCrc); without it the tag keeps the one it has.
    std::optional<std::uint16_t> musicCrc;
};

// True when the frame carries an Info, Xing or VBRI header.
bool IsInfoFrame(const QByteArray& frame);

// True when the Info or Xing header is followed by an encoder's tag, whose
// music CRC sums the frames behind it.
bool HasEncoderTag(const QByteArray& frame);

// A Xing frame to put first in an output of a variable bit rate that has no
// Info frame of its own: the given Layer III header (with a higher bit rate
// only when its frame is too short to hold the fields), silent audio, and the
// frame count, byte count and seek table fields for DescribeOutput to fill.
// Empty for the other layers, which have no such header.
QByteArray MakeVbrHeaderFrame(const std::uint8_t* header);

// The frame rewritten to describe the output: a Xing or Info header named for
// the output's bit rates, frame and byte counts, a seek table rebuilt from the
// frame positions, the encoder tag's music length, music CRC and tag CRC, and its end padding
// dropped when the output ends before the source does.
QByteArray DescribeOutput(const QByteArray& frame, const OutputFacts& facts);

} // namespace kelbrin
