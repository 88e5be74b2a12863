#include "BeConfig.h"

#include <QtEndian>

namespace kelbrin {

namespace {

void put32(QByteArray& bytes, int offset, std::uint32_t value) {
    qToLittleEndian<quint32>(value, bytes.data() + offset);
}
void put16(QByteArray& bytes, int offset, std::uint16_t value) {
    qToLittleEndian<quint16>(value, bytes.data() + offset);
}
std::uint32_t get32(const QByteArray& bytes, int offset) {
    return qFromLittleEndian<quint32>(bytes.constData() + offset);
}

} // namespace

QByteArray BE_CONFIG::toBytes() const {
    QByteArray bytes(kRecordSize, '\0');
    put32(bytes, 0, dwConfig);
    put32(bytes, 4, dwStructVersion);
    put32(bytes, 8, dwStructSize);
    put32(bytes, 12, dwSampleRate);
    put32(bytes, 16, dwReSampleRate);
    put32(bytes, 20, static_cast<std::uint32_t>(nMode));
    put32(bytes, 24, dwBitrate);
    put32(bytes, 28, dwMaxBitrate);
    put32(bytes, 32, static_cast<std::uint32_t>(nPreset));
    put32(bytes, 36, dwMpegVersion);
    put32(bytes, 40, dwPsyModel);
    put32(bytes, 44, dwEmphasis);
    put32(bytes, 48, static_cast<std::uint32_t>(bPrivate));
    put32(bytes, 52, static_cast<std::uint32_t>(bCRC));
    put32(bytes, 56, static_cast<std::uint32_t>(bCopyright));
    put32(bytes, 60, static_cast<std::uint32_t>(bOriginal));
    put32(bytes, 64, static_cast<std::uint32_t>(bWriteVBRHeader));
    put32(bytes, 68, static_cast<std::uint32_t>(bEnableVBR));
    put16(bytes, 72, static_cast<std::uint16_t>(nVBRQuality));
    put32(bytes, 76, dwVbrAbr_bps);
    put32(bytes, 80, static_cast<std::uint32_t>(nVbrMethod));
    return bytes;
}

BE_CONFIG BE_CONFIG::fromBytes(const QByteArray& source) {
    QByteArray bytes = source.left(kRecordSize);
    bytes.append(QByteArray(kRecordSize - bytes.size(), '\0'));
    BE_CONFIG c;
    c.dwConfig = get32(bytes, 0);
    c.dwStructVersion = get32(bytes, 4);
    c.dwStructSize = get32(bytes, 8);
    c.dwSampleRate = get32(bytes, 12);
    c.dwReSampleRate = get32(bytes, 16);
    c.nMode = static_cast<std::int32_t>(get32(bytes, 20));
    c.dwBitrate = get32(bytes, 24);
    c.dwMaxBitrate = get32(bytes, 28);
    c.nPreset = static_cast<std::int32_t>(get32(bytes, 32));
    c.dwMpegVersion = get32(bytes, 36);
    c.dwPsyModel = get32(bytes, 40);
    c.dwEmphasis = get32(bytes, 44);
    c.bPrivate = static_cast<std::int32_t>(get32(bytes, 48));
    c.bCRC = static_cast<std::int32_t>(get32(bytes, 52));
    c.bCopyright = static_cast<std::int32_t>(get32(bytes, 56));
    c.bOriginal = static_cast<std::int32_t>(get32(bytes, 60));
    c.bWriteVBRHeader = static_cast<std::int32_t>(get32(bytes, 64));
    c.bEnableVBR = static_cast<std::int32_t>(get32(bytes, 68));
    c.nVBRQuality = static_cast<std::int16_t>(qFromLittleEndian<quint16>(bytes.constData() + 72));
    c.dwVbrAbr_bps = get32(bytes, 76);
    c.nVbrMethod = static_cast<std::int32_t>(get32(bytes, 80));
    return c;
}

} // namespace kelbrin
