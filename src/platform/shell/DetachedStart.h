#pragma once
// Starts a program that outlives the editor and is no child of it (nothing
// is left for the editor to wait for or to kill when it ends), and still lets
// the editor learn how the program ended while it cares to know.

#include <QString>
#include <QStringList>

namespace kelbrin {

// Starts `program` (a full path) with `arguments`, its standard input from
// /dev/null and its output where the editor's goes, in a session of its own.
// Returns a descriptor, closed on exec, from which the program's exit status
// can be read as decimal text ("3\n") once it has ended, or -1 when no process
// could be made. The caller closes it; closed early, the status is dropped and
// the program runs on unaffected.
int StartDetachedWatched(const QString& program, const QStringList& arguments);

// Reads the status StartDetachedWatched's descriptor gave: its exit status,
// 128 + the signal that ended it, or -1 when nothing (or no number) could be
// read, as when the watch ended before the status was written.
int ReadDetachedStatus(int descriptor);

} // namespace kelbrin
