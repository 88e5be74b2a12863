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
    if (result.outcome == FrameScanOutcome::Complete && buildIndex)
        m_file.Wyrownaj();
    return result;
}

FrameScan::Pass FrameScan::walk(bool& buildIndex, FrameScanResult& result) {
    const bool building = buildIndex;
    std::int64_t pos = m_request.firstFrame;
    if (m_request.trackGiven && building && m_file.dblMaxOffsetLoaded > 0)
        pos = m_file.dblMaxOffsetLoaded;
    const std::int64_t referenceLength =
        m_lengths[mpeg::BitrateIndex(m_request.reference3)][mpeg::Padding(m_request.reference3)];
    const std::int64_t scanEnd =
        building ? m_request.audioEnd
                 : std::min(m_request.audioEnd,
                            m_request.firstFrame + kConstantRateCheckFrames * referenceLength);
    // A frame at or before the last indexed one is already in the index: a
    // resumed or restarted walk must not append it again.
    std::int64_t lastIndexed = m_file.Daj_Naglowek_Ilosc() > 0
                                   ? m_file.Daj_Naglowek_Offset(m_file.Daj_Naglowek_Ilosc())
                                   : 0;
    std::int32_t previousBitrate = 0;
    m_rejections = 0;

    while (pos <= scanEnd) {
        if (m_host.blnScanFailed) {
            result.outcome = FrameScanOutcome::Stopped;
            return Pass::Done;
        }
        const std::int64_t offset = pos - 1;
        std::int64_t buffered = m_reader.fill(offset, 4);
        if (m_reader.failed()) {
            result.outcome = FrameScanOutcome::ReadFailed;
            return Pass::Done;
        }
        if (buffered == 0)
            break; // the file got shorter under us
        countReads(1, pos);
        const std::uint8_t* h = m_reader.data(offset);
        if (buffered < 4 || !matchesReference(h)) {
            if (buffered >= 4 && h[0] == 0xFF && otherFormatBegins(offset)) {
                result.formatChangeAt = pos;
                break;
            }
            // The check may have refilled the buffer.
            buffered = m_reader.fill(offset, 4);
            if (m_reader.failed() || buffered == 0) {
                result.outcome = FrameScanOutcome::ReadFailed;
                return Pass::Done;
            }
            h = m_reader.data(offset);
            reject(1);
            // Positions up to the next 0xFF cannot start a header: take them
            // as rejected in one step.
            if (h[0] != 0xFF) {
                const std::int64_t span = std::min(buffered, scanEnd - pos + 1);
                const void* sync = span > 1 ? std::memchr(h + 1, 0xFF, span - 1) : nullptr;
                const std::int64_t skipped =
                    sync ? static_cast<const std::uint8_t*>(sync) - h - 1 : span - 1;
                if (skipped > 0) {
                    pos += skipped;
                    reject(skipped);
                    countReads(skipped, pos);
                }
            }
            ++pos;
            continue;
        }
        const std::uint8_t byte2 = h[1];
        const std::uint8_t byte3 = h[2];
        const std::uint8_t byte4 = h[3];
        const int bitrateIndex = mpeg::BitrateIndex(byte3);
        std::int32_t length = m_lengths[bitrateIndex][mpeg::Padding(byte3)];
        // A frame the audio's end cuts short (a file cut off, a tag right
        // after it) is no frame: only whole frames are indexed. Layers II and
        // III may be one byte shorter than their rounded length.
        const std::int32_t rounding = mpeg::Layer(byte2) == mpeg::kLayer1 ? 0 : 1;
        if (offset + length - rounding > m_request.audioEnd) {
            reject(1);
            ++pos;
            continue;
        }
        // After a stretch of rejected bytes a lone sync pattern may be junk:
        // the frame must lead to another one.
        if (m_rejections >= 2 && !followedByFrame(offset, length)) {
            reject(1);
            ++pos;
            continue;
        }
        m_rejections = 0;
        const std::int32_t bitrate = m_bitrates[bitrateIndex];
        if (previousBitrate != 0 && !m_file.blnVBR && bitrate != previousBitrate) {
            m_file.blnVBR = true;
            buildIndex = true;
            return Pass::Restart;
        }
        previousBitrate = bitrate;
        if (mpeg::Padding(byte3))
            result.paddedFrameSeen = true;
        if (pos == m_request.firstFrame && building)
            m_file.Oszacuj(m_request.audioEnd);
        if (m_request.trackGiven && building) {
            m_file.dblMaxOffsetLoaded = std::max(m_file.dblMaxOffsetLoaded, pos);
            m_file.lngMaxFrameLoaded =
                std::max(m_file.lngMaxFrameLoaded, m_file.Daj_Naglowek_Ilosc());
            if (rangeCovered()) {
                result.outcome = FrameScanOutcome::Partial;
                return Pass::Done;
            }
        }
        if (building && pos > lastIndexed) {
            m_file.Add_Naglowek(pos, byte2, byte3, byte4);
            lastIndexed = pos;
        }
        if (++m_accepted > kFramesForFrameColour)
            setColour(FrameScanHost::kFrameColour);
        if (length < 10)
            length = 2;
        // The next read lands one byte before the predicted header (or on it,
        // when rounding made the length one byte long).
        pos += length - 1;
        if (building && !m_request.trackGiven && !m_request.frameByFrame &&
            m_colour == FrameScanHost::kFrameColour)
            walkRegularFrames(pos, scanEnd, lastIndexed, previousBitrate, result);
    }
    result.outcome = FrameScanOutcome::Complete;
    return Pass::Done;
}

} // namespace kelbrin
