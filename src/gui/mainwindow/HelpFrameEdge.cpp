#include "HelpFrameEdge.h"

#include "frmDazudizi.h"
#include "gui/app/Twips.h"

#include <QGroupBox>
#include <QLabel>
#include <algorithm>

namespace kelbrin {

namespace {
constexpr int kHelpMinHeight = 600; // twips
constexpr int kSurfaceMinAboveHelp = 1500;
} // namespace

HelpFrameEdge::HelpFrameEdge(frmDazudizi& window) : QObject(&window), m_window(window) {}

std::optional<int> HelpFrameEdge::top() const {
    if (!m_window.fraHelp()->isVisible() || !m_window.lblHelp()->isVisible())
        return std::nullopt;
    return PxToTwips(m_window.fraHelp()->y() - m_window.picWork()->y());
}

void HelpFrameEdge::dragTo(int y) {
    QGroupBox* frame = m_window.fraHelp();
    QLabel* label = m_window.lblHelp();
    const int work = m_window.picWork()->y();
    const int bottom = frame->y() + frame->height();
    const int highest = work + TwipsToPx(kSurfaceMinAboveHelp);
    const int top = std::min(std::max(work + TwipsToPx(y), highest), bottom - TwipsToPx(kHelpMinHeight));
    const int height = bottom - top;
    if (height == frame->height() || height < TwipsToPx(kHelpMinHeight))
        return;
    frame->resize(frame->width(), height);
    label->resize(label->width(), std::max(0, height - label->y() - TwipsToPx(50)));
    m_window.Form_Resize();
}

} // namespace kelbrin
