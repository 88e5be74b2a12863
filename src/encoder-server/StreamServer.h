#pragma once
// The encoder server's class clsStreamMP3 without its bus: one recording
// record per process. The editor opens a recording with INIT, starts the
// conversion loop with Start, polls DajStan and DajStanPliku, and after the
// loop has ended takes the recorded files with UNINIT and strFileRec.

#include "BlockEncoder.h"
#include "ConversionLoop.h"
#include "ServerTexts.h"
#include "RecorderOutput.h"

#include "core/recording/RecordingHandshake.h"
#include "platform/codecs/WaveFormat.h"
#include "platform/lame/BeConfig.h"

#include <QFile>
#include <QStringList>
#include <functional>
#include <memory>

namespace kelbrin {

class Clock;

class StreamServer {
public:
    // Recording states (DajStan): before INIT the value given to
    // UstawStanZapisu, 1 while a recording is open, -1 after its loop ended.
    static constexpr int kRecording = 1;
    static constexpr int kLoopEnded = -1;

    // `clock` runs the conversion loop and the boxes shown after a call.
    explicit StreamServer(Clock& clock);
    ~StreamServer();

    QStringList strFileRec() const { return m_fileRec; }
    void UstawStanZapisu(int recording);
    int DajStan() const { return m_state; }
    // A small positive number while an output file is being written, else 0.
    qint16 DajStanPliku() const;
    // Opens a recording; false (state back to 0, nothing left open) when it
    // cannot, after telling the user why.
    bool INIT(const QString& formatFile, const QString& bufferFile);
    void Start(int intervalMs);
    void UNINIT();

    // The editor has gone or released the object, or the server was asked to
    // end (`reason` says which): a running loop ends with its files finished,
    // and everything is closed.
    void shutdown(int reason = servertext::kEditorGone);

    // Test hooks: the free-space probe and the loop's options.
    void setFreeSpace(ConversionLoop::FreeSpace probe) { m_freeSpace = std::move(probe); }
    void setLoopOptions(std::function<void(LoopOptions&)> adjust) { m_adjustLoop = std::move(adjust); }
    bool loopRunning() const { return m_loop && m_loop->running(); }

private:
    bool openCodec(const QString& formatFile);
    bool openRecording(const QString& formatFile, const QString& bufferFile);
    bool passRunning() const { return m_loop && m_loop->inPass(); }
    void closeRecording();
    void loopFinished(int reason);
    bool fail();

    Clock& m_clock;
    int m_state = 0;
    bool m_open = false; // from a successful INIT until the recording is closed
    bool m_speech = false;
    bool m_lame = true;
    qint64 m_blockSize = 0;
    int m_frameBytes = 1;
    PcmLayout m_pcm;
    QString m_bufferPath;
    QFile m_buffer;
    WaveFormatEx m_destination;
    BE_CONFIG m_config;
    std::unique_ptr<BlockEncoder> m_encoder;
    RecorderOutput m_output;
    ServerHandshake m_handshake;
    std::unique_ptr<ConversionLoop> m_loop;
    QStringList m_fileRec;
    ConversionLoop::FreeSpace m_freeSpace;
    std::function<void(LoopOptions&)> m_adjustLoop;
    int m_closeCall = 0; // a close waiting for the loop's pass to return
};

} // namespace kelbrin
