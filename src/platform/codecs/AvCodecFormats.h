#pragma once
// The format records of the WAVE codecs the codec layer encodes: which tags
// exist, the formats each offers and how a record maps to a libavcodec encoder.

#include "CodecLibrary.h"

#include <QList>
#include <QString>

namespace kelbrin::avformats {

struct TagInfo {
    std::uint16_t tag;
    const char* name;
    std::uint32_t formatSize;
};

// Every tag the layer knows, whether or not this libavcodec can encode it.
const QList<TagInfo>& KnownTags();

// The encoder's name for a format record, or nullptr when the record asks for
// something the layer does not encode (unknown tag, wrong bits).
const char* EncoderName(const WaveFormatEx& format);

// The formats offered for a tag.
QList<CodecFormat> FormatsOf(std::uint16_t tag);

// The codec block of IMA and MS ADPCM for a rate and channel count: 256 bytes
// per channel up to 11 kHz, doubled for 22 kHz and again for 44 kHz.
std::uint16_t AdpcmBlockAlign(std::uint32_t rate, std::uint16_t channels);

} // namespace kelbrin::avformats
