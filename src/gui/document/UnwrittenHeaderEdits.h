#pragma once
// Frame header edits live in the open files' frame indexes until they are
// written into the files. Whatever replaces the open files (closing the main
// window, New project, Open project) first lets the user write them, throw
// them away or go back.

namespace kelbrin {

class SourceToolHost;

// Asks about the files with unwritten frame header edits, if any: Yes writes
// each through the frame header editor's write-back, No leaves the edits to be
// thrown away with the open files, Cancel keeps everything. True when the
// caller may go on; false after Cancel, a busy host or a write that did not
// finish (its message already shown), and then no edit is lost.
bool SettleUnwrittenHeaderEdits(SourceToolHost& host);

} // namespace kelbrin
