#pragma once
// The encoder server's work: it follows the editor through the buffer file,
// encodes each block, writes the output files, splits them by size, stops by
// itself before the recording disk fills up, and feeds the speech detector.
//
// A state machine on the program clock: each pass reads the handshake and,
// while blocks are waiting, encodes them one after another; when none waits,
// or after a turn of a long backlog, it schedules the next pass and lets the
// event loop run (calls from the editor are served then). Where the settings
// store tells of changes, a write of the editor starts the next pass at once
// and the scheduled one is only a slow fallback. It ends when the editor asks for it, when the disk is
// nearly full or a write fails, or when the editor has gone; in every case the
// files are finished before the editor is told the loop has ended.

#include "BlockEncoder.h"
#include "RecorderOutput.h"
#include "SpeechDetector.h"

#include "core/recording/RecordingHandshake.h"

#include <QFile>
#include <functional>
#include <memory>

namespace kelbrin {

class Clock;

struct LoopOptions {
    qint64 blockSize = 0;
    int frameBytes = 1;       // bytes of one sample frame of the captured PCM
    PcmLayout pcm;            // the captured PCM's samples, for the speech detector
    qint64 splitLimitKb = 0;  // 0: never split
    // The pause between passes while nothing waits, and before a block found
    // short is read again.
    int pollMs = 20;
    // The pause while nothing waits where the store tells of the editor's
    // writes: a pass runs as soon as it wrote, and this one only covers a
    // missed notice.
    int watchedPollMs = 1000;
    qint64 freeSpaceFloor = 0;
    int freeSpaceEvery = 10;  // blocks between two free-space checks
    int shortReadPatienceMs = 10000;
    // A backlog is drained in turns of at most this many blocks or this much
    // time, so calls from the editor are answered in between.
    int blocksPerTurn = 16;
    int turnMs = 100;
    int jitterMs = 0;         // test runs: a random pause of up to this between a block's write and its count
};

class ConversionLoop {
public:
    using FreeSpace = std::function<qint64(const QString& folder)>; // bytes, or -1 unknown

    // `clock` schedules the passes and times the turns.
    ConversionLoop(ServerHandshake& handshake, QFile& buffer, BlockEncoder& encoder,
                   RecorderOutput& output, const LoopOptions& options, Clock& clock);
    ~ConversionLoop();

    void setFreeSpace(FreeSpace probe) { m_freeSpace = std::move(probe); }
    void setSpeechDetector(std::unique_ptr<SpeechDetector> detector) { m_detector = std::move(detector); }
    // Called once the loop has ended and the files are finished; the reason is
    // 0 when it ended as asked, else the text number of what ended it.
    void setFinished(std::function<void(int reason)> finished) { m_finished = std::move(finished); }

    // Runs the first pass after `delayMs`.
    void start(int delayMs);
    // One pass (also what the scheduled calls run).
    void pass();
    // Ends at once: the waiting blocks are left, the files are finished.
    void stopNow(int reason);

    bool running() const { return m_running; }
    // True while a pass is on the stack: a box it opened runs the event loop
    // nested, and calls served there must not destroy the loop or what it uses.
    bool inPass() const { return m_passDepth > 0; }
    // The bytes of the free-space floor for this encoder.
    qint64 freeSpaceThreshold() const;

private:
    enum class Read { Done, NotYet, Failed };
    void runPass();
    Read processBlock(const ServerHandshake::EditorState& state);
    bool splitIfDue();
    void end(int reason);
    void schedule(int delayMs);
    // The editor wrote to the store: the next pass comes at once.
    void editorWrote();
    // The sample count the output file's data holds, or -1 when the encoder does not tell.
    qint64 samplesHeld() const;
    // The most bytes the output file holds without the next block's own sound.
    qint64 beyondCounted() const;
    void publishOutputFile();
    // Closes the output file with the sample count its data holds.
    bool closeOutput();

    ServerHandshake& m_handshake;
    QFile& m_buffer;
    BlockEncoder& m_encoder;
    RecorderOutput& m_output;
    LoopOptions m_options;
    Clock& m_clock;
    FreeSpace m_freeSpace;
    std::unique_ptr<SpeechDetector> m_detector;
    std::function<void(int)> m_finished;
    QByteArray m_block;
    QByteArray m_encoded;
    bool m_running = false;
    int m_passDepth = 0;
    bool m_started = false;
    bool m_mixerDiagnostics = false; // RecHeight above 0 at the start
    int m_timer = 0;
    int m_timerDelayMs = 0;
    std::unique_ptr<SettingsWatch> m_watch;
    bool m_wroteInPass = false; // told of a write while a pass ran (a box's nested loop)
    int m_sinceCheck = 0;
    qint64 m_shortSinceMs = -1;
    qint64 m_samplesAtOpen = 0; // the encoder's sample count when this output file opened
    qint64 m_streamFrames = 0;  // the sample frames the encoder's stream took in
};

} // namespace kelbrin
