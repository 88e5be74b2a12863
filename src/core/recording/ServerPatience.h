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
// loaded machine. It is also far above a call's time-out, so calls lost in a
// busy moment never end a recording.
constexpr qint64 kServerPatienceMs = 180000;

// How long a call may go unanswered before it counts as not answered: ten of
// the server's turns. The state queries wait for nothing (their answer comes
// through the event loop); a call whose answer the recording needs holds the
// window's thread this long at most, and is not made while the server is not
// answering.
constexpr int kQuickCallMs = 1000;

// And it is asked at most this often: the acknowledgements in the shared
// store tell of its progress without a call.
constexpr qint64 kSilentServerProbeMs = 5000;

// How long the start of a recording waits for the server to open it. The
// window's thread waits for nothing meanwhile; a server busy with the end of
// an earlier recording may take several of its turns.
constexpr int kStartCallMs = 25000;

} // namespace kelbrin
