#include "SaveRange.h"

#include "SaveFrameLocator.h"
#include "core/document/MpegHeader.h"
#include "core/document/cPozycjaPlikow.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace kelbrin {

namespace {

// Time fields keep whole milliseconds: an end this close to the source's
// length is its end.
constexpr double kEndTolerance = 0.001;

struct FrameRange {
    std::int64_t first = 1; // first frame written
    std::int64_t end = 0;   // first frame not written; 0 = to the audio end
};

FrameRange framesOf(const ExportPiece& piece, const cPozycjaPlikow& file, double sourceSeconds) {
    FrameRange range;
    if (piece.rangeInFrames) {
        range.first = std::max<std::int64_t>(1, piece.frameFrom);
        range.end = std::max<std::int64_t>(0, piece.frameTo);
        return range;
    }
    range.first = std::max<std::int64_t>(1, FrameFromSeconds(file, piece.startSeconds));
    const bool toTheEnd = sourceSeconds > 0 && piece.endSeconds >= sourceSeconds - kEndTolerance;
    range.end = toTheEnd ? 0 : FrameFromSeconds(file, piece.endSeconds);
    // An end inside the first frame is no end of 0: that would run to the
    // end of the source and write all of it.
    if (range.end == 0 && !toTheEnd && piece.endSeconds > 0)
        range.end = 1;
    return range;
}

} // namespace

std::int64_t FrameFromSeconds(const cPozycjaPlikow& file, double seconds) {
    const std::int32_t rate = HeaderSampleRate(file);
    if (rate <= 0 || !(seconds > 0))
        return 0;
    const double frames = seconds * rate / mpeg::SamplesPerFrame(file.btyFrame2);
    if (frames >= static_cast<double>(std::numeric_limits<std::int32_t>::max()))
        return std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int64_t>(std::trunc(frames));
}

std::int32_t TurboFrameLength(const cPozycjaPlikow& file, TurboLength choice) {
    const std::int32_t slot = mpeg::Layer(file.btyFrame2) == mpeg::kLayer1 ? 4 : 1;
    switch (choice) {
    case TurboLength::EveryFramePadded:
        return file.lngD1Ramki + slot;
    case TurboLength::NoFramePadded:
        return file.lngD1Ramki;
    default:
        return file.lngD1Ramki + (mpeg::Padding(file.btyFrame3) ? slot : 0);
    }
}

bool RangeIsEmpty(const ExportPiece& piece, const cPozycjaPlikow& file) {
    const FrameRange range = framesOf(piece, file, file.sngCzasTrwania);
    return range.end != 0 && range.end <= range.first;
}

namespace {

double frameSeconds(const cPozycjaPlikow& file) {
    const std::int32_t rate = HeaderSampleRate(file);
    return rate > 0 ? static_cast<double>(mpeg::SamplesPerFrame(file.btyFrame2)) / rate : 0;
}

} // namespace

bool ReachesPastTheEnd(const ExportPiece& piece, const cPozycjaPlikow& file) {
    const std::int64_t count = file.Daj_Naglowek_Ilosc();
    if (piece.rangeInFrames)
        return piece.frameFrom > count || piece.frameTo > count + 1;
    const double frame = frameSeconds(file);
    const double indexSeconds = static_cast<double>(count) * frame;
    return piece.endSeconds > indexSeconds + frame + kEndTolerance ||
           piece.startSeconds >= indexSeconds + kEndTolerance;
}

PieceBytes ExactPieceBytes(const ExportPiece& piece, const cPozycjaPlikow& file,
                           SaveFrameLocator& frames) {
    const std::int64_t count = frames.frameCount();
    const double indexSeconds = count > 0 ? static_cast<double>(count) * frameSeconds(file) : 0;
    const FrameRange range = framesOf(piece, file, indexSeconds);
    PieceBytes bytes;
    if (range.first > count)
        return bytes; // starts past the last frame: nothing to write
    bytes.start = frames.indexedFrame(range.first);
    bytes.end = (range.end == 0 || range.end > count) ? frames.audioEnd()
                                                       : frames.indexedFrame(range.end);
    return bytes;
}

PieceBytes TurboPieceBytes(const ExportPiece& piece, const cPozycjaPlikow& file,
                           SaveFrameLocator& frames, std::int32_t frameLength) {
    const FrameRange range = framesOf(piece, file, file.sngCzasTrwania);
    const auto startOf = [&](std::int64_t n) {
        const double estimate = static_cast<double>(frames.firstFrame()) +
                                static_cast<double>(n - 1) * std::max(frameLength, 1);
        if (estimate >= static_cast<double>(frames.audioEnd()))
            return frames.audioEnd();
        return frames.nearest(static_cast<std::int64_t>(estimate));
    };
    PieceBytes bytes;
    bytes.start = startOf(range.first);
    bytes.end = range.end == 0 ? frames.audioEnd() : startOf(range.end);
    return bytes;
}

} // namespace kelbrin

