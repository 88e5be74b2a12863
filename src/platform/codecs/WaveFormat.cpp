#include "WaveFormat.h"

#include <QtEndian>
#include <algorithm>

namespace kelbrin {

QByteArray WaveFormatEx::toBytes(int size) const {
    QByteArray bytes(std::max(size, wave::kHeaderSize), '\0');
    char* p = bytes.data();
    qToLittleEndian<quint16>(wFormatTag, p);
    qToLittleEndian<quint16>(nChannels, p + 2);
    qToLittleEndian<quint32>(nSamplesPerSec, p + 4);
    qToLittleEndian<quint32>(nAvgBytesPerSec, p + 8);
    qToLittleEndian<quint16>(nBlockAlign, p + 12);
    qToLittleEndian<quint16>(wBitsPerSample, p + 14);
    qToLittleEndian<quint16>(cbSize, p + 16);
    const qsizetype room = bytes.size() - wave::kHeaderSize;
    std::copy_n(extra.constData(), std::min(room, extra.size()), p + wave::kHeaderSize);
    if (size < wave::kHeaderSize)
        bytes.truncate(size);
    return bytes;
}

QByteArray WaveFormatEx::toRecord() const { return toBytes(wave::kRecordSize); }

WaveFormatEx WaveFormatEx::fromRecord(const QByteArray& record) {
    QByteArray bytes = record.left(wave::kRecordSize);
    bytes.append(QByteArray(wave::kRecordSize - bytes.size(), '\0'));
    const char* p = bytes.constData();
    WaveFormatEx f;
    f.wFormatTag = qFromLittleEndian<quint16>(p);
    f.nChannels = qFromLittleEndian<quint16>(p + 2);
    f.nSamplesPerSec = qFromLittleEndian<quint32>(p + 4);
    f.nAvgBytesPerSec = qFromLittleEndian<quint32>(p + 8);
    f.nBlockAlign = qFromLittleEndian<quint16>(p + 12);
    f.wBitsPerSample = qFromLittleEndian<quint16>(p + 14);
    f.cbSize = qFromLittleEndian<quint16>(p + 16);
    f.extra = bytes.mid(wave::kHeaderSize);
    return f;
}

WaveFormatEx WaveFormatEx::pcm(std::uint16_t channels, std::uint32_t rate, std::uint16_t bits) {
    WaveFormatEx f;
    f.wFormatTag = wave::kPcm;
    f.nChannels = channels;
    f.nSamplesPerSec = rate;
    f.wBitsPerSample = bits;
    f.nBlockAlign = static_cast<std::uint16_t>(channels * ((bits + 7) / 8));
    f.nAvgBytesPerSec = rate * f.nBlockAlign;
    return f;
}

bool WaveFormatEx::sameFormat(const WaveFormatEx& o) const {
    if (wFormatTag != o.wFormatTag || nChannels != o.nChannels || nSamplesPerSec != o.nSamplesPerSec ||
        nAvgBytesPerSec != o.nAvgBytesPerSec || nBlockAlign != o.nBlockAlign ||
        wBitsPerSample != o.wBitsPerSample || cbSize != o.cbSize)
        return false;
    const qsizetype n = std::min<qsizetype>(cbSize, wave::kMaxExtraSize);
    return extra.left(n).leftJustified(n, '\0') == o.extra.left(n).leftJustified(n, '\0');
}

} // namespace kelbrin
