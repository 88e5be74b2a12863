#pragma once
// The RIFF/WAVE layout of a codec recording: "RIFF", "WAVE", a "fmt " chunk
// with the codec's format record, a "fact" chunk with the sample count and the
// "data" chunk with the codec's output. Sizes are filled in when the file ends.

#include "platform/codecs/WaveFormat.h"

#include <QByteArray>

class QFileDevice;

namespace kelbrin {

// Size of the "fmt " chunk: 16 for plain PCM, else the 18-byte header and the
// codec's own bytes.
int WaveFmtChunkSize(const WaveFormatEx& format);

struct WaveLayout {
    qint64 factCountPosition = 0;
    qint64 dataSizePosition = 0;
    qint64 dataStart = 0;
};

// The header up to the data; `layout` gets the places of the fields that are
// filled in at the end.
QByteArray WaveHeader(const WaveFormatEx& format, WaveLayout* layout);

// Writes the RIFF size, the sample count and the data size into the open file.
bool PatchWaveSizes(QFileDevice& file, const WaveLayout& layout, quint32 samples);
// The same for a file still being written: no padding, the position stays at
// the end. `data` is the data chunk's length, when not all that follows the header.
bool MarkWaveSizes(QFileDevice& file, const WaveLayout& layout, quint32 samples, qint64 data = -1);

// The largest file a RIFF size field can describe.
constexpr qint64 kMaxRiffFileSize = 0xFFFFFFFFLL;

} // namespace kelbrin
