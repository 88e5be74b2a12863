#include "AvCodecLibrary.h"

#include "AvCodecFormats.h"
#include "AvCodecStream.h"

extern "C" {
#include <libavcodec/avcodec.h>
}

namespace kelbrin {

namespace {

// A tag is offered only when this libavcodec has its encoder.
bool encodable(std::uint16_t tag) {
    const QList<CodecFormat> formats = avformats::FormatsOf(tag);
    if (formats.isEmpty())
        return false;
    const char* name = avformats::EncoderName(formats.first().format);
    return name && avcodec_find_encoder_by_name(name);
}

} // namespace

QList<CodecFormatTag> AvCodecLibrary::formatTags() {
    QList<CodecFormatTag> tags;
    for (const avformats::TagInfo& info : avformats::KnownTags())
        if (encodable(info.tag))
            tags.append({info.tag, QString::fromLatin1(info.name), info.formatSize});
    return tags;
}

QList<CodecFormat> AvCodecLibrary::formats(std::uint16_t tag) {
    return encodable(tag) ? avformats::FormatsOf(tag) : QList<CodecFormat>{};
}

std::unique_ptr<CodecStream> AvCodecLibrary::openStream(const WaveFormatEx& source,
                                                        const WaveFormatEx& destination, int* error) {
    int result = codec::kOk;
    auto stream = std::make_unique<AvCodecStream>(source, destination, &result);
    if (error)
        *error = result;
    if (result != codec::kOk)
        return nullptr;
    return stream;
}

} // namespace kelbrin
