#pragma once
// Copying a track's members: the undo history's whole-track copy,
// paste onto a track, paste into a new track and the copy into the clipboard.

#include <QString>
#include <cstdint>

namespace kelbrin {

class cPozycjaMP3;
class cPozycjeMP3;

namespace synchro {
enum Mode : std::int32_t {
    Undo = 0,      // placement, links, naming and the common members; not the number
    Paste = 1,     // the common members and the label onto an existing track
    PasteNew = 2,  // the common members and a numbered label into a new track
    Clipboard = 3, // as Undo, and the number too
};
}

// The label a pasted track gets: the source's label, numbered by
// UniqueTrackName against the tracks of `project` that use the same source.
QString PastedLabel(const cPozycjaMP3& source, const cPozycjeMP3* project);

// Copies from source to destination. In modes 1 and 2 `project` is the track
// collection that numbers the pasted label (may be null: no other tracks).
void Synchro(const cPozycjaMP3& source, cPozycjaMP3& destination, std::int32_t mode,
             const cPozycjeMP3* project = nullptr);

} // namespace kelbrin
