#pragma once
// The field lists of the frame header editor: which header byte and bits each
// field takes, the entries each list offers (their item data is the field's
// bits already in place), and the rules by which the bit-rate, sampling-rate
// and mode-extension lists are rebuilt when the version or layer changes.

#include <QList>
#include <QString>
#include <array>
#include <cstdint>
#include <optional>

namespace kelbrin {

enum class HeaderField {
    Version,
    Layer,
    Crc,
    Bitrate,
    SamplingRate,
    Padding,
    Private,
    ChannelMode,
    Extension,
    Copyright,
    Original,
    Emphasis,
};

struct HeaderFieldBits {
    int byte; // 2, 3 or 4
    std::uint8_t mask;
};
HeaderFieldBits FieldBits(HeaderField field);

// One list entry: a catalogue text (textNumber > 0) or a fixed text.
struct HeaderFieldEntry {
    int textNumber = 0;
    QString text;
    std::uint8_t value = 0;
};

// The entries of the lists that never change (all but bit rate, sampling rate
// and mode extension), and the entry each selects when the window loads.
QList<HeaderFieldEntry> FixedFieldEntries(HeaderField field);
int FirstFieldSelection(HeaderField field);

// Bit rates by version and layer: the free entry (text 3072) and the table's
// entries 1-14 at index x 16 (MPEG 2.5 has the MPEG-2 tables). The reserved
// version takes the fallback list, of which only the entries whose index fits
// the 4-bit field are offered. Without a layer only the free entry.
QList<HeaderFieldEntry> BitrateEntries(std::optional<std::uint8_t> version,
                                       std::optional<std::uint8_t> layer);
// The entry whose text equals the text of the entry selected before the
// rebuild; 0 (the free entry) when none does.
int BitrateSelection(const QList<HeaderFieldEntry>& entries, const QString& previousText);
QList<HeaderFieldEntry> SamplingRateEntries(std::uint8_t version);
QList<HeaderFieldEntry> ExtensionEntries(std::uint8_t layer);

// 0, then every value of the three MPEG-1 tables and 144, ascending (kbit/s).
const std::array<std::int32_t, 21>& FallbackBitrates();

// The header byte with the field's bits replaced by `value`.
inline std::uint8_t ApplyFieldValue(std::uint8_t byte, HeaderField field, std::uint8_t value) {
    const std::uint8_t mask = FieldBits(field).mask;
    return static_cast<std::uint8_t>((byte & ~mask) | (value & mask));
}

// The 1-based number of a frame's last byte from its first byte's number and
// header bytes 2 and 3; nothing when the header gives no length (free format,
// a reserved layer, sampling rate or bit-rate index 15).
std::optional<std::int64_t> FrameLastByte(std::int64_t firstByte, std::uint8_t byte2,
                                          std::uint8_t byte3);

} // namespace kelbrin
