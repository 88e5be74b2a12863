#include "ConversionLoop.h"

#include "ServerTexts.h"

#include "encoder-server/mixer/Mikser.h"

#include "platform/media/Clock.h"

#include <QFileInfo>
#include <QRandomGenerator>
#include <QStorageInfo>
#include <QThread>
#include <algorithm>

namespace kelbrin {

using namespace handshake;

ConversionLoop::ConversionLoop(ServerHandshake& handshake, QFile& buffer, BlockEncoder& encoder,
                               RecorderOutput& output, const LoopOptions& options, Clock& clock)
    : m_handshake(handshake), m_buffer(buffer), m_encoder(encoder), m_output(output), m_options(options),
      m_clock(clock),
      m_freeSpace([](const QString& folder) {
          QStorageInfo info(folder);
          return info.isValid() ? info.bytesAvailable() : qint64(-1);
      }) {}

ConversionLoop::~ConversionLoop() {
    if (m_timer)
        m_clock.cancel(m_timer);
}

qint64 ConversionLoop::freeSpaceThreshold() const {
    // Room for twenty blocks of output, and never less than the floor.
    return std::max(20 * m_encoder.maxOutput(m_options.blockSize), m_options.freeSpaceFloor);
}

void ConversionLoop::schedule(int delayMs) {
    if (m_timer)
        m_clock.cancel(m_timer); // the one waiting gives way to this one
    m_timerDelayMs = delayMs;
    m_timer = m_clock.callAfter(delayMs, [this] {
        m_timer = 0;
        pass();
    });
}

void ConversionLoop::start(int delayMs) {
    m_running = true;
    m_started = false;
    m_watch = m_handshake.watchEditor([this] { editorWrote(); });
    schedule(delayMs);
}

void ConversionLoop::editorWrote() {
    if (!m_running || !m_started)
        return; // the first pass keeps its time
    if (m_passDepth > 0) {
        m_wroteInPass = true;
        return;
    }
    if (m_timer && m_timerDelayMs == 0)
        return; // the next pass comes at once anyway
    schedule(0);
}

void ConversionLoop::pass() {
    if (!m_running)
        return;
    ++m_passDepth;
    runPass();
    --m_passDepth;
}

void ConversionLoop::runPass() {
    if (!m_started) {
        m_started = true;
        m_mixerDiagnostics = MixerDiagnosticsOn();
        if (m_mixerDiagnostics)
            ListMixers(); // boxes: the recording may have ended while they were open
        if (!m_running)
            return;
        if (m_detector)
            m_detector->recordingStarted(m_options.pcm);
    }
    const qint64 turnStart = m_clock.milliseconds();
    int blocksThisTurn = 0;
    m_wroteInPass = false;
    for (;;) {
        const ServerHandshake::EditorState state = m_handshake.poll();
        if (state.endRequest == kAbandon) {
            end(kEndedAsAsked);
            return;
        }
        if (m_sinceCheck >= m_options.freeSpaceEvery) {
            m_sinceCheck = 0;
            const qint64 free = m_freeSpace(QFileInfo(m_output.path()).absolutePath());
            if (free >= 0 && free < freeSpaceThreshold()) {
                end(servertext::kDiskNearlyFull);
                return;
            }
        }
        if (m_handshake.nextBlock() < state.written) {
            switch (processBlock(state)) {
            case Read::Done:
                ++m_sinceCheck;
                if (++blocksThisTurn >= m_options.blocksPerTurn ||
                    m_clock.milliseconds() - turnStart >= m_options.turnMs) {
                    schedule(0); // the rest of the backlog after the editor's calls
                    return;
                }
                continue;
            case Read::Failed:
                return; // the loop has ended
            case Read::NotYet:
                // The rest of the block is on its way without a word in the store.
                schedule(m_options.pollMs);
                return;
            }
        } else if (state.endRequest == kFinish) {
            end(kEndedAsAsked);
            return;
        }
        schedule(!m_watch ? m_options.pollMs : m_wroteInPass ? 0 : m_options.watchedPollMs);
        return;
    }
}

ConversionLoop::Read ConversionLoop::processBlock(const ServerHandshake::EditorState& state) {
    const qint64 block = m_handshake.nextBlock();
    const qint64 offset = BufferBlockOffset(block, state.ringBase, m_options.blockSize);
    // The part block of a stop or pause is shorter; whole sample frames only.
    const int frameBytes = std::max(1, m_options.frameBytes);
    qint64 bytes = state.blockBytes(block, m_options.blockSize);
    bytes -= bytes % frameBytes;
    m_block.resize(bytes);
    qint64 got = -1;
    if (m_buffer.seek(offset))
        got = bytes > 0 ? m_buffer.read(m_block.data(), bytes) : 0;
    if (got != bytes) {
        // Not all of it is there yet: wait and read the same block again.
        const qint64 now = m_clock.milliseconds();
        if (m_shortSinceMs < 0)
            m_shortSinceMs = now;
        if (now - m_shortSinceMs >= m_options.shortReadPatienceMs) {
            end(servertext::kBufferUnreadable);
            return Read::Failed;
        }
        return Read::NotYet;
    }
    m_shortSinceMs = -1;

    if (!splitIfDue())
        return Read::Failed;
    m_encoded.clear();
    if (!m_encoder.encode(m_block, m_encoded)) {
        end(servertext::kEncoderFailed);
        return Read::Failed;
    }
    m_streamFrames += bytes / frameBytes;
    const qint64 blockStartFrame = m_output.framesWritten();
    // The encoder keeps the end of the block back for its next output: the
    // block counts as encoded only once there is room for that in the file too.
    const bool written = m_output.write(m_encoded, bytes / frameBytes, samplesHeld());
    if (!written || !m_output.keepRoom(m_encoder.heldOutputBound())) {
        // Without room for the encoder's end of the block, the block cannot
        // be finished in the file: it stays in the capture buffer, and the
        // file keeps of it only what ends the block before.
        if (written)
            m_output.takeBackLastWrite(m_encoded, samplesHeld());
        end(servertext::kOutputWriteFailed);
        return Read::Failed;
    }
    if (m_detector) {
        // Each change at its own moment, in whole seconds of this output file.
        const qint64 rate = std::max(1, m_options.pcm.sampleRate);
        for (const SpeechDetector::Mark& mark : m_detector->examineBlock(m_block)) {
            const qint64 seconds = (blockStartFrame + mark.frameInBlock) / rate;
            if (mark.change == SpeechDetector::Change::SegmentStarted)
                m_output.segments().writeStart(seconds);
            else if (mark.change == SpeechDetector::Change::SegmentEnded)
                m_output.segments().writeEnd(seconds);
        }
        if (!m_running)
            return Read::Failed; // ended while the diagnostics' boxes were open
    }
    if (m_options.jitterMs > 0)
        QThread::msleep(QRandomGenerator::global()->bounded(m_options.jitterMs + 1));
    // At once, also during a backlog: a server killed after this must not
    // leave the editor holding the block as unencoded. It costs what a
    // caught-up server pays for every block anyway: a write and sync of the
    // store, about a millisecond (bench_recording_handshake), where encoding a
    // block of LAME's default size takes around ten. Killed before it, the
    // file's size tells the editor that the block is in it.
    m_handshake.acknowledge(beyondCounted());
    m_output.setSamplesToKeep(m_streamFrames - m_samplesAtOpen);
    return Read::Done;
}

bool ConversionLoop::splitIfDue() {
    const bool bySize = m_options.splitLimitKb > 0 && m_output.bytesWritten() / 1024 >= m_options.splitLimitKb;
    const bool byRiffLimit = !m_output.fits(m_encoder.maxOutput(m_options.blockSize));
    if (!bySize && !byRiffLimit)
        return true;
    if (m_encoder.restartsAtSplit()) {
        m_encoded.clear();
        if (!m_encoder.flush(m_encoded) || !m_output.write(m_encoded, 0, samplesHeld())) {
            end(servertext::kOutputWriteFailed);
            return false;
        }
    }
    const QString finished = m_output.path();
    if (!closeOutput()) {
        end(servertext::kOutputWriteFailed);
        return false;
    }
    if (m_encoder.restartsAtSplit()) {
        m_encoder.finishFile(finished);
        if (!m_encoder.restart()) {
            end(servertext::kEncoderFailed);
            return false;
        }
        m_streamFrames = 0;
    }
    if (!m_output.openFile()) {
        end(servertext::kOutputCreateFailed);
        return false;
    }
    m_samplesAtOpen = std::max<qint64>(0, m_encoder.samplesOut());
    // What the codec kept back of the blocks before goes into this file.
    m_output.setSamplesToKeep(m_streamFrames - m_samplesAtOpen);
    publishOutputFile();
    return true;
}

qint64 ConversionLoop::beyondCounted() const {
    // What the encoder holds of the blocks counted goes in with the next
    // block's output, at a split or at the close: within the room kept for it.
    const qint64 size = m_output.fileBytes();
    return size < 0 ? -1 : size + m_encoder.heldOutputBound();
}

void ConversionLoop::publishOutputFile() {
    m_handshake.setOutputFile(m_output.name(), m_output.path(), beyondCounted());
}

qint64 ConversionLoop::samplesHeld() const {
    // A codec that runs on across a split keeps part of a block back for the
    // next file: the count is what this file's data holds.
    const qint64 out = m_encoder.samplesOut();
    return out >= 0 ? out - m_samplesAtOpen : -1;
}

bool ConversionLoop::closeOutput() { return m_output.closeFile(samplesHeld()); }

void ConversionLoop::stopNow(int reason) {
    if (m_running)
        end(reason);
}

void ConversionLoop::end(int reason) {
    if (m_timer) {
        m_clock.cancel(m_timer);
        m_timer = 0;
    }
    m_running = false;
    m_watch.reset();
    // Finish the files whatever ended the loop: the encoder's last frames, the
    // sizes of a WAVE file, the MP3 encoder's VBR header.
    m_encoded.clear();
    m_encoder.flush(m_encoded); // nothing to add when the stream never opened
    bool ok = true;
    if (m_output.isOpen()) {
        ok = m_output.write(m_encoded, 0, samplesHeld());
        const QString path = m_output.path();
        ok = closeOutput() && ok;
        m_encoder.finishFile(path);
    }
    if (!ok && reason == kEndedAsAsked)
        reason = servertext::kOutputWriteFailed;
    if (m_detector)
        m_detector->recordingEnded();
    // The end may come inside a call from the editor: the boxes wait for it to return.
    if (m_mixerDiagnostics)
        m_clock.callAfter(0, [] { ListMixers(); });
    m_handshake.finish(reason);
    if (m_finished)
        m_finished(reason);
}

} // namespace kelbrin
