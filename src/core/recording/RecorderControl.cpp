#include "RecorderControl.h"

#include "BlockSizes.h"
#include "CaptureBufferFolder.h"
#include "CaptureFormats.h"
#include "FormatFile.h"
#include "LameConfiguration.h"
#include "RecordProjectName.h"
#include "RecorderHandOver.h"
#include "RecorderClient.h"
#include "ServerPatience.h"
#include "core/app/TextNumbers.h"
#include "core/app/MessageService.h"
#include "core/app/Numbers.h"
#include "core/app/LoadedSettings.h"
#include "RecordingConfiguration.h"
#include "ServerLink.h"
#include "core/app/TextCatalog.h"
#include "core/app/PathProcedures.h"
#include "core/recording/ServerLink.h"
#include "platform/codecs/WaveFormat.h"
#include "platform/media/Clock.h"
#include "core/app/SettingsKeys.h"
#include "platform/settings/SettingsStore.h"

#include <QDir>
#include <QFileInfo>
#include <optional>

namespace kelbrin {

namespace {

constexpr int kRecordingIcon = 1161;
constexpr int kPausedIcon = 1163;
constexpr int kServerInterval = 200;
// The clock ends a timed recording by itself only this long after its limit:
// until then the captured samples end it, to the sample.
constexpr std::int64_t kLimitSlackSeconds = 5;

double SettingNumber(const char* key, const char* fallback) {
    return Val(GetSetting(QLatin1String(key), QLatin1String(fallback)));
}

// The recorder's own keys in the shared store (RecTime, RecStop); the other
// process reads them, so writes are made visible at once.
std::int32_t ReadNumber(const QString& key, std::int32_t missing) {
    Settings().sync();
    return Settings().contains(key) ? ValLong(Settings().read(key)) : missing;
}
void WriteNumber(const QString& key, std::int64_t value) {
    Settings().write(key, QString::number(value));
    Settings().sync();
}

QString CaptureErrorText(const QString& function, const QString& detail) {
    return GetText(texts::kCaptureError, QStringLiteral("|1"), function) + QLatin1Char('\r') + detail;
}

void ShowCaptureError(const QString& function, const QString& detail) {
    ShowMessage(CaptureErrorText(function, detail), mb::Critical, QString(), texts::kCaptureError);
}

} // namespace

RecorderControl::RecorderControl(RecorderView& view, RecorderHost& host, CapturePlatform& capture, Clock& clock,
                                 RecordingConfiguration& recording, ServerLink& server, LoadedSettings& settings,
                                 CaptureStatus& status)
    : Timer1(clock, 500), tmrPause(clock, 0), tmPause(clock, 60000), Timer2(clock, 500), tmrStop(clock, 1000),
      m_clock(clock), m_view(view), m_host(host), m_recording(recording), m_server(server), m_settings(settings),
      m_engine(capture, clock, recording, status) {
    Timer1.onTick = [this] { Timer1_Timer(); };
    tmrPause.onTick = [this] { tmrPause_Timer(); };
    tmPause.onTick = [this] { tmPause_Timer(); };
    Timer2.onTick = [this] { Timer2_Timer(); };
    tmrStop.onTick = [this] { tmrStop_Timer(); };
    m_engine.setFailures(this);
}

// These come from inside the device's delivery of a block: the recording
// stops at the next chance, and the box waits for the next turn of the event
// loop (its own loop would run the stop, and so free the device, inside the
// delivery).
void RecorderControl::DiskNearlyFull() {
    if (!m_failure.isEmpty())
        return; // told once; the stop is on its way
    m_failure = GetText(texts::kBufferDiskNearlyFull, QStringLiteral("|1"), m_recording.TempRecordFolder);
    Timer2.setEnabled(true);
    showLater(m_failure, texts::kBufferDiskNearlyFull, mb::Exclamation);
}

void RecorderControl::WriteFailed(const QString& error) {
    m_failure = GetText(texts::kBufferWriteFailed, QStringLiteral("|1"), m_engine.BufferFilePath(),
                        QStringLiteral("|2"), error);
    Timer2.setEnabled(true);
    showLater(m_failure, texts::kBufferWriteFailed);
}

void RecorderControl::DeviceFailed(const QString& error) {
    m_failure = error;
    Timer2.setEnabled(true);
    showLater(CaptureErrorText(QStringLiteral("capture"), error), texts::kCaptureError);
}

RecorderControl::~RecorderControl() {
    for (int call : std::as_const(m_deferred))
        m_clock.cancel(call);
    tearDownCapture();
    m_engine.CloseBufferFile();
}

void RecorderControl::showLater(const QString& text, int number, int style) {
    auto call = std::make_shared<int>(0);
    *call = m_clock.callAfter(0, [this, call, text, number, style] {
        m_deferred.removeOne(*call);
        ShowMessage(text, style, QString(), number);
    });
    m_deferred << *call;
}

qint64 RecorderControl::nowSeconds() const { return m_clock.milliseconds() / 1000; }

qint64 RecorderControl::autoPauseMs() const {
    return static_cast<qint64>(SettingNumber(settingkeys::kAutoPauseRec, "0") * 1000);
}

bool RecorderControl::ServerBusy() const {
    const auto& recorder = m_server.Recorder;
    return recorder && (recorder->DajStanPliku() > 0 || recorder->DajStan() > 0);
}

void RecorderControl::Form_Load() {
    capturing = false;
    tmrPause.setInterval(autoPauseMs());
    Timer1.setEnabled(true);
}

bool RecorderControl::Form_Unload() {
    if (m_starting || ServerBusy() || m_engine.status().recordingFlag > 0)
        return false;
    Timer1.setEnabled(false);
    tmrPause.setEnabled(false);
    tmPause.setEnabled(false);
    Timer2.setEnabled(false);
    tmrStop.setEnabled(false);
    return true;
}

void RecorderControl::trayState(RecorderTrayState state) {
    if (m_tray)
        m_tray->setState(state);
}

// ---- start -----------------------------------------------------------------

void RecorderControl::StartAutomatically() {
    m_autoStarted = true;
    cmdRecord_Click();
    if (m_starting) {
        m_autoStartWaits = true; // the server's answer decides
        return;
    }
    endIfNothingRecords();
}

// A scheduled run that cannot record must not wait for nobody.
void RecorderControl::endIfNothingRecords() {
    if (m_unattended && m_engine.status().recordingFlag < 1)
        m_host.endProgram(1);
}

void RecorderControl::cmdRecord_Click() {
    if (paused || m_engine.status().recordingFlag == 1) {
        cmdPauza_Click();
        return;
    }
    if (!m_server.link()) {
        ShowText(texts::kNoServer, mb::Exclamation);
        return;
    }
    m_engine.SoundPresent = true;
    m_view.setButtonEnabled(RecorderView::Record, false);
    if (!startRecording())
        // Nothing was started: the user may try again (after fixing the cause).
        m_view.setButtonEnabled(RecorderView::Record, true);
}

bool RecorderControl::prepareFormat(CapturePcmFormat& format, std::int64_t& blockBytes) {
    const bool lame = ValLong(GetSetting(settingkeys::kEngineType, QStringLiteral("1"))) != 0;
    m_recordedTag = RecordedFormatTag(m_recording, lame);
    if (!lame) {
        if (!QFileInfo::exists(FormatFilePath())) {
            // A scheduled run has nobody to choose one in the settings window.
            if (m_unattended)
                ShowText(texts::kNoCodecFormat, mb::Critical, QStringLiteral("|1"), FormatFilePath());
            else
                cmdSetting_Click();
            return false;
        }
        const WaveFormatEx source = CodecSourceFormat(WaveFormatEx::fromRecord(m_recording.RecordFormat));
        format = {source.nChannels, static_cast<int>(source.nSamplesPerSec), source.wBitsPerSample};
        blockBytes = CodecBlockBytes(source);
        return format.channels > 0 && format.sampleRate > 0;
    }
    const std::int32_t chunk = ConfigureLameEncoder(m_recording, true);
    if (chunk <= 0)
        return false;
    // The chosen codec format stays as it is (in memory and in "formatex.ini"):
    // a later codec recording, the chooser and the settings window need it.
    const WaveFormatEx capture = LameCaptureFormat(m_recording);
    blockBytes = LameBlockBytes(chunk, capture);
    SaveSetting(settingkeys::kRecBufor2, QString::number(blockBytes));
    format = {capture.nChannels, static_cast<int>(capture.nSamplesPerSec), 16};
    return true;
}

bool RecorderControl::startRecording() {
    CapturePcmFormat format;
    std::int64_t blockBytes = 0;
    if (!prepareFormat(format, blockBytes))
        return false;

    QString error, function;
    if (!m_engine.StartDevice(m_recording.CaptureDevice, format, blockBytes, &error, &function)) {
        ShowCaptureError(function, error);
        return false;
    }
    if (!m_engine.OpenBufferFile(-1, &error)) {
        ShowMessage(GetText(texts::kRecordBufferOpenFailed, QStringLiteral("|1"), m_engine.BufferFilePath(),
                            QStringLiteral("|2"), error),
                    mb::Critical, QString(), texts::kRecordBufferOpenFailed);
        abandonStart();
        return false;
    }
    tellOwnBufferFolder();
    m_recorder = m_server.link();
    m_recorder->UstawStanZapisu(ValLong(GetSetting(settingkeys::kRecSpeech, QStringLiteral("0"))));
    // What the server announced before this recording is not this recording's.
    Settings().sync();
    m_namesBefore = {GetSetting(handshake::kFilePath), GetSetting(handshake::kLastFile)};
    m_announced.clear();
    // The server's answer comes through the event loop, where no box may
    // open: the start goes on at the next turn. A stand-in answering at once
    // answers inside the call, and the start goes on here.
    struct StartCall {
        bool calling = true;
        std::optional<bool> opened;
    };
    auto start = std::make_shared<StartCall>();
    const std::weak_ptr<int> life = m_life;
    m_starting = true;
    m_recorder->INIT(FormatFilePath(), m_engine.BufferFilePath(), [this, life, start](bool opened) {
        if (start->calling)
            start->opened = opened;
        else if (!life.expired()) // the recorder may have gone meanwhile
            continueStartLater(opened);
    });
    start->calling = false;
    return !start->opened || startAnswered(*start->opened);
}

void RecorderControl::continueStartLater(bool opened) {
    auto call = std::make_shared<int>(0);
    *call = m_clock.callAfter(0, [this, call, opened] {
        m_deferred.removeOne(*call);
        if (!startAnswered(opened))
            m_view.setButtonEnabled(RecorderView::Record, true); // the user may try again
        if (m_autoStartWaits) {
            m_autoStartWaits = false;
            endIfNothingRecords();
        }
    });
    m_deferred << *call;
}

bool RecorderControl::startAnswered(bool opened) {
    m_starting = false;
    if (!opened) {
        if (m_unattended)
            sayStartRefused();
        abandonStart();
        return false;
    }
    noteAnnouncedFiles();
    // The end state says "recording" before the clock can read it.
    SaveSetting(handshake::kStop, QStringLiteral("2"));
    Settings().sync();
    m_failure.clear();
    m_limitReached = false;
    m_stopping = false;
    m_engine.status().recordingFlag = 1;
    m_recorder->Start(kServerInterval);
    m_lastSignMs = m_lastProbeMs = m_clock.milliseconds();
    m_lastAcknowledged = 0;
    m_lastAnswers = m_recorder->answers();
    m_serverSilent = false;

    paused = false;
    capturing = true;
    m_view.setButtonEnabled(RecorderView::Pause, true);
    m_view.setButtonIcon(RecorderView::Record, kRecordingIcon);
    startSeconds = static_cast<double>(nowSeconds());
    elapsedSeconds = 0;
    if (m_view.isShownAndEnabled())
        m_view.focusButton(RecorderView::Pause);
    m_view.setButtonEnabled(RecorderView::Record, true);
    m_view.setButtonEnabled(RecorderView::Stop, true);
    trayState(RecorderTrayState::Recording);
    return true;
}

void RecorderControl::tellOwnBufferFolder() {
    if (m_recording.RefusedBufferFolder.isEmpty() || m_recording.RefusedBufferFolderTold)
        return;
    m_recording.RefusedBufferFolderTold = true;
    showLater(GetText(texts::kOwnBufferFolder, QStringLiteral("|1"), m_recording.RefusedBufferFolder,
                      QStringLiteral("|2"), m_recording.TempRecordFolder),
              texts::kOwnBufferFolder, mb::Information);
    m_recording.RefusedBufferFolder.clear();
}

// The server has shown its reason in its own process, where a scheduled run
// may have nobody to see it: the run says it too.
void RecorderControl::sayStartRefused() {
    // A call that never reached the server leaves no reason of its own.
    if (!m_recorder->answering()) {
        ShowText(texts::kServerRefusedStart, mb::Critical);
        return;
    }
    Settings().sync();
    const QString refusal = GetSetting(handshake::kStartRefusal);
    const qsizetype tab = refusal.indexOf(QLatin1Char('\t'));
    const int number = tab > 0 ? refusal.left(tab).toInt() : 0;
    if (number > 0)
        ShowMessage(refusal.mid(tab + 1), mb::Critical, QString(), number);
    else
        ShowText(texts::kServerRefusedStart, mb::Critical);
}

void RecorderControl::abandonStart() {
    m_engine.TearDownDevice();
    m_engine.CloseBufferFile();
    m_engine.status().recordingFlag = 0;
    m_recorder.reset();
}

// ---- pause -----------------------------------------------------------------

void RecorderControl::cmdPauza_Click() {
    m_view.setButtonEnabled(RecorderView::Record, false);
    m_view.setButtonEnabled(RecorderView::Pause, false);
    m_view.setButtonEnabled(RecorderView::Stop, false);
    if (m_engine.status().fileOpen) {
        m_engine.WritePartBlock();
        m_engine.CloseBufferFile();
        capturing = false;
        paused = true;
        m_view.setButtonEnabled(RecorderView::Stop, true);
        tmrPause.setEnabled(false);
        tmrPause.setInterval(autoPauseMs());
        tmrPause.Tag = QStringLiteral("0");
        trayState(RecorderTrayState::Paused);
    } else {
        tmPause.setEnabled(false);
        QString error;
        if (!m_engine.OpenBufferFile(0, &error))
            ShowMessage(GetText(texts::kRecordBufferOpenFailed, QStringLiteral("|1"), m_engine.BufferFilePath(),
                                QStringLiteral("|2"), error),
                        mb::Critical, QString(), texts::kRecordBufferOpenFailed);
        capturing = m_engine.status().fileOpen;
        paused = !capturing;
        startSeconds = static_cast<double>(nowSeconds()) - elapsedSeconds;
        m_view.setButtonIcon(RecorderView::Record, kRecordingIcon);
        m_view.setButtonIcon(RecorderView::Pause, 0);
        m_view.setButtonEnabled(RecorderView::Stop, true);
        trayState(capturing ? RecorderTrayState::Recording : RecorderTrayState::Paused);
    }
    m_view.setButtonEnabled(RecorderView::Record, true);
    m_view.setButtonEnabled(RecorderView::Pause, true);
    if (m_view.isShownAndEnabled())
        m_view.focusButton(RecorderView::Record);
}

void RecorderControl::tmrPause_Timer() {
    if (m_view.buttonEnabled(RecorderView::Record)) {
        cmdPauza_Click();
        tmPause.setEnabled(paused);
        tmrPause.Tag = paused ? QStringLiteral("1") : QStringLiteral("0");
    }
    tmrPause.setEnabled(false);
}

void RecorderControl::tmPause_Timer() { ++pausedMinutes; }

// ---- the clock -------------------------------------------------------------

void RecorderControl::Timer1_Timer() {
    const qint64 autoPause = autoPauseMs();
    if (capturing) {
        if (blink)
            elapsedSeconds = static_cast<double>(nowSeconds()) - startSeconds;
        if (autoPause > 0) {
            const bool noBeep = SettingNumber("NoBeep", "0") != 0;
            if (!m_engine.SoundPresent) {
                if (autoPauseTicks > 5 && !beeped) {
                    if (!noBeep)
                        m_view.beep(500, 500);
                    beeped = true;
                }
                tmrPause.setEnabled(true);
                tmrPause.Tag = QStringLiteral("1");
            } else {
                if (autoPauseTicks > 5 && beeped) {
                    if (!noBeep)
                        m_view.beep(50, 100);
                    beeped = false;
                }
                tmrPause.setEnabled(false);
                tmrPause.setInterval(autoPause);
                tmrPause.Tag = QStringLiteral("0");
            }
            autoPauseTicks += 1;
        }
    } else if (paused) {
        m_view.setButtonIcon(RecorderView::Pause, blink ? kPausedIcon : 0);
        if (autoPause > 0 && tmrPause.Tag == QLatin1String("1") && m_engine.SoundPresent)
            tmrPause_Timer();
    } else {
        m_view.setButtonIcon(RecorderView::Record, blink ? kRecordingIcon : 0);
    }

    if (m_engine.status().recordingFlag == 1) {
        noteAnnouncedFiles();
        const auto whole = static_cast<std::int64_t>(elapsedSeconds);
        minutes = static_cast<std::int32_t>(whole / 60);
        WriteNumber(handshake::kTime, whole);
        const std::int64_t backlog = m_engine.handshake().backlog();
        const QString caption = QStringLiteral("%1 : %2 (%3)").arg(minutes).arg(whole % 60).arg(backlog);
        m_view.setCaption(caption);

        // A stop asked from outside, or the time limit. A missing key is no
        // request. It ends the recording also from a pause made by hand, where
        // the stop button would resume it and the request would be spent.
        const bool asked = ReadNumber(handshake::kStop, 2) == 1;
        const std::int32_t limit = m_recording.RecTimeLimit;
        if (!m_stopping && (asked || timeLimitReached(limit, whole))) {
            m_recording.RecTimeLimit = 0;
            m_limitReached = true;
            WriteNumber(handshake::kStop, 0);
            StopNow();
            return;
        }
        // The server may end the recording by itself (full disk, encoder
        // failure), its process may be gone, or it may have stopped answering.
        if (!m_stopping && (m_engine.handshake().serverEnded() || serverHoldsNoRecording())) {
            serverEndedByItself();
            return;
        }
        if (!m_stopping && serverSilentTooLong()) {
            serverStoppedAnswering();
            return;
        }
        if (m_tray)
            m_tray->Komunikat(caption, paused);
    }
    blink = !blink;
}

// The limit counts the captured sound (as many samples as its minutes hold)
// plus the minutes of automatic pause. The clock's own count is kept as a
// last resort, for a device that stops delivering.
bool RecorderControl::timeLimitReached(std::int32_t limit, std::int64_t elapsed) {
    if (limit <= 0) {
        m_engine.setByteLimit(-1);
        return false;
    }
    const std::int64_t seconds = std::max<std::int64_t>(0, (std::int64_t(limit) - pausedMinutes) * 60);
    m_engine.setByteLimit(seconds * m_engine.bytesPerSecond());
    return m_engine.limitReached() || elapsed >= seconds + kLimitSlackSeconds;
}

void RecorderControl::serverEndedByItself() {
    m_stopping = true;
    tmPause.setEnabled(false);
    haltCapture();
    // What was captured up to here belongs to the recording, encoded or not.
    m_engine.WritePartBlock();
    m_engine.CloseBufferFile();
    serverFailed();
    keepUnencodedSound();
    tmrStop.setEnabled(true);
}

void RecorderControl::serverFailed() {
    // The server names its reason when it has one. A reason whose text holds
    // what only the server knows (a file, its error) was shown by the server
    // itself, with those filled in: the editor says it in general words.
    const int reason = m_engine.handshake().serverEnded() ? m_engine.handshake().endReason() : 0;
    const QString reasonText = reason > 0 ? GetText(reason) : QString();
    const bool general = !reasonText.isEmpty() && !reasonText.contains(QLatin1String("|1"));
    int number = general ? reason : texts::kServerEnded;
    // The server takes the end of its bus for the end of the editor, which
    // is plainly still here.
    if (reason == texts::kEditorGone)
        number = texts::kServerBusEnded;
    // The bus may end under both programs before the server has said why:
    // the editor sees it too.
    if (reason <= 0 && m_recorder && m_recorder->busLost())
        number = texts::kServerBusEnded;
    m_failure = GetText(number);
    ShowMessage(m_failure, mb::Exclamation, QString(), number);
}

// The blocks the server never encoded are the only copy of their sound: the
// buffer file goes under a name that neither the close nor the next recording
// removes.
void RecorderControl::keepUnencodedSound() {
    if (m_engine.handshake().backlog() <= 0 || !QFileInfo(m_engine.BufferFilePath()).isFile())
        return; // all encoded, or kept already
    const QString kept = KeepBufferFile(m_recording.TempRecordFolder, m_engine.status().bufferName);
    ShowMessage(GetText(texts::kUnencodedSoundKept, QStringLiteral("|1"), kept), mb::Exclamation, QString(),
                texts::kUnencodedSoundKept);
}

// ---- stop ------------------------------------------------------------------

void RecorderControl::cmdStopRec_Click() {
    if (paused && !tmPause.enabled()) {
        cmdPauza_Click(); // a pause made by hand: the first press resumes
        return;
    }
    haltCapture();
    if (!m_engine.status().fileOpen && !tmPause.enabled()) {
        if (m_engine.status().recordingFlag < 1 && !m_stopping) {
            m_view.setButtonEnabled(RecorderView::Stop, false);
            return; // nothing is recording
        }
        // Already waiting for the server: offer to give up its backlog.
        if (ShowText(texts::kAbandonBacklog, mb::YesNo | mb::Question | mb::DefaultButton2) == mb::Yes) {
            m_view.setButtonEnabled(RecorderView::Stop, false);
            m_engine.handshake().requestAbandon();
        }
        return;
    }
    requestEnd();
}

void RecorderControl::StopNow() {
    if (m_engine.status().recordingFlag < 1 || m_stopping)
        return;
    haltCapture();
    requestEnd();
}

// Capture stops and its buttons go dark while the buffer is handed on.
void RecorderControl::haltCapture() {
    tmrPause.setEnabled(false);
    m_view.setButtonEnabled(RecorderView::Record, false);
    m_view.setButtonEnabled(RecorderView::Pause, false);
    paused = false;
    capturing = false;
}

void RecorderControl::requestEnd() {
    m_engine.WritePartBlock();
    m_engine.CloseBufferFile();
    m_engine.handshake().requestFinish();
    m_stopping = true;
    tmrStop.setEnabled(true);
    tmPause.setEnabled(false);
}

// A failure's stop: it neither resumes a pause made by hand nor takes the
// closed buffer file for a stop already waiting on the server (whose offer
// to give up the backlog would drop what was recorded, or leave the
// recording running when declined).
void RecorderControl::Timer2_Timer() {
    Timer2.setEnabled(false);
    if (m_view.buttonEnabled(RecorderView::Stop))
        StopNow();
}

void RecorderControl::tmrStop_Timer() {
    // Done when the server says so, or when it no longer holds a recording
    // (its process is gone); a server silent too long is waited for no more.
    if (!m_engine.handshake().serverEnded() && m_recorder && !serverHoldsNoRecording()) {
        if (serverSilentTooLong())
            serverStoppedAnswering();
        return;
    }
    // A server that failed, or went away, while it finished the recording
    // left it unfinished all the same. Looked at again: a server that
    // finished between the two looks has said so by now.
    const bool ended = m_engine.handshake().serverEnded();
    if (!ended || m_engine.handshake().endReason() != handshake::kEndedAsAsked) {
        tmrStop.setEnabled(false); // the boxes run the event loop: no second tick meanwhile
        if (m_failure.isEmpty())
            serverFailed();
        keepUnencodedSound();
    }
    endRecording();
}

void RecorderControl::noteProgress() {
    const qint64 acknowledged = m_engine.handshake().blocksAcknowledged();
    if (acknowledged != m_lastAcknowledged) {
        m_lastAcknowledged = acknowledged;
        m_lastSignMs = m_clock.milliseconds();
    }
}

bool RecorderControl::serverSilentTooLong() {
    noteProgress();
    return m_clock.milliseconds() - m_lastSignMs >= kServerPatienceMs;
}

bool RecorderControl::serverHoldsNoRecording() {
    if (!m_recorder)
        return false;
    if (!m_recorder->answering() && m_clock.milliseconds() - m_lastProbeMs < kSilentServerProbeMs)
        return false; // no news is no end: the server's silence is timed apart
    m_lastProbeMs = m_clock.milliseconds();
    const bool none = m_recorder->holdsNoRecording();
    // The answer read here may be an old one: only a new one is a sign of life.
    if (m_recorder->answers() != m_lastAnswers) {
        m_lastAnswers = m_recorder->answers();
        m_lastSignMs = m_clock.milliseconds();
    }
    return none;
}

// The server neither encodes nor answers: the capture stops, and the buffer
// file keeps the sound the server never read (it is the only copy). What
// the server wrote before is handed over as far as it got, as when its
// process is gone; the box waits for the next turn of the event loop, and
// the recording ends after it.
void RecorderControl::serverStoppedAnswering() {
    m_serverSilent = true;
    m_stopping = true;
    tmPause.setEnabled(false);
    tmrStop.setEnabled(false);
    haltCapture();
    m_engine.WritePartBlock();
    m_engine.CloseBufferFile();
    tearDownCapture();
    const QString kept = KeepBufferFile(m_recording.TempRecordFolder, m_engine.status().bufferName);
    m_failure = GetText(texts::kServerTimedOut, QStringLiteral("|1"), kept);
    auto call = std::make_shared<int>(0);
    *call = m_clock.callAfter(0, [this, call] {
        m_deferred.removeOne(*call);
        ShowMessage(m_failure, mb::Exclamation, QString(), texts::kServerTimedOut);
        endRecording();
    });
    m_deferred << *call;
}

void RecorderControl::endRecording() {
    pausedMinutes = 0;
    tmPause.setEnabled(false);
    tmrStop.setEnabled(false);
    m_engine.status().recordingFlag = 0;
    m_view.yield();
    // A server that stopped answering is not asked to finish: nothing would answer.
    if (m_recorder && !m_serverSilent)
        m_recorder->UNINIT();
    tearDownCapture();

    m_view.setButtonIcon(RecorderView::Pause, 0);
    m_view.setButtonIcon(RecorderView::Record, 0);
    m_view.setButtonEnabled(RecorderView::Record, true);
    if (m_view.isShownAndEnabled())
        m_view.focusButton(RecorderView::Record);
    m_view.setButtonEnabled(RecorderView::Pause, false);

    handOver();
    m_recorder.reset();
    m_stopping = false;
    Timer1.setEnabled(true);
    m_view.setButtonEnabled(RecorderView::Stop, false);
    m_recording.RecTimeLimit = 0;
    finishRun();
}

void RecorderControl::tearDownCapture() { m_engine.TearDownDevice(); }

void RecorderControl::noteAnnouncedFiles() {
    Settings().sync();
    // The file closed last (a split by size), then the one being written.
    for (const QString& key : {handshake::kLastFile, handshake::kFilePath}) {
        const QString name = FileNameFromPath(GetSetting(key).trimmed());
        if (!name.isEmpty() && !m_namesBefore.contains(name) && !m_announced.contains(name))
            m_announced << name;
    }
}

QStringList RecorderControl::recordedFiles() {
    // A server that stopped answering is not asked: nothing would answer.
    QStringList names = m_recorder && !m_serverSilent ? RecordedNames(m_recorder->strFileRec()) : QStringList();
    if (!names.isEmpty())
        return names;
    // A server that has gone (or one started afresh in its place) cannot
    // list them: the files it announced while recording are handed over.
    noteAnnouncedFiles();
    for (const QString& name : std::as_const(m_announced))
        if (QFileInfo(m_recording.RecordFolder + name).isFile())
            names << name;
    return names;
}

void RecorderControl::handOver() {
    const QStringList names = recordedFiles();
    m_handedOver = HandOverRecordings(m_recording, names, m_host, m_recordedTag);
    m_recordedCount = names.size();
}

void RecorderControl::finishRun() {
    // A run nobody watches always ends: at its time limit, as asked, and
    // when the server or the capture ended it early.
    const bool finish = m_limitReached || (m_autoStarted && m_unattended && !m_failure.isEmpty());
    // The run succeeded only when every recorded file became a track: a file
    // lost on the way leaves the recording unusable where the user will look
    // for it.
    const bool whole = !m_handedOver.isEmpty() && m_handedOver.size() == m_recordedCount;
    if (!finish) {
        SaveSetting(handshake::kStop, QStringLiteral("-1"));
        trayState(RecorderTrayState::Stopped);
        // A "-rec" run ended by the editor's own close (a signal, the close
        // box) tells of a lost recording as its time limit would.
        if (m_autoStarted && (!m_failure.isEmpty() || !whole))
            m_host.failRun();
        return;
    }
    QString folder = GetSetting(settingkeys::kRecDir, m_recording.RecordFolder);
    while (folder.size() > 1 && (folder.endsWith(QLatin1Char('/')) || folder.endsWith(QLatin1Char('\\'))))
        folder.chop(1);
    m_settings.DestFolder = folder;
    const bool saved = m_host.saveProject(UniqueRecordProjectName(folder, QDate::currentDate()));
    SaveSetting(handshake::kStop, QStringLiteral("-1"));
    Settings().sync();
    if (!saved && m_unattended)
        m_host.dropUnsavedChanges(); // the failed save has said why

    // A project left unwritten fails the run too.
    m_host.endProgram(m_failure.isEmpty() && whole && saved ? 0 : 1);
}

void RecorderControl::cmdSetting_Click() {
    if (m_server.Recorder && ServerBusy())
        return;
    m_view.showRecordingSettings();
}

} // namespace kelbrin
