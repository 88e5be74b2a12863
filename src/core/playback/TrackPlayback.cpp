// The operations on single tracks during a run: starting one track with all
// its play settings, pause and resume, move, next, previous, stop and the
// play modes.
#include "SequencePlayer.h"

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

#include <exception>

namespace kelbrin {

namespace {
using texts::kNoGraphText;

// A track whose predecessor still sounds started in that one's overlap.
bool StartedInOverlap(const cPozycjeMP3& all, const cPozycjaMP3& t) {
    if (t.lngTrack == 0 || t.lngTrack == t.lngNrPozycji)
        return false;
    const std::shared_ptr<cPozycjaMP3> before = TrackByNumber(all, t.lngTrack);
    return before && before->blnPlayed && before->MediaPosition &&
           before->MediaPosition->currentPosition() < before->MediaPosition->stopTime();
}
} // namespace

void SequencePlayer::PlayTrack(std::int32_t position, bool notFirst) {
    m_retry = false;
    for (;;) {
        if (!m_tracks() || position < 1 || position > tracks().Count())
            return;
        std::shared_ptr<cPozycjaMP3> holder = tracks().Item(position);
        cPozycjaMP3& T = *holder;
        if (T.blnZablokowany)
            return;
        try {
            if (!T.HasGraph() || T.blnDeviceChanged) {
                T.ReleaseGraph();
                std::shared_ptr<PlaybackGraph> built = BuildPlaybackGraph(
                    m_outputs, T.strFileNameSource, T.strDevice, false, T.dblDuration);
                if (!built)
                    return;
                T.AttachGraph(built);
                T.blnDeviceChanged = false;
            }
            const std::shared_ptr<PlaybackGraph> graph = T.MediaControl;
            remember(holder);
            // Marker mode: the first track of a run plays only its last part.
            const bool markerStart = mnuPlay_Marker && mnuPlay_MarkerEnabled && !notFirst;
            graph->setVolume(StartVolume(T, markerStart));
            graph->setBalance(-T.lngBalance);
            graph->setRate(T.sngRate);
            const double dur = graph->duration();
            const double start = StartSeconds(T, m_clock.milliseconds() - lngRefTime, markerStart);
            graph->setStopTime(RescaleToPlayerTime(RangeEndSeconds(T), T.dblDuration, dur,
                                                   m_settings.UseOldAlgorithm));
            graph->setCurrentPosition(
                RescaleToPlayerTime(start, T.dblDuration, dur, m_settings.UseOldAlgorithm));
            graph->run();

            const std::int32_t n = T.lngNrPozycji;
            m_view.setTimeText(n, TimeLabelText(T, start));
            m_view.setTimeVisible(n, true);
            T.blnPlayed = true;
            m_view.showLook(T, PlayLook::Playing);
            if (m_run.colPlayRun && !m_run.colPlayRun->contains(position))
                m_run.colPlayRun->append(position);
            NextSuccessor(tracks(), position);
            Timer.Load(n);
            Timer.SetEnabled(n, false);
            Timer.SetTag(n, QStringLiteral("0"));
            m_retry = false;
            return;
        } catch (const std::exception&) {
            T.ReleaseGraph();
            if (!m_retry) {
                // Once more with a graph built afresh.
                m_retry = true;
                continue;
            }
            ShowMessage(GetText(kNoGraphText), mb::Information, QString(), kNoGraphText);
            m_retry = false;
            return;
        }
    }
}

void SequencePlayer::cmdStop_Click() {
    // A run asked for and not yet started (the timer's tick is pending) is
    // called off too: a Stop right after Play must not let the chain start.
    setTimer(false);
    stopTracks();
    wake();
}

void SequencePlayer::stopTracks() {
    blnPause = false;
    if (!m_tracks() || tracks().Count() == 0)
        return;
    cPozycjeMP3& all = tracks();
    for (std::int32_t p = 1; p <= all.Count(); ++p) {
        cPozycjaMP3& t = *all.Item(p);
        if (!t.MediaPosition || t.blnZablokowany)
            continue;
        t.MediaControl->stop();
        t.lngLoopCount = t.lngLoopCountBackup;
        t.sngOverTaking = -100000.0f;
        t.lngColNastepnikIndex = 0;
        t.blnPlayed = false;
        // A previous-track request not yet taken up would start a track
        // after the stop.
        t.blnPrev = false;
        m_view.showLook(t, PlayLook::Idle);
        m_view.setTimeVisible(t.lngNrPozycji, false);
    }
    mnuPlay_Repeat = false;
    m_view.modesChanged();
}

void SequencePlayer::cmdPause_Click() {
    // Without a run there is nothing to pause; a flag set now would hold the
    // next run's first gap as if it were paused.
    if (!m_busy || !m_tracks() || tracks().Count() == 0)
        return;
    cPozycjeMP3& all = tracks();
    const bool pausing = !blnPause;
    for (std::int32_t p = 1; p <= all.Count(); ++p) {
        cPozycjaMP3& t = *all.Item(p);
        if (!t.MediaPosition || t.blnZablokowany || !t.blnPlayed)
            continue;
        const std::int32_t n = t.lngNrPozycji;
        if (pausing) {
            t.MediaControl->pause();
            if (Timer.Enabled(n))
                Timer.SetEnabled(n, false);
            m_view.showLook(t, PlayLook::Paused);
        } else {
            t.MediaControl->run();
            // A gap delay that was running starts again from its full interval.
            if (Timer.IsLoaded(n) && Val(Timer.Tag(n)) != 0)
                Timer.SetEnabled(n, true);
            m_view.showLook(t, PlayLook::Playing);
        }
    }
    blnPause = pausing;
    wake();
}

void SequencePlayer::cmdMove_Click(int index) {
    if (!m_tracks())
        return;
    const double step = (index == 1 ? 1.0 : -1.0) * m_settings.MoveStep;
    cPozycjeMP3& all = tracks();
    for (std::int32_t p = 1; p <= all.Count(); ++p) {
        cPozycjaMP3& t = *all.Item(p);
        if (!t.MediaPosition || !t.blnPlayed)
            continue;
        const double cur = t.MediaPosition->currentPosition();
        if (cur >= t.MediaPosition->stopTime())
            continue;
        // Moved past its end, the track is ended by the next pass.
        const double moved = cur + step;
        t.MediaPosition->setCurrentPosition(moved > 0 ? moved : 0.0);
    }
    wake();
}

void SequencePlayer::cmdNext_Click() {
    if (!m_tracks())
        return;
    cPozycjeMP3& all = tracks();
    // In an overlap the successor that has already started is the track Next
    // goes to: only the track it overlaps ends, and it plays on. Chosen for
    // every track before any is ended, so an ended predecessor does not make
    // its successor look like a track of its own.
    QList<std::shared_ptr<cPozycjaMP3>> ending;
    for (std::int32_t p = 1; p <= all.Count(); ++p) {
        std::shared_ptr<cPozycjaMP3> t = all.Item(p);
        if (!t->MediaPosition || !t->blnPlayed)
            continue;
        if (t->MediaPosition->currentPosition() >= t->MediaPosition->stopTime())
            continue;
        if (!StartedInOverlap(all, *t))
            ending.append(t);
    }
    for (const auto& t : ending) {
        // At its stop time the track counts as ended: successors, loops and
        // gap delays follow as at a natural end.
        t->MediaControl->pause();
        t->MediaPosition->setCurrentPosition(t->MediaPosition->stopTime());
    }
    wake();
}

void SequencePlayer::cmdPrev_Click() {
    if (!m_tracks() || tracks().Count() == 0)
        return;
    cPozycjeMP3& all = tracks();
    QList<std::shared_ptr<cPozycjaMP3>> back;
    QList<std::shared_ptr<cPozycjaMP3>> overlapping;
    for (std::int32_t p = 1; p <= all.Count(); ++p) {
        std::shared_ptr<cPozycjaMP3> t = all.Item(p);
        if (!t->blnPlayed || !t->MediaPosition)
            continue;
        (StartedInOverlap(all, *t) ? overlapping : back).append(t);
    }
    for (const auto& t : back) {
        t->MediaPosition->setCurrentPosition(t->MediaPosition->stopTime());
        t->blnPrev = true;
        t->lngColNastepnikIndex = 0;
    }
    // A successor that started in the overlap goes back with the track it
    // overlaps, which starts its predecessor: it ends as the last track of a
    // chain would, with no loop and no successor of its own.
    for (const auto& t : overlapping) {
        t->MediaPosition->setCurrentPosition(t->MediaPosition->stopTime());
        t->lngLoopCount = 0;
        t->lngColNastepnikIndex = 0;
        t->lngOverTakingIndex = 0;
        t->sngOverTaking = -100000.0f;
    }
    blnStartPhase = true;
    lngRefTime = m_clock.milliseconds();
    blnPause = false;
    wake();
}

void SequencePlayer::ReleaseGraphsBeforeTagWrite() {
    if (m_tracks()) {
        cPozycjeMP3& all = tracks();
        for (std::int32_t p = 1; p <= all.Count(); ++p) {
            cPozycjaMP3& t = *all.Item(p);
            if (t.blnZablokowany || !t.MediaControl)
                continue;
            t.MediaControl->stop();
            t.ReleaseGraph();
        }
    }
    blnPause = false;
    mnuPlay_Repeat = false;
    m_view.modesChanged();
    wake();
}

void SequencePlayer::mnuPlay_All_Click() {
    mnuPlay_All = !mnuPlay_All;
    mnuPlay_MarkerEnabled = !mnuPlay_All;
    m_view.modesChanged();
    wake();
}

void SequencePlayer::mnuPlay_Marker_Click() {
    mnuPlay_Marker = !mnuPlay_Marker;
    m_view.modesChanged();
    wake();
}

void SequencePlayer::mnuPlay_Repeat_Click() {
    mnuPlay_Repeat = !mnuPlay_Repeat;
    m_view.modesChanged();
    wake();
}

} // namespace kelbrin
