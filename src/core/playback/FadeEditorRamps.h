#pragma once
// The fade editor's volume ramps. A ramp runs in a straight line between its
// two volumes (1/100 dB), the same shape the sequence player gives its fades,
// so the preview sounds like the chain will:
//   r = (stop - (position + lead)) / fade time, clamped to 0..1
//   volume = to + (from - to) x r, clamped to -10000..0
// r is the share of the fade still to come: 1 at its start, 0 at its end.

namespace kelbrin {

// Share of the fade still to come; 0 for a fade time of 0 or less.
double FadeEditorRampShare(double stop, double position, double lead, double fadeTime);

// The volume at share r of a ramp from `from` to `to`, rounded half to even.
int FadeEditorRampVolume(int from, int to, double share);

} // namespace kelbrin
