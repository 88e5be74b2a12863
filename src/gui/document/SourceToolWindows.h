#pragma once

namespace kelbrin {

// The source tool windows left open list the open files by their ids: when
// the open files change (New or Open project, a source closed), each of them
// lists the files open now, so none reads or writes a file by an old id.
void SourceToolWindowsFollowOpenFiles();

} // namespace kelbrin
