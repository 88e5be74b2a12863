#pragma once
// Gives the main window its fade editors: the Track menu's fade command and a
// right click on a link line open them; an editor closes when one of its
// tracks leaves the project (deleted, or replaced by an undo or another
// project); the editors are minimized and restored with the main window.

namespace kelbrin {

class frmDazudizi;

void InstallFadeEditors(frmDazudizi& window);

} // namespace kelbrin
