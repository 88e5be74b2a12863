#pragma once
// What the splitter needs of the main window: the project's tracks and
// selection, the opening of source files, the geometry of the drawing surface,
// and the views (boxes, list rows, tree nodes, the track panel) that follow the
// collection. The main window implements it; tests use a fake.

#include <QString>
#include <cstdint>
#include <memory>
#include <optional>

namespace kelbrin {

class cPozycjaMP3;
class cPozycjeMP3;
struct EditorSession;
struct LoadedSettings;
struct RecordingConfiguration;

// A box on the drawing surface, in twips.
struct SplitBox {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
};

class SplitHost {
public:
    virtual ~SplitHost() = default;

    // The project.
    // The editing session whose next track number the split advances.
    virtual EditorSession& Session() = 0;
    // The source folder the file dialogs start in, and where the recordings go.
    virtual LoadedSettings& Settings() = 0;
    virtual const RecordingConfiguration& Recording() = 0;
    virtual std::shared_ptr<cPozycjeMP3> Tracks() = 0;
    virtual std::int32_t SelectedTrack() = 0; // number, 0 = none
    // False while a long operation runs.
    virtual bool CanChangeProject() = 0;
    virtual bool IsRecording() = 0;

    // Opens a source file (with the open dialog when `path` is empty, starting
    // in `folder`, which receives the folder chosen) and adds it to the open
    // files. Returns its path, or "" when nothing was opened.
    virtual QString OpenSource(const QString& path, std::int32_t fileType, QString& folder) = 0;

    // Drawing surface: the box of a track (0 = the start box), and the size of
    // the area boxes are placed in.
    virtual SplitBox BoxOf(std::int32_t trackNo) = 0;
    virtual std::int32_t WorkWidth() = 0;
    virtual std::int32_t WorkHeight() = 0;
    // The track number of the list's last row, when the advanced view shows
    // the list and it has rows; new tracks then follow that track.
    virtual std::optional<std::int32_t> LastListRowTrack() = 0;

    // A track just added at `position` of the collection: its box (centre
    // lngLeft/lngTop, the start box's size), name and time labels, the line
    // from its predecessor (lngTrack), its list row (tag = its number) and its
    // tree node (see SplitTreeParent).
    virtual void AddTrackViews(const cPozycjaMP3& track, std::int32_t position) = 0;
    // lngSelectedTrack and the selection pointer.
    virtual void SelectTrack(std::int32_t trackNo) = 0;
    // An edited track's list row: source file name and output name columns.
    virtual void RefreshTrackRow(const cPozycjaMP3& track) = 0;
    // The first track of a project exists: copy and clone become possible.
    virtual void EnableCopyAndClone() = 0;
    // The track panel's preview play mode back to "the range" (mnuPlayR).
    virtual void ResetPreviewPlayMode() = 0;
    virtual void ShowInTrackPanel(const std::shared_ptr<cPozycjaMP3>& track) = 0;
    // The add-track button: off while the split dialog is open.
    virtual void SetAddButtonEnabled(bool enabled) = 0;
    // One undo snapshot of the whole collection, taken before a command of
    // the user changes it.
    virtual void TakeUndoSnapshot() = 0;
};

// Where a new track's tree node goes, given the tag of the tree's selected
// node (nothing when the tree is hidden or has no selection).
enum class SplitTreeParent {
    None,     // added later, when its parent is expanded
    Root,     // the selected node is the root "P" (negative tag)
    Start,    // the selected node is the start "S" and the track follows it
    Selected, // the selected node is the track's predecessor
};
SplitTreeParent TreeParentForNewTrack(std::optional<std::int32_t> selectedNodeTag,
                                      std::int32_t predecessor);

} // namespace kelbrin
