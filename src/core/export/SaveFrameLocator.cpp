#include "SaveFrameLocator.h"

#include "SaveCopy.h"
#include "SaveFrameMath.h"
#include "core/document/FrameProbe.h"
#include "core/document/SourceReader.h"
#include "core/document/TrailingTags.h"
#include "core/document/cPozycjaPlikow.h"

#include <algorithm>
#include <cstring>

namespace kelbrin {

namespace {
constexpr std::int64_t kBlock = 1 << 16;
constexpr int kChain = 3;                   // frames in a row that prove a frame start
constexpr std::int64_t kBackwardSpan = 8192; // more than two of the longest frames
} // namespace

SaveFrameLocator::SaveFrameLocator(const cPozycjaPlikow& file, const SaveSource& source,
                                   bool useIndex)
    : m_file(file), m_source(source) {
    m_useIndex = useIndex && file.blnLoadedFull && file.Daj_Naglowek_Ilosc() > 0;
    m_ref2 = file.btyFrame2;
    m_ref3 = file.btyFrame3;
    // Tags that cannot be read count as audio: the copy's own reads meet the fault.
    const std::int64_t end =
        AudioEndBeforeTags(source.size(), [&](std::int64_t position, char* to, std::int64_t count) {
            return source.readInto(position, to, count);
        });
    m_audioEnd = end < 0 ? source.size() : end;
    if (file.Daj_Naglowek_Ilosc() > 0) {
        m_first = file.Daj_Naglowek_Offset(1) - 1;
    } else {
        // Not indexed yet: the probe finds the first frame as the scanner did.
        SourceReader reader(file.strFileName);
        cPozycjaPlikow scratch;
        const ProbeResult probe = reader.isOpen() ? FrameProbe::Run(reader, scratch) : ProbeResult{};
        if (!probe.found)
            return;
        m_first = probe.firstFramePosition - 1;
        m_ref2 = probe.byte2;
        m_ref3 = probe.byte3;
    }
    if (m_useIndex) {
        // The audio ends with the last indexed frame, not with junk behind it.
        const std::int64_t last = indexedFrame(file.Daj_Naglowek_Ilosc());
        if (last + 4 > source.size())
            return; // the index promises frames the file no longer holds
        const std::int32_t length = frameLength(last);
        if (length > 0)
            m_audioEnd = std::min(m_audioEnd, last + length);
    }
    m_valid = m_first >= 0 && m_first < m_audioEnd;
}

std::int32_t SaveFrameLocator::frameCount() const {
    return m_useIndex ? m_file.Daj_Naglowek_Ilosc() : 0;
}

std::int64_t SaveFrameLocator::indexedFrame(std::int64_t n) const {
    if (n < 1)
        return m_first;
    if (n > m_file.Daj_Naglowek_Ilosc())
        return m_audioEnd;
    return m_file.Daj_Naglowek_Offset(static_cast<double>(n)) - 1;
}

const std::uint8_t* SaveFrameLocator::bytesAt(std::int64_t position, std::int64_t count) {
    if (position < 0 || position + count > m_source.size())
        return nullptr;
    if (!buffered(position, count)) {
        // Some bytes before the position too, for the backward search.
        const std::int64_t start = std::max<std::int64_t>(0, position - kBlock / 4);
        const std::int64_t length = std::min(kBlock, m_source.size() - start);
        m_block.resize(static_cast<std::size_t>(std::max<std::int64_t>(kBlock, count)));
        m_blockStart = -1;
        m_blockLength = 0;
        if (length < position - start + count || !m_source.readInto(start, m_block.data(), length))
            return nullptr;
        m_blockStart = start;
        m_blockLength = length;
    }
    return m_block.data() + (position - m_blockStart);
}

bool SaveFrameLocator::buffered(std::int64_t position, std::int64_t count) const {
    return m_blockStart >= 0 && position >= m_blockStart &&
           position + count <= m_blockStart + m_blockLength;
}

bool SaveFrameLocator::header(std::int64_t position, std::uint8_t out[4]) {
    // Four bytes outside the search block are read as they are: a whole
    // block for one header would read sixteen thousand times too much.
    if (!buffered(position, 4))
        return position >= 0 && m_source.readInto(position, out, 4);
    std::memcpy(out, m_block.data() + (position - m_blockStart), 4);
    return true;
}

std::int32_t SaveFrameLocator::frameLength(std::int64_t position) {
    std::uint8_t h[4];
    if (position >= m_audioEnd || !header(position, h) || !save_frame::MatchesStream(h, m_ref2, m_ref3))
        return 0;
    const std::int32_t length = save_frame::ExactLength(h[1], h[2]);
    return static_cast<std::int32_t>(std::min<std::int64_t>(length, m_audioEnd - position));
}

int SaveFrameLocator::bitRateIndex(std::int64_t position) {
    const std::uint8_t* h = bytesAt(position, 4);
    return h ? h[2] >> 4 : -1;
}

bool SaveFrameLocator::chainAt(std::int64_t position) {
    std::int64_t at = position;
    for (int i = 0; i < kChain; ++i) {
        std::uint8_t h[4];
        if (at + 4 > m_audioEnd || !header(at, h) || !save_frame::MatchesStream(h, m_ref2, m_ref3))
            return false;
        at += save_frame::ExactLength(h[1], h[2]);
        if (at >= m_audioEnd)
            return true; // the stream's last frames
    }
    return true;
}

std::int64_t SaveFrameLocator::scanForward(std::int64_t from) {
    for (std::int64_t at = std::max(from, m_first); at + 4 <= m_audioEnd; ++at) {
        const std::uint8_t* h = bytesAt(at, 4);
        if (!h)
            return m_audioEnd;
        if (h[0] != 0xFF) {
            // Skip to the next possible sync byte within the buffered block.
            const std::int64_t span = m_blockStart + m_blockLength - at;
            const void* sync = std::memchr(h, 0xFF, static_cast<std::size_t>(span));
            at = sync ? at + (static_cast<const std::uint8_t*>(sync) - h) - 1 : at + span - 1;
            continue;
        }
        if (chainAt(at))
            return at;
    }
    return m_audioEnd;
}

std::int64_t SaveFrameLocator::scanBackward(std::int64_t from, std::int64_t limit) {
    for (std::int64_t at = from; at >= limit; --at) {
        const std::uint8_t* h = bytesAt(at, 4);
        if (h && h[0] == 0xFF && chainAt(at))
            return at;
    }
    return -1;
}

std::int64_t SaveFrameLocator::indexLowerBound(std::int64_t p) const {
    std::int64_t low = 1, high = m_file.Daj_Naglowek_Ilosc() + 1;
    while (low < high) {
        const std::int64_t mid = (low + high) / 2;
        if (indexedFrame(mid) < p)
            low = mid + 1;
        else
            high = mid;
    }
    return low;
}

std::int64_t SaveFrameLocator::atOrAfter(std::int64_t p) {
    if (p <= m_first)
        return m_first;
    if (p >= m_audioEnd)
        return m_audioEnd;
    if (m_useIndex)
        return indexedFrame(indexLowerBound(p));
    return scanForward(p);
}

std::int64_t SaveFrameLocator::nearest(std::int64_t p) {
    const std::int64_t after = atOrAfter(p);
    if (after == p || p <= m_first)
        return after;
    std::int64_t before = -1;
    if (m_useIndex) {
        const std::int64_t n = indexLowerBound(p);
        if (n > 1)
            before = indexedFrame(n - 1);
    } else {
        before = scanBackward(std::min(p, m_audioEnd) - 1, std::max(m_first, p - kBackwardSpan));
    }
    if (before < 0)
        return after;
    return (p - before) < (after - p) ? before : after;
}

std::vector<std::int64_t> SaveFrameLocator::frameStarts(std::int64_t from, std::int64_t to) {
    std::vector<std::int64_t> starts;
    if (m_useIndex) {
        for (std::int64_t n = indexLowerBound(from); n <= m_file.Daj_Naglowek_Ilosc(); ++n) {
            const std::int64_t at = indexedFrame(n);
            if (at >= to)
                break;
            starts.push_back(at);
        }
        return starts;
    }
    std::int64_t at = from;
    while (at < to) {
        const std::int32_t length = frameLength(at);
        if (length <= 0) {
            at = scanForward(at + 1); // junk between frames is copied but is no frame
            continue;
        }
        starts.push_back(at);
        at += length;
    }
    return starts;
}

} // namespace kelbrin
