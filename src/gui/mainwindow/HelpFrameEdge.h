#pragma once
// The help frame's top edge, dragged from the track surface: the frame keeps
// room for a line of help, and the surface keeps room for a row of boxes.

#include "gui/editor/TrackSurface.h"

#include <QObject>

namespace kelbrin {

class frmDazudizi;

class HelpFrameEdge final : public QObject, public HelpBoxEdge {
public:
    explicit HelpFrameEdge(frmDazudizi& window);

    std::optional<int> top() const override;
    void dragTo(int y) override;

private:
    frmDazudizi& m_window;
};

} // namespace kelbrin
