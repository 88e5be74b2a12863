#pragma once
// The mixer diagnostics of the encoder server: a series of plain message
// boxes telling what the system's mixers report about their capture line and
// its controls. It changes nothing, and runs only while the setting RecHeight
// is above 0.

#include "platform/mixer/MixerSystem.h"

namespace kelbrin {

// True when the diagnostics are asked for (RecHeight above 0).
bool MixerDiagnosticsOn();

// Lists every mixer device: its capture destination's name, the line's
// details when it gathers any source, then each control's names and first
// value. A system without mixers shows nothing.
void ListMixers(MixerSystem& mixers = Mixers());

} // namespace kelbrin
