#pragma once
// The track panel's tempo box over the preview: taps measure the panel
// track's tempo, reset forgets the measurement, and a match moves the speed
// bar so that the panel track plays at another track's tempo. The stored
// tempo is the preview's bpmTag (the tempo label's tag) and the track's
// lngBPM; the label shows it scaled by the speed (PreviewPlayer::bpmCaption).

#include "TempoTap.h"

#include <QString>
#include <cstdint>
#include <optional>

namespace kelbrin {

class cPozycjaMP3;
class cPozycjeMP3;
class PreviewPlayer;

class PanelTempo {
public:
    // `clock` times the taps.
    PanelTempo(PreviewPlayer& preview, const Clock& clock) : tap(clock), m_preview(preview) {}

    // A tap (cmdBPM): the second click of a pair sets the tempo to the mean,
    // after bringing the speed back to 100 %.
    void cmdBPM_Click();
    // Tempo 0 shown, samples forgotten, speed back to 100 %; the track keeps
    // the tempo it has.
    void cmdReset_Click();
    // The tempo label's tag changed: a tempo above 0 becomes the track's.
    void SetTempo(std::int32_t bpm);
    // The match menu can open (lblSync enabled).
    bool canMatch() const;
    // Match to the track with this number: the speed bar moves to target /
    // stored tempo. False (nothing changed) when either tempo is unknown or
    // no track has the number.
    bool mnuSync_Click(const cPozycjeMP3& tracks, std::int32_t number);

    TempoTap tap;

private:
    PreviewPlayer& m_preview;
};

// The speed bar's value (per cent) that brings `stored` beats per minute to
// `target`, truncated and held within the bar's 1..200 (0 would not play);
// nothing when either tempo is 0 or less.
std::optional<int> MatchSpeed(std::int32_t stored, std::int32_t target);

// A match menu item: the label of the track with this number and its tempo at
// its own speed, "Label (120 BPM)"; "" when no track has the number.
QString SyncItemCaption(const cPozycjeMP3& tracks, std::int32_t number);

} // namespace kelbrin
