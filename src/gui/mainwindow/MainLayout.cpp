#include "MainLayout.h"

#include <algorithm>

namespace kelbrin {

MainLayoutResult ComputeMainLayout(const MainLayoutInput& in) {
    MainLayoutResult r;
    // Tool frame across the bottom, above the hint line when that is shown.
    r.toolFrame.width = in.innerWidth - 10;
    r.toolFrame.left = 0;
    r.toolFrame.height = in.toolFrameHeight;
    r.trackInfo.height = in.trackInfoHeight;
    if (in.trackInfoVisible) {
        // The visible hint line gets its own band above the bottom line.
        r.trackInfo.width = in.outerWidth;
        r.trackInfo.left = 0;
        r.trackInfo.top = in.innerHeight - in.progressHeight - 40 - in.trackInfoHeight;
        r.toolFrame.top = r.trackInfo.top - in.toolFrameHeight - 40;
    } else {
        r.toolFrame.top = in.innerHeight - in.progressHeight - in.toolFrameHeight - 40;
        r.trackInfo.width = in.outerWidth;
        r.trackInfo.top = r.toolFrame.top + in.toolFrameHeight + 40;
    }

    const double panelTop =
        r.toolFrame.top + 40 - (in.trackPanelVisible ? in.trackPanelHeight : 0);
    r.trackPanel.top = panelTop;
    r.trackPanel.height = in.trackPanelHeight;

    // The help frame stands over the surface's bottom: while it is shown the
    // surface ends above it, so it never covers a box nor a row of the list.
    r.surface.height = panelTop - (in.helpFrameVisible ? in.helpFrameHeight : 0);
    r.surface.left = in.treeWidth + 15;
    r.surface.width = in.innerWidth;
    r.surface.top = 0;

    // The tree's left border lies just outside the window, so its right edge
    // comes out 30 twips short of its width and a gap of 45 twips to the
    // surface is left to take the splitter.
    r.tree.left = -30;
    r.tree.top = 0;
    r.tree.width = in.treeWidth;
    r.tree.height = r.toolFrame.top + 50;

    if (in.advancedView) {
        r.list = {0, 0, in.outerWidth - 100, r.surface.height};
        r.trackPanel.left = 0;
        r.trackPanel.width = r.list.width;
        r.tagFrameVisible = true;
    } else {
        r.trackPanel.left = in.treeWidth;
        r.trackPanel.width = in.outerWidth - r.trackPanel.left - 100;
        r.tagFrameVisible = false;
    }

    r.tagFrame.left = in.frame2Left;
    r.tagFrame.top = in.frame2Top;
    r.tagFrame.width = r.trackPanel.width - in.frame2Left - 100;

    r.helpFrame.height = in.helpFrameHeight;
    r.helpFrame.top = panelTop - in.helpFrameHeight;
    r.helpFrame.left = r.trackPanel.left;
    r.helpFrame.width = r.trackPanel.width;
    r.helpTextWidth = r.helpFrame.width - 100;

    const double w = r.trackPanel.width;
    r.speedScrollWidth = w - in.speedScrollLeft - 100;
    r.speedLabelWidth = w - in.speedLabelLeft - 100;
    r.balanceScrollWidth = w - in.balanceScrollLeft - 100;
    r.balanceLabelWidth = w - in.balanceLabelLeft - 100;
    r.deviceFrameWidth = w - in.deviceFrameLeft - 100;
    r.deviceComboWidth = r.deviceFrameWidth - in.deviceComboLeft - 100;

    r.progressLine.height = in.progressHeight;
    r.progressLine.top = in.innerHeight - in.progressHeight - 10;
    r.progressLine.width = in.innerWidth - 10;
    r.progressLine.left = 0;

    r.saveButtonLeft = r.toolFrame.width - in.saveButtonWidth - 100;

    r.progressBar.top = r.progressLine.top + 40;
    r.progressBar.left = 0;
    return r;
}

TwipRect NormalPlacement(const TwipRect& stored, const TwipRect& screen) {
    auto clamp = [](double value, double low, double high) {
        return value < low ? low : value > high ? high : value;
    };
    TwipRect r;
    r.width = clamp(stored.width, std::min(kMainMinOuterWidth, screen.width), screen.width);
    r.height = clamp(stored.height, std::min(kMainMinNormalHeight, screen.height), screen.height);
    r.left = clamp(stored.left, screen.left, screen.left + screen.width - r.width);
    r.top = clamp(stored.top, screen.top, screen.top + screen.height - r.height);
    return r;
}

} // namespace kelbrin
