#pragma once
// The main window as the split dialog sees it: the project and the opening of
// source files through frmDazudizi, the drawing surface and the track list
// through the track graph editor, and what lies beyond both (the tree, the
// track panel) through the editor's partners.

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
    // Empty: the editor tells the tree the track was linked instead.
    std::function<void(const cPozycjaMP3&)> addTreeNode;
};

std::shared_ptr<SplitHost> MakeSplitHost(const SplitViewsParts& parts);

} // namespace kelbrin
