#include "PanelTempo.h"

#include "PreviewPlayer.h"
#include "core/document/cPozycjaMP3.h"
#include "core/document/cPozycjeMP3.h"
#include "core/editor/TrackGraph.h"

#include <algorithm>
#include <cmath>

namespace kelbrin {

namespace {

constexpr int kSpeedMin = 1;
constexpr int kSpeedMax = 200;

// Target / stored in whole per cent, truncated; both above 0.
std::int64_t UnclampedSpeed(std::int32_t stored, std::int32_t target) {
    return std::int64_t(target) * 100 / stored;
}

} // namespace

void PanelTempo::cmdBPM_Click() {
    const auto mean = tap.Tap();
    if (!mean)
        return;
    if (m_preview.speedBar != 100)
        m_preview.mnuSpeed2_Set_Click();
    SetTempo(*mean);
}

void PanelTempo::cmdReset_Click() {
    m_preview.bpmTag = 0;
    tap.Reset();
    m_preview.mnuSpeed2_Set_Click();
}

void PanelTempo::SetTempo(std::int32_t bpm) {
    m_preview.bpmTag = bpm;
    const auto& track = m_preview.Cpoz;
    if (bpm > 0 && track && track->lngBPM != bpm) {
        track->lngBPM = bpm;
        track->blnZmodyfikowana = true;
    }
}

bool PanelTempo::canMatch() const { return m_preview.bpmTag > 0; }

bool PanelTempo::mnuSync_Click(const cPozycjeMP3& tracks, std::int32_t number) {
    const std::int32_t position = ItemTracka(tracks, number);
    if (position <= 0)
        return false;
    const std::int32_t stored = m_preview.bpmTag;
    const std::int32_t target = tracks.Item(position)->lngBPM;
    const auto speed = MatchSpeed(stored, target);
    if (!speed)
        return false;
    m_preview.HScrSpeed_Change(*speed);
    // The label reads the target, unless the bar could not reach it.
    m_preview.matchedTempo.reset();
    if (UnclampedSpeed(stored, target) == *speed && m_preview.speedBar == *speed)
        m_preview.matchedTempo = PreviewPlayer::MatchedTempo{*speed, stored, target};
    return true;
}

std::optional<int> MatchSpeed(std::int32_t stored, std::int32_t target) {
    if (stored <= 0 || target <= 0)
        return std::nullopt;
    return static_cast<int>(std::clamp<std::int64_t>(UnclampedSpeed(stored, target), kSpeedMin, kSpeedMax));
}

QString SyncItemCaption(const cPozycjeMP3& tracks, std::int32_t number) {
    const std::int32_t position = ItemTracka(tracks, number);
    if (position <= 0)
        return QString();
    const cPozycjaMP3& t = *tracks.Item(position);
    // The rate is a per-cent step held in binary: 0.7 x 100 must read 70.
    const auto bpm = static_cast<std::int64_t>(std::trunc(double(t.sngRate) * t.lngBPM + 1e-4));
    return QStringLiteral("%1 (%2 BPM)").arg(t.strLabel).arg(bpm);
}

} // namespace kelbrin
