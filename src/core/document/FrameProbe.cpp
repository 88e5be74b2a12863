#include "FrameProbe.h"

#include "Id3v2Extent.h"
#include "MpegHeader.h"
#include "SourceReader.h"
#include "cPozycjaPlikow.h"

#include <algorithm>
#include <cstdlib>

namespace kelbrin {

namespace {

// The version, layer and sampling rate that every frame of the main scan must
// share with the reference.
bool sameKind(const std::uint8_t* a, const std::uint8_t* b) {
    return (a[1] & 0xFE) == (b[1] & 0xFE) && (a[2] & 0x0C) == (b[2] & 0x0C);
}

bool candidateAt(const std::uint8_t* buffer, std::int64_t length, std::int64_t pos) {
    return pos >= 0 && pos + 4 <= length && mpeg::IsCandidate(buffer + pos);
}

// A header followed where its length puts them by frames of its kind, as far
// as the bytes read go: a stray sync pattern is not.
bool confirmedAt(const std::uint8_t* buffer, std::int64_t length, std::int64_t pos) {
    constexpr int kFollowers = 2;
    const std::uint8_t* header = buffer + pos;
    for (int i = 0; i < kFollowers; ++i) {
        const std::int32_t step = mpeg::ExactFrameLength(buffer[pos + 1], buffer[pos + 2]);
        if (step <= 0)
            return false;
        pos += step;
        if (pos + 4 > length)
            return true;
        if (!mpeg::IsCandidate(buffer + pos) || !sameKind(buffer + pos, header))
            return false;
    }
    return true;
}

// Where the reference is. The candidate `found` after the run, unless it is of
// another kind than the run and nothing follows it: then a confirmed header of
// the run's kind near where the run puts the next frame, the spot the run
// predicts first. Without one, `found` stays the reference, as it always was.
std::int64_t referenceOfRun(const std::uint8_t* buffer, std::int64_t length, std::int64_t last,
                            std::int64_t found) {
    const std::uint8_t* run = buffer + last;
    if (sameKind(buffer + found, run) || confirmedAt(buffer, length, found))
        return found;
    const std::int64_t spot = last + mpeg::ExactFrameLength(run[1], run[2]);
    for (std::int64_t d = 0; d < FrameProbe::kRunTolerance; ++d) {
        for (const std::int64_t pos : {spot + d, spot - d}) {
            if (pos != found && candidateAt(buffer, length, pos) &&
                sameKind(buffer + pos, run) && confirmedAt(buffer, length, pos))
                return pos;
        }
    }
    return found;
}

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
        if (havePrevious) {
            // A stuffing byte 0xFF just before the next header looks like a
            // header too; the one where the previous frame really ends wins.
            const std::uint8_t* previous = buffer + previousPosition;
            const std::int64_t spot =
                previousPosition + mpeg::ExactFrameLength(previous[1], previous[2]);
            if (spot > pos && spot - pos < FrameProbe::kRunTolerance &&
                candidateAt(buffer, length, spot) && sameKind(buffer + spot, previous)) {
                pos = spot;
                p = buffer + pos;
            }
        }
        if (count == FrameProbe::kRunLength) {
            pos = referenceOfRun(buffer, length, previousPosition, pos);
            p = buffer + pos;
            file.btyFrame2 = p[1];
            file.btyFrame3 = p[2];
            file.lngD1Ramki = mpeg::NominalFrameLength(p[1], p[2]);
            result.found = true;
            result.firstFramePosition = runFirst + 1;
            result.byte2 = p[1];
            result.byte3 = p[2];
            return -1;
        }
        file.btyFrame2 = p[1];
        file.btyFrame3 = p[2];
        file.lngD1Ramki = mpeg::NominalFrameLength(p[1], p[2]);
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
