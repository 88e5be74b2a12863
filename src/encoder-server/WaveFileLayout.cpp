#include "WaveFileLayout.h"

#include <QFileDevice>
#include <QtEndian>
#include <algorithm>

namespace kelbrin {

namespace {

QByteArray Le32(quint32 value) {
    QByteArray bytes(4, '\0');
    qToLittleEndian<quint32>(value, bytes.data());
    return bytes;
}

bool WriteAt(QFileDevice& file, qint64 position, quint32 value) {
    return file.seek(position) && file.write(Le32(value)) == 4;
}

} // namespace

int WaveFmtChunkSize(const WaveFormatEx& format) {
    if (format.wFormatTag == wave::kPcm)
        return 16;
    return wave::kHeaderSize + std::min<int>(format.cbSize, wave::kMaxExtraSize);
}

QByteArray WaveHeader(const WaveFormatEx& format, WaveLayout* layout) {
    const int fmtSize = WaveFmtChunkSize(format);
    QByteArray header;
    header += "RIFF";
    header += Le32(0);
    header += "WAVE";
    header += "fmt ";
    header += Le32(static_cast<quint32>(fmtSize));
    header += format.toBytes(fmtSize);
    header += "fact";
    header += Le32(4);
    layout->factCountPosition = header.size();
    header += Le32(0);
    header += "data";
    layout->dataSizePosition = header.size();
    header += Le32(0);
    layout->dataStart = header.size();
    return header;
}

bool PatchWaveSizes(QFileDevice& file, const WaveLayout& layout, quint32 samples) {
    if (!file.flush())
        return false;
    const qint64 size = file.size();
    const qint64 data = size - layout.dataStart;
    // Chunks keep an even length; the pad byte is no part of the data.
    if (data % 2 != 0 && (!file.seek(size) || file.write("\0", 1) != 1))
        return false;
    return MarkWaveSizes(file, layout, samples, data);
}

bool MarkWaveSizes(QFileDevice& file, const WaveLayout& layout, quint32 samples, qint64 data) {
    if (!file.flush())
        return false;
    const qint64 size = file.size();
    if (data < 0)
        data = size - layout.dataStart;
    bool ok = WriteAt(file, 4, static_cast<quint32>(size - 8));
    ok = WriteAt(file, layout.factCountPosition, samples) && ok;
    ok = WriteAt(file, layout.dataSizePosition, static_cast<quint32>(data)) && ok;
    return file.seek(size) && file.flush() && ok;
}

} // namespace kelbrin
