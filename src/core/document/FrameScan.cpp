#include "FrameScan.h"

#include "FrameRun.h"
#include "FrameScanHost.h"
#include "MpegHeader.h"
#include "SourceReader.h"
#include "cPozycjaPlikow.h"

#include <algorithm>
#include <cstring>

namespace kelbrin {

FrameScan::FrameScan(SourceReader& reader, cPozycjaPlikow& file, FrameScanHost& host,
                     const FrameScanRequest& request)
    : m_reader(reader), m_file(file), m_host(host), m_request(request),
      m_syncVersionLayer(static_cast<std::uint8_t>(0xE0 | (request.reference2 & 0x1E))),
      m_sampling(request.reference3 & 0x0C) {
    const std::uint8_t sampling = request.reference3 & 0x0C;
    for (int index = 0; index < 16; ++index) {
        for (int padding = 0; padding < 2; ++padding) {
            const auto byte3 = static_cast<std::uint8_t>((index << 4) | sampling | (padding << 1));
            m_lengths[index][padding] = mpeg::FrameLength(request.reference2, byte3);
            m_longest = std::max(m_longest, m_lengths[index][padding]);
        }
        m_bitrates[index] =
            mpeg::Bitrate(request.reference2, static_cast<std::uint8_t>((index << 4) | sampling));
    }
    fillStrideTable(request.reference2);
}

// True when a matching header follows the frame at `offset` where its length
// puts the next one (or one byte later, for a length rounded up), or when the
// frame reaches the end of the audio.
bool FrameScan::followedByFrame(std::int64_t offset, std::int32_t length) {
    const std::int64_t next = offset + length - 1;
    if (next + 4 > m_request.audioEnd)
        return true;
    const std::int64_t buffered = m_reader.fill(offset, length + 4);
    for (std::int64_t at = next; at <= next + 1; ++at) {
        if (at + 4 <= m_request.audioEnd && at + 4 <= offset + buffered &&
            matchesReference(m_reader.data(at)))
            return true;
    }
    return false;
}

// True when frames of another version, layer or sampling rate start at
// `offset`: the stream changed its format there, and nothing after it can be
// walked with the reference's lengths.
bool FrameScan::otherFormatBegins(std::int64_t offset) {
    constexpr int runFrames = 3;
    constexpr std::int64_t runBytes = 8192; // three of the longest frames, and more
    const std::uint8_t* h = m_reader.data(offset);
    if (!mpeg::IsCandidate(h) ||
        mpeg::SameFormat(h[1], h[2], m_request.reference2, m_request.reference3))
        return false;
    const std::int64_t wanted = std::min(runBytes, m_request.audioEnd - offset);
    const std::int64_t buffered = m_reader.fill(offset, wanted);
    return !mpeg::RunAt(m_reader.data(offset), std::min(buffered, wanted), 0, runFrames)
                .bitrateIndexes.empty();
}

bool FrameScan::rangeCovered() const {
    const bool frameLimit = m_request.neededFrame > 0;
    const bool positionLimit = m_request.neededPosition > 0;
    if (!frameLimit && !positionLimit)
        return false;
    // Both estimates of where the range ends must be passed: the position one
    // alone falls short when a tag precedes the audio.
    if (frameLimit && m_file.lngMaxFrameLoaded <= m_request.neededFrame)
        return false;
    if (positionLimit && m_file.dblMaxOffsetLoaded <= m_request.neededPosition)
        return false;
    return true;
}

void FrameScan::countReads(std::int64_t reads, std::int64_t position) {
    const std::int64_t before = m_reads / kReadsPerProgress;
    m_reads += reads;
    if (m_reads / kReadsPerProgress != before)
        m_host.UstawProgress(position);
}

void FrameScan::setColour(std::uint32_t colour) {
    if (colour != m_colour) {
        m_colour = colour;
        m_host.SetProgressColour(colour);
    }
}

void FrameScan::reject(std::int64_t count) {
    m_rejections += count;
    if (m_rejections > kRejectionsForSearchColour) {
        setColour(FrameScanHost::kSearchColour);
        m_accepted = 0;
    }
}

FrameScanResult FrameScan::Run(bool& buildIndex) {
    FrameScanResult result;
    while (walk(buildIndex, result) == Pass::Restart) {
    }
    m_reader.readAhead(false);
    if (result.outcome == FrameScanOutcome::Complete && buildIndex)
        m_file.Wyrownaj();
    return result;
}

FrameScan::Pass FrameScan::walk(bool& buildIndex, FrameScanResult& result) {
    Walk w = startWalk(buildIndex);
    m_rejections = 0;
    // An indexing run reads on to the audio's end (or the track's).
    m_reader.readAhead(w.building);
    for (;;) {
        const Flow flow = w.pos <= w.scanEnd ? step(w, buildIndex, result) : Flow::End;
        if (flow == Flow::Go)
            continue;
        if (flow == Flow::Restart)
            return Pass::Restart;
        if (flow == Flow::End)
            result.outcome = FrameScanOutcome::Complete;
        return Pass::Done;
    }
}

FrameScan::Walk FrameScan::startWalk(bool building) const {
    Walk w;
    w.building = building;
    w.pos = m_request.firstFrame;
    if (m_request.trackGiven && building && m_file.dblMaxOffsetLoaded > 0)
        w.pos = m_file.dblMaxOffsetLoaded;
    const std::int64_t referenceLength =
        m_lengths[mpeg::BitrateIndex(m_request.reference3)][mpeg::Padding(m_request.reference3)];
    w.scanEnd = building
                    ? m_request.audioEnd
                    : std::min(m_request.audioEnd,
                               m_request.firstFrame + kConstantRateCheckFrames * referenceLength);
    // A frame at or before the last indexed one is already in the index: a
    // resumed or restarted walk must not append it again.
    w.lastIndexed = m_file.Daj_Naglowek_Ilosc() > 0
                        ? m_file.Daj_Naglowek_Offset(m_file.Daj_Naglowek_Ilosc())
                        : 0;
    return w;
}

// One read of the walk: a header taken, or one or more positions rejected.
FrameScan::Flow FrameScan::step(Walk& w, bool& buildIndex, FrameScanResult& result) {
    if (m_host.blnScanFailed)
        return stop(result, FrameScanOutcome::Stopped);
    const std::int64_t offset = w.pos - 1;
    const std::int64_t buffered = m_reader.fill(offset, 4);
    if (m_reader.failed())
        return stop(result, FrameScanOutcome::ReadFailed);
    if (buffered == 0)
        return stop(result, FrameScanOutcome::Shrunk);
    countReads(1, w.pos);
    const std::uint8_t* h = m_reader.data(offset);
    if (buffered < 4 || !matchesReference(h))
        return rejectPosition(w, buffered, result);
    return takeHeader(w, h, buildIndex, result);
}

FrameScan::Flow FrameScan::rejectPosition(Walk& w, std::int64_t buffered, FrameScanResult& result) {
    const std::int64_t offset = w.pos - 1;
    const std::uint8_t* h = m_reader.data(offset);
    if (buffered >= 4 && h[0] == 0xFF && otherFormatBegins(offset)) {
        result.formatChangeAt = w.pos;
        return Flow::End;
    }
    // The check may have refilled the buffer.
    buffered = m_reader.fill(offset, 4);
    if (m_reader.failed())
        return stop(result, FrameScanOutcome::ReadFailed);
    if (buffered == 0)
        return stop(result, FrameScanOutcome::Shrunk);
    h = m_reader.data(offset);
    reject(1);
    if (h[0] != 0xFF)
        skipToNextSync(w, h, buffered);
    ++w.pos;
    return Flow::Go;
}

// Positions up to the next 0xFF cannot start a header: takes them as rejected
// in one step, leaving `w.pos` on the last of them.
void FrameScan::skipToNextSync(Walk& w, const std::uint8_t* h, std::int64_t buffered) {
    const std::int64_t span = std::min(buffered, w.scanEnd - w.pos + 1);
    const void* sync = span > 1 ? std::memchr(h + 1, 0xFF, span - 1) : nullptr;
    const std::int64_t skipped = sync ? static_cast<const std::uint8_t*>(sync) - h - 1 : span - 1;
    if (skipped > 0) {
        w.pos += skipped;
        reject(skipped);
        countReads(skipped, w.pos);
    }
}

FrameScan::Flow FrameScan::takeHeader(Walk& w, const std::uint8_t* h, bool& buildIndex,
                                      FrameScanResult& result) {
    const std::int64_t offset = w.pos - 1;
    const std::uint8_t header[3] = {h[1], h[2], h[3]}; // a check below may refill the block
    const int bitrateIndex = mpeg::BitrateIndex(header[1]);
    const std::int32_t length = m_lengths[bitrateIndex][mpeg::Padding(header[1])];
    // After a stretch of rejected bytes a lone sync pattern may be junk: the
    // frame must lead to another one.
    if (!wholeFrameAt(offset, length, header[0]) ||
        (m_rejections >= 2 && !followedByFrame(offset, length))) {
        reject(1);
        ++w.pos;
        return Flow::Go;
    }
    m_rejections = 0;
    const std::int32_t bitrate = m_bitrates[bitrateIndex];
    if (w.previousBitrate != 0 && !m_file.blnVBR && bitrate != w.previousBitrate) {
        m_file.blnVBR = true;
        buildIndex = true;
        return Flow::Restart;
    }
    w.previousBitrate = bitrate;
    if (mpeg::Padding(header[1]))
        result.paddedFrameSeen = true;
    const Flow flow = recordFrame(w, header, result);
    if (flow == Flow::Go)
        advance(w, length, result);
    return flow;
}

// A frame the audio's end cuts short (a file cut off, a tag right after it)
// is no frame: only whole frames are indexed. Layers II and III may be one
// byte shorter than their rounded length.
bool FrameScan::wholeFrameAt(std::int64_t offset, std::int32_t length, std::uint8_t byte2) const {
    const std::int32_t rounding = mpeg::Layer(byte2) == mpeg::kLayer1 ? 0 : 1;
    return offset + length - rounding <= m_request.audioEnd;
}

// Takes the frame at the walk's position: the index, the track's range, the
// colour. `header` holds its bytes 2 to 4.
FrameScan::Flow FrameScan::recordFrame(Walk& w, const std::uint8_t* header,
                                       FrameScanResult& result) {
    if (w.pos == m_request.firstFrame && w.building)
        m_file.Oszacuj(m_request.audioEnd);
    if (m_request.trackGiven && w.building) {
        m_file.dblMaxOffsetLoaded = std::max(m_file.dblMaxOffsetLoaded, w.pos);
        m_file.lngMaxFrameLoaded = std::max(m_file.lngMaxFrameLoaded, m_file.Daj_Naglowek_Ilosc());
        if (rangeCovered())
            return stop(result, FrameScanOutcome::Partial);
    }
    if (w.building && w.pos > w.lastIndexed) {
        m_file.Add_Naglowek(w.pos, header[0], header[1], header[2]);
        w.lastIndexed = w.pos;
    }
    if (++m_accepted > kFramesForFrameColour)
        setColour(FrameScanHost::kFrameColour);
    return Flow::Go;
}

// Moves past the frame just taken; then, on a full indexing run with frames
// coming regularly, strides through as many as it can.
void FrameScan::advance(Walk& w, std::int32_t length, FrameScanResult& result) {
    if (length < 10)
        length = 2;
    // The next read lands one byte before the predicted header (or on it,
    // when rounding made the length one byte long).
    w.pos += length - 1;
    if (w.building && !m_request.trackGiven && !m_request.frameByFrame &&
        m_colour == FrameScanHost::kFrameColour)
        walkRegularFrames(w, result);
}

} // namespace kelbrin
