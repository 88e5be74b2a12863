#pragma once
// Where the export dialog's controls go. The track list grows with the window,
// the option column follows the list's right edge and the buttons keep to the
// bottom right. All lengths are twips; pure arithmetic, so the rules are
// tested without a window.

#include "gui/app/Twips.h"

namespace kelbrin {

struct SaveDialogLayout {
    double innerWidth = 0, innerHeight = 0; // client area
    double outerWidth = 0, outerHeight = 0; // with the window frame
    // The client width at the window's smallest size; 0 when not known.
    double minInnerWidth = 0;
    TwipRect Label1, Label2, lstSource, txtSave, cmdDir, optSave0, txtFileName, optSave1,
        chkNazwy, chkWinamp, chkDetails, chkTurbo, chkCue, fraTurbo, txtWGore, txtWDol,
        cmdWytnij0, cmdWytnij1, cmdOK;
    // Inside the Turbo frame, relative to it.
    TwipRect Label3, optTurbo0, optTurbo1, optTurbo2;
};

// The smallest outer size of the window.
constexpr double kSaveDialogMinOuterWidth = 6720;
constexpr double kSaveDialogMinOuterHeight = 5640;

// The smallest outer width at which the option column, whose widest control
// reaches `columnExtent` beyond the column's left edge, ends inside the client
// area; never below kSaveDialogMinOuterWidth. `frameWidth` is the outer width
// less the inner width.
double SaveDialogMinOuterWidth(double columnExtent, double frameWidth);

// The smallest inner height at which the Turbo frame, as the re-flow of
// `reflowed` placed it, ends above the buttons at the bottom edge: the frame
// hangs from the option column, the buttons stand on the bottom edge.
double SaveDialogMinInnerHeight(const SaveDialogLayout& reflowed);

// The arrangement at the design size (client area 6615 x 5295).
SaveDialogLayout DesignSaveDialogLayout();

// Re-flows the controls for the sizes in `layout`, each step from the values
// the steps before it left. At the smallest width the list takes 1 / 2.4 of
// it; three quarters of every twip beyond go to the list of track names, the
// rest to the option column's folder and file-name boxes.
void ReflowSaveDialog(SaveDialogLayout& layout);

} // namespace kelbrin
