#pragma once
// The codec layer over libavcodec: the WAVE codecs it can encode and the
// formats the recorder offers for each.

#include "CodecLibrary.h"

namespace kelbrin {

class AvCodecLibrary final : public CodecLibrary {
public:
    QList<CodecFormatTag> formatTags() override;
    QList<CodecFormat> formats(std::uint16_t tag) override;
    std::unique_ptr<CodecStream> openStream(const WaveFormatEx& source, const WaveFormatEx& destination,
                                            int* error) override;
};

} // namespace kelbrin
