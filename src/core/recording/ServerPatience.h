#pragma once
// How long the editor waits for the encoder server before it gives up on it.

#include <QtGlobal>

namespace kelbrin {

// The longest the server may go without a sign of life (a block
// acknowledged or a call answered) before the recording ends as failed, and
// the longest the editor's close waits for it to finish a recording. A live
// server answers calls between turns of at most a tenth of a second of
// encoding, and during a backlog acknowledges at least every eight blocks (at
// most 40 s of sound, 5 s a block): three minutes is reached only by LAME
// running at a fifth of real time with every call missed, far beyond a
// loaded machine. It is also well above the bus's own 25 s time-out, so one
// call lost in a busy moment never ends a recording.
constexpr qint64 kServerPatienceMs = 180000;

// A server that let a call time out is asked again with this time-out until
// it answers: ten of its turns, while the window's thread waits no longer.
constexpr int kQuickCallMs = 1000;

// And it is asked at most this often: the acknowledgements in the shared
// store tell of its progress without a call.
constexpr qint64 kSilentServerProbeMs = 5000;

} // namespace kelbrin
