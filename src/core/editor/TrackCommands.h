#pragma once
// The model's half of the Track menu: lock, remove a connection or a loop,
// the loop count typed by the user, the pair of tracks a fade belongs to,
// the clipboard copy and the two pastes, and a label's allowed characters.
// Each function changes only the tracks it is given; the window takes the
// undo snapshot first and repaints after.

#include <QString>
#include <cstdint>
#include <memory>
#include <utility>

namespace kelbrin {

class cPozycjaMP3;
class cPozycjeMP3;

// Lock or unlock; the track is marked modified.
void ToggleLock(cPozycjaMP3& track);

// The track becomes detached (lngTrack = its own number) and leaves its
// predecessor's successor list.
void RemoveConnection(cPozycjeMP3& tracks, std::int32_t number);

// No loop any more, and no passes left.
void RemoveLoop(cPozycjaMP3& track);

// The loop count typed into the input box: at most its first 6 characters,
// the leading number rounded half to even. Any six digits (0 to 999,999) are
// accepted; a negative number is refused; an empty text is a cancel.
constexpr std::int32_t kMaxLoopCount = 999999;
enum class LoopCountAnswer { Cancelled, Accepted, Refused };
LoopCountAnswer ParseLoopCount(const QString& typed, std::int32_t& count);
// Stores an accepted count as the user's count and the passes still to play.
void SetLoopCount(cPozycjaMP3& track, std::int32_t count);

// The transition a fade editor shows for the track with this number: from its
// predecessor to it, or from itself to itself when it follows the start box
// (or its predecessor is gone). Null when the track does not exist.
std::pair<std::shared_ptr<cPozycjaMP3>, std::shared_ptr<cPozycjaMP3>>
FadePair(const cPozycjeMP3& tracks, std::int32_t number);

// A separate copy of the track for the clipboard (its number included).
std::shared_ptr<cPozycjaMP3> ClipboardCopy(const cPozycjaMP3& track);
// The clipboard's settings onto an existing track: its number, links, loop,
// position, overlap and file name stay; the label is the clipboard's, numbered
// for its source unless it is pasted back onto the copied track.
void PasteOnto(const cPozycjaMP3& clipboard, cPozycjaMP3& target, const cPozycjeMP3& tracks);
// A new, unnumbered track with the clipboard's settings and a numbered label
// (the clipboard's label as it is when `keepLabel`: a track moved in the tree);
// the split dialog numbers it, places it and adds it.
std::shared_ptr<cPozycjaMP3> PasteAsNew(const cPozycjaMP3& clipboard, const cPozycjeMP3& tracks,
                                        bool keepLabel = false);

// A label without the characters a file name cannot hold (: \ / ? * " < > |).
QString CleanLabel(const QString& text);

} // namespace kelbrin
