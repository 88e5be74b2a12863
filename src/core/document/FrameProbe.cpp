#include "FrameProbe.h"

#include "Id3v2Extent.h"
#include "MpegHeader.h"
#include "SourceReader.h"
#include "cPozycjaPlikow.h"

#include <algorithm>
#include <cstdlib>

namespace kelbrin {

namespace {

// Looks for the run in buffer[0, length). Returns the offset of an ID3v2 tag
// when one must be skipped first, else -1 (result.found tells whether a
// reference was found; its position is then relative to the buffer).
std::int64_t findRun(const std::uint8_t* buffer, std::int64_t length, bool tagSkipped,
                     cPozycjaPlikow& file, ProbeResult& result) {
    int count = 0;
    bool havePrevious = false;
    std::int64_t previousPosition = 0;
    std::int64_t previousLength = 0;
    std::int64_t runFirst = 0;
    // Only the bytes actually read are examined: a short file or a tag that
    // claims to run past the end leaves nothing stale to find frames in.
    for (std::int64_t pos = 0; pos + 4 <= length; ++pos) {
        const std::uint8_t* p = buffer + pos;
        if (!tagSkipped && pos + 10 <= length) {
            if (Id3v2ClaimedLength(p) >= 0)
                return pos;
        }
        if (!mpeg::IsCandidate(p))
            continue;
        file.btyFrame2 = p[1];
        file.btyFrame3 = p[2];
        file.lngD1Ramki = mpeg::NominalFrameLength(p[1], p[2]);
        if (count == FrameProbe::kRunLength) {
            result.found = true;
            result.firstFramePosition = runFirst + 1;
            result.byte2 = p[1];
            result.byte3 = p[2];
            return -1;
        }
        // A candidate that does not continue the run breaks it. The search
        // goes back to the byte after the run's first candidate, so a stray
        // sync whose length jumped over real frames cannot cost them.
        if (havePrevious &&
            std::llabs(pos - (previousPosition + previousLength)) >= FrameProbe::kRunTolerance) {
            count = 0;
            havePrevious = false;
            pos = runFirst; // the loop steps on to runFirst + 1
            continue;
        }
        previousPosition = pos;
        previousLength = mpeg::UnpaddedFrameLength(p[1], p[2]);
        havePrevious = true;
        if (count == 0)
            runFirst = pos;
        ++count;
        // Go on one byte before the next frame's predicted header.
        pos += std::max<std::int64_t>(mpeg::FrameLength(p[1], p[2]) - 2, 0);
    }
    return -1;
}

} // namespace

ProbeResult FrameProbe::Run(SourceReader& reader, cPozycjaPlikow& file) {
    ProbeResult result;
    std::int64_t base = 0; // file offset of the bytes examined
    bool tagSkipped = false;
    for (;;) {
        // The reader's block: the walk that follows goes on from the same bytes.
        const std::int64_t buffered = reader.fill(base, kProbeBytes);
        if (reader.failed()) {
            result.readFailed = true;
            return result;
        }
        const std::int64_t length = std::min(buffered, kProbeBytes);
        const std::int64_t tag = findRun(reader.data(base), length, tagSkipped, file, result);
        if (tag < 0) {
            if (result.found)
                result.firstFramePosition += base;
            return result;
        }
        // The probe starts again on the bytes after the tag.
        base = Id3v2AudioStart(reader, base + tag);
        if (reader.failed()) {
            result.readFailed = true;
            return result;
        }
        tagSkipped = true;
    }
}

} // namespace kelbrin
