#include "SequencePlayer.h"

#include "PassSchedule.h"
#include "PlayMath.h"
#include "PlayerView.h"
#include "core/app/LoadedSettings.h"
#include "core/app/MessageService.h"
#include "core/app/Numbers.h"
#include "core/app/PathProcedures.h"
#include "core/app/PlaybackGraphs.h"
#include "core/app/TextCatalog.h"
#include "core/app/TextNumbers.h"
#include "core/document/cPozycjeMP3.h"
#include "core/editor/PlayRun.h"
#include "core/editor/TrackGraph.h"
#include "platform/media/Clock.h"
#include "platform/media/PlaybackGraph.h"

#include <QFileInfo>

#include <algorithm>
#include <optional>

namespace kelbrin {

namespace {
using texts::kNoGraphText;
constexpr float kNoOvertake = -100000.0f;
// Jumps to the loop head within one tick before it yields anyway, so a chain
// of empty ranges can never hold the event loop.
constexpr int kMaxJumpsPerTick = 200;

// Where Previous goes from a track: its predecessor, or the track itself
// when it follows the start box. A start target of 0 would start the head
// track of every chain, also of those this run never played.
std::int32_t PreviousTarget(const cPozycjaMP3& t) { return t.lngTrack != 0 ? t.lngTrack : t.lngNrPozycji; }
} // namespace

SequencePlayer::SequencePlayer(Clock& clock, TracksGetter tracks, PlayRunState& run,
                               PlayerView& view, std::function<std::int32_t()> selected,
                               const LoadedSettings& settings, const AudioOutputs& outputs)
    : Timer(clock), m_clock(clock), m_tracks(std::move(tracks)), m_run(run), m_view(view),
      m_selected(std::move(selected)), m_settings(settings), m_outputs(outputs) {
    m_run.wakePlayer = [this] { wake(); };
}

SequencePlayer::~SequencePlayer() {
    m_run.wakePlayer = nullptr;
    if (m_timerCall)
        m_clock.cancel(m_timerCall);
    m_timerCall = 0;
    m_timerEnabled = false;
    if (m_busy) {
        if (m_passCall)
            m_clock.cancel(m_passCall);
        m_passCall = 0;
        // The tracks may outlive the window: nothing of theirs plays on.
        for (const auto& weak : m_runTracks)
            if (auto t = weak.lock()) {
                if (t->MediaControl)
                    t->MediaControl->stop();
                t->ReleaseGraph();
                t->blnPlayed = false;
            }
        m_run.colPlayRun.reset();
        m_run.lngPlayRunMark = -1;
    }
}

void SequencePlayer::setTimer(bool enabled) {
    m_timerEnabled = enabled;
    if (m_timerCall)
        m_clock.cancel(m_timerCall);
    m_timerCall = 0;
    if (enabled)
        m_timerCall = m_clock.callAfter(kTimerMs, [this] { tmrPlayer_Timer(); });
}

void SequencePlayer::cmdPlay_Click() {
    // A click while the timer is already on keeps its tick where it is.
    if (m_timerEnabled)
        return;
    setTimer(true);
    wake(); // a run going on ends or repeats at the end of its next pass
}

void SequencePlayer::tmrPlayer_Timer() {
    m_timerCall = 0;
    if (m_busy) {
        // The running loop reads the switched-on timer as a restart request
        // at the end of its pass; the tick itself waits for the run to end.
        m_timerCall = m_clock.callAfter(kTimerMs, [this] { tmrPlayer_Timer(); });
        return;
    }
    m_timerEnabled = false;
    if (!m_tracks() || tracks().Count() == 0)
        return;
    if (!startRun())
        return;
    runPasses();
}

bool SequencePlayer::startRun() {
    m_busy = true;
    m_runTracks.clear();
    m_startTrack = mnuPlay_All ? 0 : (m_selected ? m_selected() : 0);
    m_run.colPlayRun = QList<std::int32_t>{};
    m_run.lngPlayRunMark = 0;
    m_view.runChanged(true);
    m_view.setBusyPointer(true);
    cPozycjeMP3& all = tracks();
    for (std::int32_t p = 1; p <= all.Count(); ++p) {
        std::shared_ptr<cPozycjaMP3> t = all.Item(p);
        if (t->HasGraph())
            continue;
        t->ReleaseGraph();
        std::shared_ptr<PlaybackGraph> graph;
        if (!QFileInfo::exists(t->strFileNameSource))
            ShowMessage(GetText(3025, QStringLiteral("|1"), t->strFileNameSource), mb::OkOnly, QString(), 3025);
        else
            graph = BuildPlaybackGraph(m_outputs, t->strFileNameSource, t->strDevice, false,
                                       t->dblDuration);
        // A message box runs the event loop: the collection may have changed.
        if (!graph || !m_tracks() || p > tracks().Count() || tracks().Item(p) != t) {
            m_view.setBusyPointer(false);
            exitPath();
            return false;
        }
        t->AttachGraph(graph);
        t->blnDeviceChanged = false;
        remember(t);
        const double dur = graph->duration();
        graph->setStopTime(RescaleToPlayerTime(RangeEndSeconds(*t), t->dblDuration, dur,
                                               m_settings.UseOldAlgorithm));
        graph->setCurrentPosition(RescaleToPlayerTime(RangeBeginSeconds(*t), t->dblDuration, dur,
                                                      m_settings.UseOldAlgorithm));
    }
    for (std::int32_t p = 1; p <= all.Count(); ++p) {
        all.Item(p)->lngColNastepnikIndex = 0;
        all.Item(p)->blnPrev = false;
        // Every loop starts whole, also after a run that ended inside it
        // (a tag write takes the graphs and leaves the counts alone).
        all.Item(p)->lngLoopCount = all.Item(p)->lngLoopCountBackup;
    }
    m_view.setBusyPointer(false);
    blnStartPhase = true;
    m_startTarget = m_startTrack;
    m_firstStart = false;
    lngRefTime = m_clock.milliseconds();
    m_gotoHead = true;
    return true;
}

void SequencePlayer::remember(const std::shared_ptr<cPozycjaMP3>& track) {
    for (const auto& weak : m_runTracks)
        if (weak.lock() == track)
            return;
    m_runTracks.append(track);
}

void SequencePlayer::scheduleNext(std::int64_t delayMs) {
    if (m_passCall)
        m_clock.cancel(m_passCall);
    m_passDueMs = m_clock.milliseconds() + delayMs;
    m_passCall = m_clock.callAfter(delayMs, [this] {
        m_passCall = 0;
        runPasses();
    });
}

std::int64_t SequencePlayer::nextPassMs() const {
    // Work that waits for the next pass, or a gap delay whose tick the pass
    // looks for, keeps the short period.
    if (m_gotoHead || m_deleteAfter || m_run.lngPlayRunMark > 0 || blnStartPhase || m_timerEnabled ||
        Timer.AnyEnabled())
        return kPassMs;
    if (!m_run.colPlayRun || m_run.colPlayRun->isEmpty())
        return kPassMs; // the run ends on the next pass
    return m_quietMs;
}

void SequencePlayer::noteQuiet(const cPozycjaMP3& P, const PlaybackGraph& graph, const EntryTimes& at,
                               double lead) {
    TrackAtPass seen;
    seen.cur = at.cur;
    seen.stop = at.stop;
    seen.dur = at.dur;
    seen.rate = graph.rate();
    seen.running = graph.state() == GraphState::Running;
    seen.volume = graph.volume();
    seen.lead = lead;
    seen.loops = P.lngLoopTrack >= 0 && ItemTracka(tracks(), P.lngLoopTrack) > 0;
    seen.oldAlgorithm = m_settings.UseOldAlgorithm;
    m_quietMs = std::min(m_quietMs, QuietMs(P, seen, kPassMs, kQuietMaxMs));
}

void SequencePlayer::wake() {
    if (m_busy && m_passCall && m_passDueMs > m_clock.milliseconds() + kPassMs)
        scheduleNext(kPassMs);
}

void SequencePlayer::runPasses() {
    if (!m_busy)
        return;
    for (int jumps = 0; jumps < kMaxJumpsPerTick; ++jumps) {
        if (m_deleteAfter)
            deleteWaiting();
        if (m_gotoHead) {
            m_gotoHead = false;
            if (!loopHead()) {
                exitPath();
                return;
            }
        }
        const PassEnd end = pass();
        if (end == PassEnd::Jump) {
            m_gotoHead = true;
            continue;
        }
        if (end == PassEnd::Failed) {
            // As with a graph that cannot be built: the run ends, and says
            // why, once it has let go of everything.
            stopTracks();
            exitPath();
            ShowMessage(GetText(kNoGraphText), mb::Information, QString(), kNoGraphText);
            return;
        }
        // End of the pass.
        if (m_timerEnabled || !m_active) {
            blnPause = false;
            Timer.UnloadAll();
            if (mnuPlay_Repeat) {
                stopTracks();
                mnuPlay_Repeat = true; // the stop unchecked it
                m_view.modesChanged();
                setTimer(false);
                markToDeleteAfter();
                blnStartPhase = true;
                m_startTarget = m_startTrack;
                m_run.colPlayRun = QList<std::int32_t>{};
                m_run.lngPlayRunMark = 0;
                lngRefTime = m_clock.milliseconds();
                m_firstStart = false;
                m_gotoHead = true;
                continue;
            }
            // A play request that came during the run (the timer is on)
            // starts the next run on its tick.
            stopTracks();
            exitPath();
            return;
        }
        m_gotoHead = m_startTarget != 0;
        scheduleNext(nextPassMs());
        return;
    }
    scheduleNext();
}

bool SequencePlayer::loopHead() {
    cPozycjeMP3& all = tracks();
    if (blnStartPhase) {
        if (m_startTarget == 0) {
            // Every head track; PlayTrack may run the event loop (a message),
            // so the list is walked by the tracks themselves.
            QList<std::shared_ptr<cPozycjaMP3>> heads;
            for (std::int32_t p = 1; p <= all.Count(); ++p)
                if (all.Item(p)->lngTrack == 0)
                    heads.append(all.Item(p));
            for (const auto& t : heads) {
                const std::int32_t p = ItemTracka(tracks(), t->lngNrPozycji);
                if (p == 0 || t->blnPlayed)
                    continue;
                PlayTrack(p, m_firstStart);
                m_firstStart = true;
                if (!t->MediaControl)
                    return false;
            }
        } else if (const std::int32_t p = ItemTracka(all, m_startTarget)) {
            // A start target that no longer exists (a deleted loop target or
            // predecessor) starts nothing.
            std::shared_ptr<cPozycjaMP3> t = all.Item(p);
            if (!t->blnPlayed) {
                PlayTrack(p, m_firstStart);
                m_firstStart = true;
            }
            if (!t->MediaControl)
                return false;
        }
    } else if (m_startTarget != 0) {
        // The overtake phase: the successors of the start target that share
        // the chosen successor's overtake start together.
        if (std::shared_ptr<cPozycjaMP3> t = TrackByNumber(all, m_startTarget)) {
            const float s1 = t->sngOverTaking;
            std::int32_t k = t->lngOverTakingIndex;
            while (k != 0) {
                std::shared_ptr<cPozycjaMP3> next =
                    (k >= 1 && k <= tracks().Count()) ? tracks().Item(k) : nullptr;
                if (next) {
                    PlayTrack(k, m_firstStart);
                    if (!next->MediaControl && !next->blnZablokowany)
                        return false;
                }
                const std::int32_t at = ItemTracka(tracks(), t->lngNrPozycji);
                if (at == 0)
                    break;
                NextSuccessor(tracks(), at);
                k = t->lngOverTakingIndex;
                if (t->sngOverTaking != s1)
                    break;
            }
        }
    }
    m_startTarget = 0;
    blnStartPhase = false;
    return true;
}

void SequencePlayer::removeEntry(std::int32_t index) {
    if (!m_run.colPlayRun || index < 1 || index > m_run.colPlayRun->size())
        return;
    // The mark names an entry by its index: it follows the entries it stands
    // behind, and a marked track that leaves the list is deleted once the
    // pass is over, so a waiting deletion never strikes another track.
    if (m_run.lngPlayRunMark == index) {
        markToDeleteAfter();
    } else if (m_run.lngPlayRunMark > index) {
        m_run.lngPlayRunMark -= 1;
    }
    m_run.colPlayRun->removeAt(index - 1);
    m_quietMs = kPassMs; // the run may end, or go on with what is left, soon
}

void SequencePlayer::markToDeleteAfter() {
    const std::int32_t k = m_run.lngPlayRunMark;
    if (!m_run.colPlayRun || k < 1 || k > m_run.colPlayRun->size())
        return;
    const std::int32_t p = m_run.colPlayRun->at(k - 1);
    if (p >= 1 && p <= tracks().Count())
        m_deleteAfter = tracks().Item(p)->lngNrPozycji;
    m_run.lngPlayRunMark = 0;
}

void SequencePlayer::deleteWaiting() {
    const std::int32_t number = m_deleteAfter;
    m_deleteAfter = 0;
    if (number != 0 && TrackByNumber(tracks(), number))
        m_view.deleteTrack(number);
}

void SequencePlayer::finishLook(cPozycjaMP3& t) {
    m_view.showLook(t, PlayLook::Idle);
    m_view.setTimeVisible(t.lngNrPozycji, false);
}

void SequencePlayer::deletePending(std::int32_t index) {
    m_run.lngPlayRunMark = 0;
    const std::int32_t p = m_run.colPlayRun->at(index - 1);
    removeEntry(index);
    m_active = true;
    if (p < 1 || p > tracks().Count())
        return;
    std::shared_ptr<cPozycjaMP3> t = tracks().Item(p);
    // The player lets go of the track before it goes: its graph is stopped
    // and released with it, its delay timer unloaded.
    if (t->MediaControl)
        t->MediaControl->stop();
    t->blnPlayed = false;
    Timer.Unload(t->lngNrPozycji);
    finishLook(*t);
    m_view.deleteTrack(t->lngNrPozycji);
}

SequencePlayer::PassEnd SequencePlayer::pass() {
    m_active = false;
    m_quietMs = kQuietMaxMs;
    const double lead = m_settings.OverTakeSeconds;
    const std::int32_t count = m_run.colPlayRun ? static_cast<std::int32_t>(m_run.colPlayRun->size()) : 0;
    for (std::int32_t i = 1; i <= count; ++i) {
        if (!m_run.colPlayRun || i > m_run.colPlayRun->size())
            break;
        if (const std::optional<PassEnd> end = passEntry(i, lead))
            return *end;
    }
    return PassEnd::Done;
}

std::optional<SequencePlayer::PassEnd> SequencePlayer::passEntry(std::int32_t i, double lead) {
    // 1. A deletion that waited for this entry.
    if (m_run.lngPlayRunMark == i) {
        deletePending(i);
        return PassEnd::Done;
    }
    const std::int32_t position = m_run.colPlayRun->at(i - 1);
    if (position < 1 || position > tracks().Count()) {
        removeEntry(i);
        m_active = true;
        return PassEnd::Done;
    }
    std::shared_ptr<cPozycjaMP3> holder = tracks().Item(position);
    cPozycjaMP3& P = *holder;
    const std::shared_ptr<PlaybackGraph> graph = P.MediaPosition;
    if (!graph) {
        // Released under the run (the tag editor): the track is done.
        P.blnPlayed = false;
        finishLook(P);
        removeEntry(i);
        Timer.Unload(P.lngNrPozycji);
        m_active = true;
        return PassEnd::Done;
    }
    // A file that does not decode stands at its end at once: the chain
    // would race through its tracks without a sound or a word.
    if (P.blnPlayed && graph->failed())
        return PassEnd::Failed;
    const EntryTimes at{graph->currentPosition(), graph->stopTime(), graph->duration()};
    if (P.blnPlayed) {
        m_active = true;
        if (const std::optional<PassEnd> end = whilePlaying(P, i, at, lead))
            return end;
    }
    // 3. The end of the range: reached or passed.
    if (at.cur >= at.stop) {
        if (P.sngOverTaking > 0)
            startGapDelay(P);
        else
            return finishEntry(P, i);
    }
    if (P.blnPlayed) {
        applyFadesAndLabel(P);
        noteQuiet(P, *graph, at, lead);
    } else {
        m_quietMs = kPassMs;
    }
    return std::nullopt;
}

std::optional<SequencePlayer::PassEnd> SequencePlayer::whilePlaying(cPozycjaMP3& P, std::int32_t i,
                                                                    const EntryTimes& at, double lead) {
    const std::int32_t n = P.lngNrPozycji;
    // A loop into a track that is gone is no loop.
    const bool loops = P.lngLoopTrack >= 0 && ItemTracka(tracks(), P.lngLoopTrack) > 0;
    // 2.1 Loop back.
    if (at.cur + lead >= at.stop && !P.blnPrev && loops && P.lngLoopCount > 0)
        return loopBack(P, i);
    // 2.2 The successor's moment.
    if (!loops || P.lngLoopCount <= 0) {
        const double x =
            RescaleToPlayerTime(P.sngOverTaking, P.dblDuration, at.dur, m_settings.UseOldAlgorithm);
        const bool byPosition = P.lngOverTakingIndex > 0 && at.cur + lead - x >= at.stop;
        const bool byTimer = Timer.Enabled(n) && Val(Timer.Tag(n)) == 0;
        if (byPosition || byTimer)
            return startSuccessor(P);
    }
    // 2.3 A previous-track request that meets a running gap delay.
    if (P.blnPrev && Timer.Enabled(n) && Val(Timer.Tag(n)) != 0)
        return previousDuringGap(P);
    return std::nullopt;
}

SequencePlayer::PassEnd SequencePlayer::loopBack(cPozycjaMP3& P, std::int32_t i) {
    lngRefTime = m_clock.milliseconds();
    P.lngLoopCount -= 1;
    blnStartPhase = true;
    m_startTarget = P.lngLoopTrack;
    P.sngOverTaking = kNoOvertake;
    P.lngColNastepnikIndex = 0;
    P.blnPrev = false;
    P.blnPlayed = false;
    finishLook(P);
    removeEntry(i);
    Timer.Unload(P.lngNrPozycji);
    return PassEnd::Jump;
}

SequencePlayer::PassEnd SequencePlayer::startSuccessor(cPozycjaMP3& P) {
    const std::int32_t n = P.lngNrPozycji;
    if (P.lngColNastepnikIndex == 1)
        lngRefTime = m_clock.milliseconds();
    Timer.SetEnabled(n, false);
    if (P.blnPrev) {
        blnStartPhase = true;
        P.blnPlayed = false;
        m_startTarget = PreviousTarget(P);
    } else {
        m_startTarget = n;
    }
    P.blnPrev = false;
    return PassEnd::Jump;
}

SequencePlayer::PassEnd SequencePlayer::previousDuringGap(cPozycjaMP3& P) {
    Timer.SetTag(P.lngNrPozycji, QStringLiteral("0"));
    P.blnPrev = false;
    blnStartPhase = false;
    if (const std::int32_t m = ItemTracka(tracks(), P.lngTrack)) {
        tracks().Item(m)->lngColNastepnikIndex = 0;
        NextSuccessor(tracks(), m);
    }
    return PassEnd::Jump;
}

void SequencePlayer::startGapDelay(cPozycjaMP3& P) {
    const std::int32_t n = P.lngNrPozycji;
    // A paused delay stays off until the resume switches it on.
    if (Timer.Enabled(n) || blnPause)
        return;
    if (P.blnPrev) {
        P.sngOverTaking = kNoOvertake;
        P.lngColNastepnikIndex = 0;
    } else {
        m_view.setTimeVisible(n, false);
        if (P.lngColNastepnikIndex == 1)
            lngRefTime = m_clock.milliseconds();
        Timer.Load(n);
        // A gap under half a millisecond rounds to no interval, and a timer
        // without one never ticks: the successor would never start.
        Timer.SetInterval(n, std::max<std::int64_t>(1, RoundHalfEven(P.sngOverTaking * 1000.0)));
        Timer.SetTag(n, QString::number(n));
        Timer.SetEnabled(n, true);
    }
    blnStartPhase = false;
}

SequencePlayer::PassEnd SequencePlayer::finishEntry(cPozycjaMP3& P, std::int32_t i) {
    if (P.lngColNastepnikIndex == 1)
        lngRefTime = m_clock.milliseconds();
    P.lngLoopCount = P.lngLoopCountBackup;
    P.blnPlayed = false;
    finishLook(P);
    removeEntry(i);
    P.sngOverTaking = kNoOvertake;
    P.lngColNastepnikIndex = 0;
    m_active = true;
    Timer.Unload(P.lngNrPozycji);
    if (P.blnPrev) {
        blnStartPhase = true;
        m_startTarget = PreviousTarget(P);
        P.blnPrev = false;
        return PassEnd::Jump;
    }
    return PassEnd::Done;
}

void SequencePlayer::applyFadesAndLabel(cPozycjaMP3& P) {
    const std::shared_ptr<PlaybackGraph> graph = P.MediaBasicAudio;
    if (!graph)
        return;
    const double lead = m_settings.OverTakeSeconds;
    const double cur = graph->currentPosition();
    // The fade-in acts only where the fade-out does not, so the two never
    // fight over the volume of a short track.
    if (auto v = FadeOutVolume(P, cur, graph->stopTime(), lead))
        graph->setVolume(*v);
    else if (auto w = FadeInVolume(P, cur, lead, graph->volume(),
                                   FadeInEndSeconds(P, graph->duration(), m_settings.UseOldAlgorithm)))
        graph->setVolume(*w);
    // Moved back out of its fade-out, a track plays at its own volume again:
    // the end of a fade-in gives it back, and a track without one gets it here.
    else if (!HasFadeIn(P) && graph->volume() != ClampVolume(P.lngVolume))
        graph->setVolume(ClampVolume(P.lngVolume));
    const double t =
        RescaleFromPlayerTime(cur, P.dblDuration, graph->duration(), m_settings.UseOldAlgorithm);
    m_view.setTimeText(P.lngNrPozycji, TimeLabelText(P, t));
}

void SequencePlayer::exitPath() {
    if (m_passCall)
        m_clock.cancel(m_passCall);
    m_passCall = 0;
    Timer.UnloadAll();
    // Whatever way the run ends, nothing it started plays on or keeps its
    // output open.
    for (const auto& weak : m_runTracks) {
        std::shared_ptr<cPozycjaMP3> t = weak.lock();
        if (!t)
            continue;
        if (t->MediaControl)
            t->MediaControl->stop();
        if (t->blnPlayed) {
            t->blnPlayed = false;
            t->lngLoopCount = t->lngLoopCountBackup;
            t->sngOverTaking = kNoOvertake;
            t->lngColNastepnikIndex = 0;
        }
        finishLook(*t);
        t->ReleaseGraph();
    }
    m_runTracks.clear();
    markToDeleteAfter();
    blnPause = false;
    m_run.colPlayRun.reset();
    m_run.lngPlayRunMark = -1;
    m_busy = false;
    m_gotoHead = false;
    m_view.runChanged(false);
    // A deletion that waited for the run happens now that it let go.
    if (m_deleteAfter)
        deleteWaiting();
}

void SequencePlayer::Shutdown() {
    setTimer(false);
    if (!m_busy)
        return;
    cmdStop_Click();
    exitPath();
}

} // namespace kelbrin
