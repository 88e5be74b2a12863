#include "FrameRun.h"

#include "MpegHeader.h"

#include <cstring>

namespace kelbrin::mpeg {

FrameRun RunAt(const std::uint8_t* data, std::int64_t size, std::int64_t at, int frames) {
    FrameRun run;
    if (at < 0 || at + 4 > size || !IsCandidate(data + at))
        return run;
    run.byte2 = data[at + 1];
    run.byte3 = data[at + 2];
    std::int64_t pos = at;
    for (int k = 0; k < frames; ++k) {
        run.bitrateIndexes.push_back(BitrateIndex(data[pos + 2]));
        if (k + 1 == frames)
            return run;
        const std::int64_t length = FrameLength(data[pos + 1], data[pos + 2]);
        std::int64_t next = -1;
        for (const std::int64_t candidate : {pos + length, pos + length - 1}) {
            if (candidate > pos && candidate + 4 <= size && IsCandidate(data + candidate) &&
                SameFormat(data[candidate + 1], data[candidate + 2], run.byte2, run.byte3)) {
                next = candidate;
                break;
            }
        }
        if (next < 0)
            return {};
        pos = next;
    }
    return run;
}

FrameRun FirstRun(const std::uint8_t* data, std::int64_t size, std::int64_t from, int frames) {
    for (std::int64_t at = from; at + 4 <= size; ++at) {
        const void* sync = std::memchr(data + at, 0xFF, static_cast<std::size_t>(size - 3 - at));
        if (!sync)
            break;
        at = static_cast<const std::uint8_t*>(sync) - data;
        FrameRun run = RunAt(data, size, at, frames);
        if (!run.bitrateIndexes.empty())
            return run;
    }
    return {};
}

} // namespace kelbrin::mpeg
