#include "HeaderRewrite.h"

#include "FrameCrc.h"
#include "InPlaceFile.h"
#include "MpegHeader.h"

namespace kelbrin {

namespace {

constexpr int kHeaderSize = 4;
constexpr int kCrcSize = 2;

bool looksLikeHeader(const QByteArray& bytes) {
    return static_cast<std::uint8_t>(bytes.at(0)) == 0xFF &&
           (static_cast<std::uint8_t>(bytes.at(1)) & 0xE0) == 0xE0;
}

HeaderWriteStatus apply(InPlaceFile& file, std::int64_t position, const QByteArray& old,
                        FrameHeaderBytes header) {
    QByteArray bytes(kHeaderSize, '\0');
    bytes[0] = static_cast<char>(0xFF);
    bytes[1] = static_cast<char>(header.byte2 | 0xE0);
    bytes[2] = static_cast<char>(header.byte3);
    bytes[3] = static_cast<char>(header.byte4);
    if (bytes == old)
        return HeaderWriteStatus::Unchanged;

    const bool guardedBytesChange = bytes.mid(2) != old.mid(2);
    const bool wasProtected =
        looksLikeHeader(old) && IsCrcProtected(static_cast<std::uint8_t>(old.at(1)));
    if (guardedBytesChange && wasProtected && IsCrcProtected(header.byte2)) {
        if (mpeg::Layer(header.byte2) != mpeg::kLayer3)
            return HeaderWriteStatus::SkippedProtected;
        const int sideInfoSize = Layer3SideInfoSize(header.byte2, header.byte4);
        const QByteArray side = file.readAt(position + kHeaderSize + kCrcSize, sideInfoSize);
        if (side.size() != sideInfoSize)
            return HeaderWriteStatus::OutsideFile;
        const std::uint16_t crc =
            Layer3Crc(header.byte3, header.byte4,
                      reinterpret_cast<const std::uint8_t*>(side.constData()), sideInfoSize);
        bytes += static_cast<char>(crc >> 8);
        bytes += static_cast<char>(crc & 0xFF);
    }
    if (file.writeAt(position, bytes))
        return HeaderWriteStatus::Written;
    return position + kHeaderSize > file.size() ? HeaderWriteStatus::OutsideFile
                                                : HeaderWriteStatus::Failed;
}

} // namespace

HeaderWriteStatus RewriteFrameHeader(InPlaceFile& file, std::int64_t position,
                                     FrameHeaderBytes header, bool requireHeader) {
    if (position < 0 || position + kHeaderSize > file.size())
        return HeaderWriteStatus::OutsideFile;
    const QByteArray old = file.readAt(position, kHeaderSize);
    if (old.size() != kHeaderSize) // cut short meanwhile, or a failed read
        return position + kHeaderSize > file.size() ? HeaderWriteStatus::OutsideFile
                                                    : HeaderWriteStatus::Failed;
    if (requireHeader && !looksLikeHeader(old))
        return HeaderWriteStatus::NotAHeader;
    return apply(file, position, old, header);
}

HeaderWriteStatus SetPrivateBit(InPlaceFile& file, std::int64_t position, bool bit,
                                std::uint8_t* newByte3) {
    if (position < 0 || position + kHeaderSize > file.size())
        return HeaderWriteStatus::OutsideFile;
    const QByteArray old = file.readAt(position, kHeaderSize);
    if (old.size() != kHeaderSize) // cut short meanwhile, or a failed read
        return position + kHeaderSize > file.size() ? HeaderWriteStatus::OutsideFile
                                                    : HeaderWriteStatus::Failed;
    if (!looksLikeHeader(old))
        return HeaderWriteStatus::NotAHeader;
    FrameHeaderBytes header{static_cast<std::uint8_t>(old.at(1)),
                            static_cast<std::uint8_t>(old.at(2)),
                            static_cast<std::uint8_t>(old.at(3))};
    header.byte3 = static_cast<std::uint8_t>((header.byte3 & 0xFE) | (bit ? 1 : 0));
    const HeaderWriteStatus status = apply(file, position, old, header);
    if (newByte3 &&
        (status == HeaderWriteStatus::Written || status == HeaderWriteStatus::Unchanged))
        *newByte3 = header.byte3;
    return status;
}

} // namespace kelbrin
