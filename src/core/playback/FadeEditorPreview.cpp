#include "FadeEditorPreview.h"

#include "FadeEditorBars.h"
#include "FadeEditorRamps.h"
#include "core/app/LoadedSettings.h"
#include "core/app/Numbers.h"
#include "core/app/PathProcedures.h"
#include "core/app/PlaybackGraphs.h"
#include "core/document/cPozycjaMP3.h"
#include "platform/media/Clock.h"
#include "platform/media/PlaybackGraph.h"

#include <algorithm>

namespace kelbrin {

FadeEditorPreview::FadeEditorPreview(std::shared_ptr<cPozycjaMP3> ending,
                                     std::shared_ptr<cPozycjaMP3> starting, bool endingShown,
                                     Clock& clock, const LoadedSettings& settings,
                                     const AudioOutputs& outputs)
    : m_e(std::move(ending)), m_s(std::move(starting)), m_endingShown(endingShown), m_clock(clock),
      m_settings(settings), m_outputs(outputs) {}

FadeEditorPreview::~FadeEditorPreview() {
    m_clock.cancel(m_passCall);
    m_clock.cancel(m_delayCall);
}

bool FadeEditorPreview::OpenPreviewGraphs(const QString& device) {
    if (m_running)
        return true; // the running preview keeps its graphs
    if (m_endingShown) {
        m_end.reset();
        m_end =
            BuildPlaybackGraph(m_outputs, m_e->strFileNameSource,
                               device.isEmpty() ? m_e->strDevice : device, false, m_e->dblDuration);
        if (!m_end)
            return false;
        m_endDuration = m_end->duration();
    }
    m_start.reset();
    m_start =
        BuildPlaybackGraph(m_outputs, m_s->strFileNameSource,
                           device.isEmpty() ? m_s->strDevice : device, false, m_s->dblDuration);
    if (!m_start)
        return false;
    m_startDuration = m_start->duration();
    return true;
}

double FadeEditorPreview::toEndGraph(double t) const {
    return RescaleToPlayerTime(t, m_e->dblDuration, m_endDuration, m_settings.UseOldAlgorithm);
}
double FadeEditorPreview::toStartGraph(double t) const {
    return RescaleToPlayerTime(t, m_s->dblDuration, m_startDuration, m_settings.UseOldAlgorithm);
}

bool FadeEditorPreview::start() {
    if (m_running || !m_start || (m_endingShown && !m_end))
        return false;
    m_running = true;
    if (m_endingShown) {
        startEnding();
        m_end->run();
    }
    m_phase = 1;
    m_endRunning = true;
    disarmDelay();
    if (m_observer)
        m_observer->PictureChanged(1, false);
    schedule();
    return true;
}

void FadeEditorPreview::startEnding() {
    m_end->setRate(m_e->sngRate);
    m_end->setBalance(-m_e->lngBalance);
    m_end->setVolume(m_e->lngVolume);
    if (m_observer)
        m_observer->PictureChanged(0, true);
    const float end = TrackEndSeconds(*m_e);
    m_end->setStopTime(toEndGraph(end));
    m_end->setCurrentPosition(toEndGraph(end - (kFadeBarMax - m_e->lngMarkerFrom) / 1000.0f));
}

void FadeEditorPreview::startStarting() {
    disarmDelay();
    m_start->setRate(m_s->sngRate);
    m_start->setBalance(-m_s->lngBalance);
    const bool fadeIn = m_s->sngFadeInTime > 0 && m_s->lngTrack != m_s->lngNrPozycji &&
                        m_s->lngVolumeStart != m_s->lngVolume;
    m_start->setVolume(fadeIn ? m_s->lngVolumeStart : m_s->lngVolume);
    // The starting track plays no further than its own end, and the pass
    // ends there when its range is shorter than the marker's window.
    m_start->setStopTime(toStartGraph(TrackEndSeconds(*m_s)));
    m_start->setCurrentPosition(toStartGraph(TrackBeginSeconds(*m_s)));
    m_previewEnd = static_cast<float>(
        std::min(toStartGraph(m_s->lngMarkerTo / 1000.0) + m_start->currentPosition(), m_start->stopTime()));
    if (m_observer)
        m_observer->PictureChanged(1, true);
    m_start->run();
    m_phase = 0;
}

void FadeEditorPreview::armDelay() {
    m_delayArmed = true;
    m_delayDone = false;
    if (m_observer)
        m_observer->DelayChanged(true);
    const qint64 ms = RoundHalfEven(double(m_s->sngOvertake) * 1000.0);
    m_delayCall = m_clock.callAfter(ms, [this] {
        m_delayCall = 0;
        m_delayDone = true;
    });
}

void FadeEditorPreview::disarmDelay() {
    m_clock.cancel(m_delayCall);
    m_delayCall = 0;
    m_delayDone = false;
    if (m_delayArmed || m_running) {
        m_delayArmed = false;
        if (m_observer)
            m_observer->DelayChanged(false);
    }
}

void FadeEditorPreview::schedule() {
    m_passCall = m_clock.callAfter(kPassMs, [this] {
        m_passCall = 0;
        tick();
    });
}

void FadeEditorPreview::tick() {
    if (!m_running)
        return;
    m_clock.cancel(m_passCall);
    m_passCall = 0;
    const float lead = m_settings.OverTakeSeconds;
    if (m_phase == 0) {
        if (lead + static_cast<float>(m_start->currentPosition()) >= m_previewEnd) {
            if (!(repeat && repeat())) {
                finish();
                return;
            }
            if (m_endingShown)
                startEnding(); // still running: plays on from the new position
            if (m_observer)
                m_observer->PictureChanged(1, false);
            m_start->stop();
            m_endRunning = true;
            m_phase = 1;
        }
    } else if (!m_endingShown) {
        startStarting();
    } else {
        const double pos = m_end->currentPosition();
        const double stop = m_end->stopTime();
        if (m_s->sngOvertake > 0 && !m_delayArmed) {
            if (lead + pos >= stop)
                armDelay();
        } else {
            const double o = RescaleToPlayerTime(m_s->sngOvertake, m_e->dblDuration, m_endDuration,
                                                 m_settings.UseOldAlgorithm);
            if ((m_delayArmed && m_delayDone) || lead + pos - o >= stop)
                startStarting();
        }
    }
    if (m_endingShown && m_endRunning && m_end->currentPosition() >= m_end->stopTime()) {
        if (m_observer)
            m_observer->PictureChanged(0, false);
        m_endRunning = false;
    }
    applyFadeOut();
    applyFadeIn();
    schedule();
}

void FadeEditorPreview::applyFadeOut() {
    if (!m_endingShown)
        return;
    const int ve = m_e->lngVolume, vz = m_e->lngVolumeEnd;
    const double fo = toEndGraph(m_e->sngFadeOutTime);
    if (ve == vz || m_e->colNastepnik.isEmpty() || !(fo > 0))
        return;
    const double lead = m_settings.OverTakeSeconds;
    const double pos = m_end->currentPosition(), stop = m_end->stopTime();
    if (stop - fo > lead + pos)
        return;
    const int v = FadeEditorRampVolume(ve, vz, FadeEditorRampShare(stop, pos, lead, fo));
    if (m_end->volume() != v)
        m_end->setVolume(v);
}

void FadeEditorPreview::applyFadeIn() {
    if (m_phase != 0)
        return;
    const int vs = m_s->lngVolumeStart, vp = m_s->lngVolume;
    if (m_s->lngTrack == m_s->lngNrPozycji || vp == vs || m_start->volume() == vp)
        return;
    const double lead = m_settings.OverTakeSeconds;
    const double fi = toStartGraph(m_s->sngFadeInTime);
    const double t = toStartGraph(double(TrackBeginSeconds(*m_s)) + m_s->sngFadeInTime);
    const double p = m_start->currentPosition();
    int v = vp;
    if (fi > 0 && static_cast<float>(lead + p) <= static_cast<float>(t))
        v = FadeEditorRampVolume(vs, vp, FadeEditorRampShare(t, p, lead, fi));
    m_start->setVolume(v);
}

void FadeEditorPreview::finish() { stop(); }

void FadeEditorPreview::stop() {
    if (!m_running)
        return;
    m_clock.cancel(m_passCall);
    m_passCall = 0;
    disarmDelay();
    m_running = false;
    if (m_observer) {
        if (m_endingShown)
            m_observer->PictureChanged(0, false);
        m_observer->PictureChanged(1, false);
    }
    // Releasing the graphs ends playback; the starting track's first.
    m_start.reset();
    m_end.reset();
    if (m_observer)
        m_observer->PreviewFinished();
}

} // namespace kelbrin
