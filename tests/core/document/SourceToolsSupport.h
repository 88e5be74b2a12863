#pragma once
// Helpers of the tests of the tools that change source files in place: byte
// comparisons in the manner of cmp -l, decoding through ffmpeg, and a write
// host that records progress and can ask for a stop.

#include "core/document/SourceWriteHost.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <cstdint>
#include <functional>

namespace kelbrin::test {

// 0-based positions where two byte arrays differ (the shorter one's length).
QList<std::int64_t> DifferingBytes(const QByteArray& a, const QByteArray& b);

struct Decoded {
    QByteArray samples; // s16le
    QString errors;     // what ffmpeg reported at level "error"
    int exitCode = -1;
};
// Decodes the file to 16-bit samples; with checkCrc every frame's CRC is checked.
Decoded DecodeWithFfmpeg(const QString& path, bool checkCrc = false);

// Copies a test media file into a fresh folder; returns the copy's path.
QString CopyOfMedia(const QString& name);

class RecordingWriteHost : public SourceWriteHost {
public:
    void Begin(std::int64_t maximum) override { maxima.append(maximum); }
    void Progress(std::int64_t value) override {
        values.append(value);
        if (onProgress)
            onProgress(value);
    }
    bool StopRequested() const override { return stop; }
    void End() override { ++ends; }

    QList<std::int64_t> maxima;
    QList<std::int64_t> values;
    int ends = 0;
    bool stop = false;
    std::function<void(std::int64_t)> onProgress;
};

} // namespace kelbrin::test
