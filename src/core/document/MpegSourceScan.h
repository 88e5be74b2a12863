#pragma once
// Scans one MPEG source file into its open-file record: probe, limits from the
// track's range, ID3v1 end, main scan, then the record's duration and
// loaded-in-full flag. Failures show their message here.

#include <QString>
#include <cstdint>

namespace kelbrin {

class cPozycjaMP3;
class cPozycjaPlikow;
class FrameScanHost;

struct ScanLimits {
    std::int32_t neededFrame = 0;    // 0 = no limit
    std::int64_t neededPosition = 0; // 0 = no limit
};

// How far a track's range needs the index of `file` (a file of `fileSize`
// bytes) to reach.
ScanLimits LimitsFromTrack(const cPozycjaMP3& track, const cPozycjaPlikow& file, bool noTimeLimit,
                           std::int64_t fileSize);

// True when the file was scanned (fully, or as far as the track needs).
bool ScanMpegSource(FrameScanHost& host, cPozycjaPlikow& file, const QString& path,
                    bool& buildIndex, const cPozycjaMP3* track, bool noTimeLimit);

} // namespace kelbrin
