#pragma once
// The recorder window's logic: start, pause (by hand and on silence), stop
// (by hand, at the time limit, on a nearly full disk, or when the encoder
// server ends by itself), the wait for the server, and the hand-over of the
// recorded files to the editor as tracks through the split dialog. A server
// that shows no sign of life for kServerPatienceMs (it acknowledges no block
// and answers no call) ends the recording as failed; its buffer file, which
// holds the sound not yet encoded, is kept for the user.
//
// Timers run on the clock the control is given (ClockTimer), so tests run on virtual
// time; the window, the main window and the tray are reached through
// RecorderView, RecorderHost and RecorderTray.

#include "CaptureEngine.h"
#include "ClockTimer.h"
#include "RecorderTray.h"
#include "RecorderView.h"
#include "core/app/MessageService.h"

#include <QStringList>
#include <cstdint>
#include <memory>

namespace kelbrin {

class RecorderClient;
struct LoadedSettings;
struct RecordingConfiguration;
struct ServerLink;

class RecorderControl : private CaptureFailures {
public:
    // `clock` runs the timers, the capture and the deferred boxes.
    RecorderControl(RecorderView& view, RecorderHost& host, CapturePlatform& capture, Clock& clock,
                    RecordingConfiguration& recording, ServerLink& server, LoadedSettings& settings,
                    CaptureStatus& status);
    ~RecorderControl() override;
    RecorderControl(const RecorderControl&) = delete;
    RecorderControl& operator=(const RecorderControl&) = delete;

    // The tray icon that mirrors the recorder (none: the recorder works alone).
    void setTray(RecorderTray* tray) { m_tray = tray; }

    // Form_Load: the clock starts; the automatic pause takes its setting.
    void Form_Load();
    // Form_Unload: false while the encoder server is busy (the window stays).
    bool Form_Unload();
    // Nobody may be watching (a scheduled `-rec`): a recording that cannot
    // start, or that ends early, still finishes the run.
    void setUnattended(bool unattended) { m_unattended = unattended; }
    // The start of `-rec`.
    void StartAutomatically();

    void cmdRecord_Click();
    void cmdPauza_Click();
    void cmdStopRec_Click();
    // Ends the recording at once, also from a pause made by hand (where the
    // stop button first resumes); the editor's close uses it.
    void StopNow();
    void cmdSetting_Click();

    void Timer1_Timer();
    void tmrPause_Timer();
    void tmPause_Timer();
    void Timer2_Timer();
    void tmrStop_Timer();

    // The encoder server holds a recording (captured or still encoded), as
    // it last answered: the window's thread does not wait for a new answer.
    bool ServerBusy() const;

    // State, as the window and the tests read it.
    bool paused = false;
    bool capturing = false;
    double startSeconds = 0;
    double elapsedSeconds = 0;
    std::int32_t pausedMinutes = 0;
    bool blink = false;
    bool beeped = false;
    double autoPauseTicks = 0;
    std::int32_t minutes = 0;

    ClockTimer Timer1;   // 500 ms
    ClockTimer tmrPause; // 0: off until an interval is set
    ClockTimer tmPause;  // 60000 ms
    ClockTimer Timer2;   // 500 ms
    ClockTimer tmrStop;  // 1000 ms

    CaptureEngine& engine() { return m_engine; }
    // The recorded files the last hand-over made tracks of, with their folder.
    const QStringList& handedOver() const { return m_handedOver; }
    // Why the last recording ended early (empty when it ended as asked).
    const QString& failure() const { return m_failure; }

private:
    // What the capture engine reports from inside a delivery.
    void DiskNearlyFull() override;
    void WriteFailed(const QString& error) override;
    void DeviceFailed(const QString& error) override;

    bool timeLimitReached(std::int32_t limit, std::int64_t elapsed);
    // False when nothing was started; true also while the server's answer
    // to the start is on its way.
    bool startRecording();
    // The start goes on once the server has answered whether it opened the recording.
    bool startAnswered(bool opened);
    void continueStartLater(bool opened);
    void endIfNothingRecords();
    bool prepareFormat(CapturePcmFormat& format, std::int64_t& blockBytes);
    void abandonStart();
    void sayStartRefused();
    // Says once a run that the buffer lies in the user's own folder instead of the chosen one.
    void tellOwnBufferFolder();
    void haltCapture();
    void requestEnd();
    void serverEndedByItself();
    // Says why the server ended the recording (or that it is gone) and marks
    // the recording failed.
    void serverFailed();
    // Keeps the buffer file, and names it, when it holds blocks the server
    // never encoded.
    void keepUnencodedSound();
    // The server acknowledged a block or answered a call since the last look.
    void noteProgress();
    bool serverSilentTooLong();
    // Asks the server whether it still holds the recording; a server that
    // stopped answering is asked only every kSilentServerProbeMs.
    bool serverHoldsNoRecording();
    void serverStoppedAnswering();
    // The recording is over on both sides: tear down, hand over, end the run.
    void endRecording();
    void tearDownCapture();
    void handOver();
    void finishRun();
    void trayState(RecorderTrayState state);
    qint64 nowSeconds() const;
    qint64 autoPauseMs() const;
    QStringList recordedFiles();
    // Notes the output files the server names in the shared store.
    void noteAnnouncedFiles();
    // Shows a box at the next turn of the event loop.
    void showLater(const QString& text, int number, int style = mb::Critical);

    Clock& m_clock;
    RecorderView& m_view;
    RecorderHost& m_host;
    RecordingConfiguration& m_recording;
    ServerLink& m_server;
    LoadedSettings& m_settings; // the destination folder follows the recordings
    RecorderTray* m_tray = nullptr;
    CaptureEngine m_engine;
    std::shared_ptr<RecorderClient> m_recorder; // the server of the running recording
    bool m_stopping = false;
    bool m_autoStarted = false;
    bool m_unattended = false;
    bool m_limitReached = false;
    QString m_failure;
    QStringList m_handedOver;
    qsizetype m_recordedCount = 0; // the files the last recording made, handed over or not
    std::uint16_t m_recordedTag = 0; // the format tag of what the running recording produces
    QStringList m_namesBefore;       // the file names the store held before this recording
    QStringList m_announced;         // the files the server announced for this recording, in order
    QList<int> m_deferred;           // boxes waiting for the next turn
    qint64 m_lastSignMs = 0;         // when the server last acknowledged a block or answered
    qint64 m_lastAcknowledged = 0;
    qint64 m_lastProbeMs = 0;
    qint64 m_lastAnswers = 0;        // the server's answers counted at the last look
    bool m_serverSilent = false;     // the recording ended because the server stopped answering
    bool m_starting = false;         // the server has not yet answered the start
    bool m_autoStartWaits = false;   // the start of `-rec` waits for that answer
    // Gone with the control: a server's answer that comes later finds it gone.
    std::shared_ptr<int> m_life = std::make_shared<int>(0);
};

} // namespace kelbrin
