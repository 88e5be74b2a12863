#pragma once
// Where every panel of the main window goes, from the window's size and the
// sizes and visibility of the panels. All lengths are twips. Pure arithmetic,
// so the rules are tested without a window.

#include "gui/app/Twips.h"

namespace kelbrin {

struct MainLayoutInput {
    double innerWidth = 0, innerHeight = 0; // client area
    double outerWidth = 0;                  // window width with its frame
    double treeWidth = 0;
    double toolFrameHeight = 0;
    double progressHeight = 0;   // bottom line
    double trackInfoHeight = 0;  // hint line
    bool trackInfoVisible = false;
    double trackPanelHeight = 0;
    bool trackPanelVisible = false;
    double helpFrameHeight = 0;
    bool helpFrameVisible = false;
    bool advancedView = false;
    // Controls inside the track panel keep their own left edges.
    double frame2Left = 0, frame2Top = 0;
    double speedScrollLeft = 0, speedLabelLeft = 0, balanceScrollLeft = 0, balanceLabelLeft = 0,
           deviceFrameLeft = 0, deviceComboLeft = 0;
    double saveButtonWidth = 0;
};

struct MainLayoutResult {
    TwipRect toolFrame, trackInfo, trackPanel, surface, tree, list, tagFrame, helpFrame, progressLine,
        progressBar;
    double helpTextWidth = 0;
    double speedScrollWidth = 0, speedLabelWidth = 0, balanceScrollWidth = 0, balanceLabelWidth = 0,
           deviceFrameWidth = 0, deviceComboWidth = 0;
    double saveButtonLeft = 0;
    bool tagFrameVisible = false;
};

// The smallest outer width of the main window.
constexpr double kMainMinOuterWidth = 10300;

MainLayoutResult ComputeMainLayout(const MainLayoutInput& in);

// The smallest outer height of the window in its normal state that still
// leaves room for the surface above the track panel, tool frame and help.
constexpr double kMainMinNormalHeight = 7200;

// Where the window goes in its normal state (also the size it comes back to
// from maximized): the stored size, never below the usable minimum nor beyond
// the screen, placed so that it lies wholly on the screen.
TwipRect NormalPlacement(const TwipRect& stored, const TwipRect& screen);

} // namespace kelbrin
