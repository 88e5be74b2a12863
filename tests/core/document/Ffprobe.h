#pragma once
// ffprobe as the oracle for frame positions and durations.

#include <QList>
#include <QString>
#include <cstdint>

namespace kelbrin::test {

struct FfprobePacket {
    std::int64_t pos = 0; // 0-based; for a frame after junk, where the junk began
    std::int64_t size = 0;
    double duration = 0;
};

// The packets of the file's audio stream; fails the test when ffprobe does not run.
QList<FfprobePacket> FfprobePackets(const QString& path);
double TotalDuration(const QList<FfprobePacket>& packets);

} // namespace kelbrin::test
