#pragma once
// Takes the window back to an empty project: no tracks, no open files, no
// undo history, no clipboard track, no selection, an empty tree, list and
// drawing surface, today's project date, both counters at 1, no project file
// (no recent item checked) and the autosave off.

namespace kelbrin {

class ProjectWindow;

void ResetProject(ProjectWindow& window);

} // namespace kelbrin
