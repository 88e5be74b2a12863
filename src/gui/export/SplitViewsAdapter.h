#pragma once
// The main window as the split dialog sees it: the project and the opening of
// source files through frmDazudizi, the drawing surface and the track list
// through the track graph editor, and what lies beyond both (the tree, the
// track panel) through hooks.

#include <functional>
#include <memory>

namespace kelbrin {

class EditorController;
class SplitHost;
class cPozycjaMP3;
class frmDazudizi;

struct SplitViewsParts {
    frmDazudizi* window = nullptr;
    // The graph editor of the window: boxes, selection and list rows. Without
    // it the list rows are still written and boxes take the default start box.
    EditorController* editor = nullptr;
    // The tree's node for a new track (TreeParentForNewTrack says where).
    // Empty: the editor's hook treeTrackRelinked hears of the track instead.
    std::function<void(const cPozycjaMP3&)> addTreeNode;
    // PokazMnie_FA (track, 0): the track panel shows the track. Empty: the
    // editor's hook openProperties does.
    std::function<void(std::shared_ptr<cPozycjaMP3>)> showInTrackPanel;
};

std::shared_ptr<SplitHost> MakeSplitHost(const SplitViewsParts& parts);

} // namespace kelbrin
