#include "RateSampler.h"

#include "FrameRun.h"
#include "MpegHeader.h"
#include "SourceReader.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace kelbrin {

namespace {

bool textAt(const std::uint8_t* frame, std::int64_t size, std::int64_t at, const char* text) {
    return at + 4 <= size && std::memcmp(frame + at, text, 4) == 0;
}

// Bytes of Layer III side information after the header (and its CRC).
std::int64_t sideInfoBytes(std::uint8_t byte2, std::uint8_t byte4) {
    const bool mono = (byte4 & 0xC0) == 0xC0;
    if (mpeg::Version(byte2) == mpeg::kVersionMpeg1)
        return mono ? 17 : 32;
    return mono ? 9 : 17;
}

} // namespace

bool CarriesVbrHeader(const std::uint8_t* frame, std::int64_t size) {
    if (size < 4 || !mpeg::IsCandidate(frame) || mpeg::Layer(frame[1]) != mpeg::kLayer3)
        return false;
    const std::int64_t side = sideInfoBytes(frame[1], frame[3]);
    // Some encoders leave the CRC's two bytes out of the count: both places count.
    if (textAt(frame, size, 4 + side, "Xing") || textAt(frame, size, 6 + side, "Xing"))
        return true;
    return textAt(frame, size, 36, "VBRI");
}

RateSample RateSampler::Run(SourceReader& reader, std::int64_t firstFrame, std::int64_t audioEnd,
                            std::uint8_t reference2, std::uint8_t reference3) {
    RateSample sample;
    const std::int64_t start = firstFrame - 1;
    if (start < 0 || audioEnd <= start)
        return sample;
    std::vector<std::uint8_t> window(static_cast<std::size_t>(kWindowBytes));
    const auto readWindow = [&](std::int64_t offset) -> std::int64_t {
        const std::int64_t wanted = std::min(kWindowBytes, audioEnd - offset);
        const std::int64_t got = reader.readAt(offset, window.data(), wanted);
        if (got < 0)
            sample.readFailed = true;
        return got;
    };

    const std::int64_t first = readWindow(start);
    if (first < 0)
        return sample;
    if (CarriesVbrHeader(window.data(), first)) {
        sample.variable = true;
        return sample;
    }

    const int referenceIndex = mpeg::BitrateIndex(reference3);
    const std::int64_t span = std::max<std::int64_t>(audioEnd - start - kWindowBytes, 0);
    const int samples = span == 0 ? 1 : kSamples;
    for (int k = 0; k < samples; ++k) {
        const std::int64_t offset = start + (samples > 1 ? span * k / (samples - 1) : 0);
        const std::int64_t got = readWindow(offset);
        if (got < 0)
            return sample;
        const mpeg::FrameRun run = mpeg::FirstRun(window.data(), got, 0, kRunFrames);
        if (run.bitrateIndexes.empty())
            continue; // a tag or junk: nothing to tell
        if (!mpeg::SameFormat(run.byte2, run.byte3, reference2, reference3)) {
            sample.otherFormat = true;
            continue;
        }
        for (const int index : run.bitrateIndexes) {
            if (index != referenceIndex) {
                sample.variable = true;
                return sample;
            }
        }
    }
    return sample;
}

} // namespace kelbrin
