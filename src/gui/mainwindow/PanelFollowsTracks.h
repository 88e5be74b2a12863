#pragma once
// The track panel edits one track object. A deletion, or an undo or redo
// that takes that track away or brings its number back as another object,
// would leave the panel editing an object the project no longer holds, and
// every edit made there afterwards would be lost with it; an undo or redo
// that writes older fields into the track would leave the panel showing
// values the track no longer has. So the panel follows the project: it shows
// the track that now holds its number, or closes when there is none.

namespace kelbrin {

class frmDazudizi;

void InstallPanelFollower(frmDazudizi& window);

} // namespace kelbrin
