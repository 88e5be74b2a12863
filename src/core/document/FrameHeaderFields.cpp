#include "FrameHeaderFields.h"

#include "MpegHeader.h"

namespace kelbrin {

namespace {
HeaderFieldEntry text(int number, std::uint8_t value) {
    return {number, QString(), value};
}
HeaderFieldEntry fixed(const char* t, std::uint8_t value) {
    return {0, QString::fromUtf8(t), value};
}
} // namespace

HeaderFieldBits FieldBits(HeaderField field) {
    switch (field) {
    case HeaderField::Version:
        return {2, 0x18};
    case HeaderField::Layer:
        return {2, 0x06};
    case HeaderField::Crc:
        return {2, 0x01};
    case HeaderField::Bitrate:
        return {3, 0xF0};
    case HeaderField::SamplingRate:
        return {3, 0x0C};
    case HeaderField::Padding:
        return {3, 0x02};
    case HeaderField::Private:
        return {3, 0x01};
    case HeaderField::ChannelMode:
        return {4, 0xC0};
    case HeaderField::Extension:
        return {4, 0x30};
    case HeaderField::Copyright:
        return {4, 0x08};
    case HeaderField::Original:
        return {4, 0x04};
    case HeaderField::Emphasis:
        return {4, 0x03};
    }
    return {2, 0};
}

QList<HeaderFieldEntry> FixedFieldEntries(HeaderField field) {
    switch (field) {
    case HeaderField::Version:
        return {text(3068, 0x00), text(3069, 0x08), text(3070, 0x10), text(3071, 0x18)};
    case HeaderField::Layer:
        return {text(3062, 0), text(3063, 2), text(3064, 4), text(3065, 6)};
    case HeaderField::Crc:
        return {text(3066, 0), text(3067, 1)};
    case HeaderField::Padding:
        return {text(3073, 0), text(3074, 2)};
    case HeaderField::Private:
        return {fixed("0", 0), fixed("1", 1)};
    case HeaderField::ChannelMode:
        return {text(3075, 0x00), text(3076, 0x40), text(3077, 0x80), text(3078, 0xC0)};
    case HeaderField::Copyright:
        return {text(3087, 0), text(3088, 8)};
    case HeaderField::Original:
        return {text(3089, 0), text(3090, 4)};
    case HeaderField::Emphasis:
        return {text(3091, 0), text(3092, 1), text(3062, 2), text(3093, 3)};
    case HeaderField::Bitrate:
    case HeaderField::SamplingRate:
    case HeaderField::Extension:
        return {};
    }
    return {};
}

int FirstFieldSelection(HeaderField field) {
    switch (field) {
    case HeaderField::Version:
        return 3;
    case HeaderField::Layer:
    case HeaderField::Crc:
        return 1;
    default:
        return 0;
    }
}

const std::array<std::int32_t, 21>& FallbackBitrates() {
    static const std::array<std::int32_t, 21> rates{0,   32,  40,  48,  56,  64,  80,
                                                    96,  112, 128, 144, 160, 192, 224,
                                                    256, 288, 320, 352, 384, 416, 448};
    return rates;
}

QList<HeaderFieldEntry> BitrateEntries(std::optional<std::uint8_t> version,
                                       std::optional<std::uint8_t> layer) {
    QList<HeaderFieldEntry> entries{text(3072, 0)};
    if (!layer)
        return entries;
    const auto& tables = BitrateTables();
    const std::int32_t* values = nullptr;
    int last = 14;
    if (version == mpeg::kVersionMpeg1) {
        values = (*layer == mpeg::kLayer1)   ? tables[0].data()
                 : (*layer == mpeg::kLayer2) ? tables[1].data()
                                             : tables[2].data();
    } else if (version == mpeg::kVersionMpeg2 || version == mpeg::kVersionMpeg25) {
        // MPEG 2.5 frames carry the MPEG-2 bit rates.
        values = (*layer == mpeg::kLayer1) ? tables[3].data() : tables[4].data();
    } else {
        // Index 15 is the last the 4-bit field can hold.
        values = FallbackBitrates().data();
        last = 15;
    }
    for (int i = 1; i <= last; ++i)
        entries.append({0, QString::number(values[i]), static_cast<std::uint8_t>(i * 16)});
    return entries;
}

int BitrateSelection(const QList<HeaderFieldEntry>& entries, const QString& previousText) {
    if (previousText.isEmpty())
        return 0;
    for (int i = 1; i < entries.size(); ++i)
        if (entries[i].textNumber == 0 && entries[i].text == previousText)
            return i;
    return 0;
}

QList<HeaderFieldEntry> SamplingRateEntries(std::uint8_t version) {
    QList<HeaderFieldEntry> entries;
    if (version == mpeg::kVersionMpeg1)
        entries = {fixed("44,1 kHz", 0), fixed("48 kHz", 4), fixed("32 kHz", 8)};
    else if (version == mpeg::kVersionMpeg2)
        entries = {fixed("22,05 kHz", 0), fixed("24 kHz", 4), fixed("16 kHz", 8)};
    else
        entries = {fixed("11,025 kHz", 0), fixed("12 kHz", 4), fixed("8 kHz", 8)};
    entries.append(text(3069, 0x0C));
    return entries;
}

QList<HeaderFieldEntry> ExtensionEntries(std::uint8_t layer) {
    if (layer == mpeg::kLayer2 || layer == mpeg::kLayer1)
        return {text(3079, 0x00), text(3080, 0x10), text(3081, 0x20), text(3082, 0x30)};
    return {text(3083, 0x00), text(3084, 0x10), text(3085, 0x20), text(3086, 0x30)};
}

std::optional<std::int64_t> FrameLastByte(std::int64_t firstByte, std::uint8_t byte2,
                                          std::uint8_t byte3) {
    if (mpeg::Layer(byte2) == 0 || mpeg::Version(byte2) == mpeg::kVersionReserved ||
        mpeg::SamplingIndex(byte3) == 3 || mpeg::BitrateIndex(byte3) == 0 ||
        mpeg::BitrateIndex(byte3) == 15)
        return std::nullopt;
    const std::int32_t length = mpeg::FrameLength(byte2, byte3);
    if (length <= 0)
        return std::nullopt;
    return firstByte + length - 1;
}

} // namespace kelbrin
