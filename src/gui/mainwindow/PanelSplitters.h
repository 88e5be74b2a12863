#pragma once
// The two edges the user drags in the main window, neither a control of its
// own: the tree's right edge, from the window's bare surface beside the tree,
// and the line LineAudio in the track panel, between the panel's bars (speed,
// balance, device) on its left and the preview's seek bar on its right. A
// drag with the left button alone moves the edge to the pointer; the window's
// layout then gives the rest of the room to the other controls. Neither edge
// is stored: both start from their design places with the window.

#include <QHash>
#include <QObject>
#include <optional>

class QFrame;
class QMouseEvent;

namespace kelbrin {

class frmDazudizi;

class PanelSplitters final : public QObject {
public:
    explicit PanelSplitters(frmDazudizi& window);

    // Mouse moves in twips: over the window's bare surface (its client area)
    // and over the track panel's bare background.
    void Form_MouseMove(Qt::MouseButtons buttons, int x, int y);
    void fraAudio_MouseMove(Qt::MouseButtons buttons, int x, int y);

    // Part of each layout pass, after the preview column found its place:
    // sets the line, the seek bar and the bars beside it.
    void PlacePanelLine();

    QFrame* LineAudio = nullptr;
    // The line's x in the panel (twips), and the limits of a drag.
    double lineX() const;
    double lineMin() const;
    double lineMax() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    double seekRight() const; // twips: where the seek bar ends when undragged

    frmDazudizi& m_window;
    std::optional<double> m_line; // set by a drag; until then the line stays at its design place
    QHash<QObject*, bool> m_pressedOnBare; // the last press on the surface or the panel was on its background
};

} // namespace kelbrin
