#include "SaveDialogLayout.h"

#include <algorithm>
#include <cmath>

namespace kelbrin {

SaveDialogLayout DesignSaveDialogLayout() {
    SaveDialogLayout l;
    l.innerWidth = l.outerWidth = 6615;
    l.innerHeight = l.outerHeight = 5295;
    l.Label2 = {90, 45, 2745, 240};
    l.lstSource = {60, 300, 2775, 5010};
    l.Label1 = {2880, 45, 1785, 255};
    l.txtSave = {4185, 30, 2010, 285};
    l.cmdDir = {6270, 30, 345, 285};
    l.optSave0 = {2865, 375, 3660, 300};
    l.txtFileName = {3120, 660, 3480, 300};
    l.optSave1 = {2895, 1020, 3675, 270};
    l.chkNazwy = {3135, 1305, 3435, 450};
    l.chkWinamp = {2895, 1635, 3645, 435};
    l.chkDetails = {2895, 2025, 3645, 330};
    l.chkTurbo = {2895, 2370, 3630, 345};
    l.chkCue = {2895, 2760, 3630, 330};
    l.fraTurbo = {3735, 3105, 2880, 1305};
    l.Label3 = {90, 225, 2670, 420};
    l.optTurbo0 = {75, 735, 540, 210};
    l.optTurbo1 = {1365, 735, 525, 225};
    l.optTurbo2 = {75, 1020, 2745, 240};
    l.txtWGore = {2880, 3870, 600, 600};
    l.txtWDol = {2880, 4485, 600, 600};
    l.cmdWytnij0 = {3720, 4515, 1620, 255};
    l.cmdWytnij1 = {3720, 4800, 1620, 255};
    l.cmdOK = {5385, 4515, 1230, 540};
    return l;
}

double SaveDialogMinOuterWidth(double columnExtent, double frameWidth) {
    // The column starts at the list's left edge (60) + inner / 2.4 + 50 and
    // keeps a margin of 60 from the right edge: inner - inner / 2.4 >= 170 + extent.
    const double inner = (170 + columnExtent) * 2.4 / 1.4;
    return std::max(kSaveDialogMinOuterWidth, std::ceil(inner + frameWidth));
}

double SaveDialogMinInnerHeight(const SaveDialogLayout& l) {
    constexpr double kGap = 60;
    const double frameBottom = l.fraTurbo.top + l.fraTurbo.height;
    const double buttonsTop = std::min(l.cmdWytnij0.top, l.cmdOK.top);
    return l.innerHeight + std::max(0.0, frameBottom + kGap - buttonsTop);
}

void ReflowSaveDialog(SaveDialogLayout& l) {
    l.lstSource.height = l.innerHeight - l.Label2.height - l.Label2.top;
    const double base = l.minInnerWidth > 0 ? std::min(l.innerWidth, l.minInnerWidth) : l.innerWidth;
    l.lstSource.width = base / 2.4 + (l.innerWidth - base) * 0.75;
    l.txtWGore.left = l.lstSource.left + l.lstSource.width + 50;
    l.txtWDol.left = l.txtWGore.left;
    l.txtWGore.top = l.innerHeight - 2 * l.txtWGore.height;
    l.txtWDol.top = l.txtWGore.top + l.txtWGore.height;
    l.Label1.left = l.txtWDol.left;
    l.txtSave.left = l.Label1.left + l.Label1.width;
    l.cmdDir.left = l.innerWidth - l.cmdDir.width - 200;
    l.txtSave.width = l.cmdDir.left - l.Label1.left - l.Label1.width;
    l.optSave0.left = l.txtWDol.left;
    l.txtFileName.left = l.optSave0.left + 500;
    l.txtFileName.width = l.outerWidth - l.txtFileName.left - 150;
    l.txtFileName.top = l.optSave0.top + l.txtFileName.height + 50;
    l.optSave1.left = l.optSave0.left;
    l.optSave1.top = l.txtFileName.top + l.txtFileName.height + 50;
    l.chkNazwy.top = l.optSave1.top + l.optSave1.height + 20;
    l.chkWinamp.top = l.chkNazwy.top + l.chkNazwy.height + 20;
    l.chkDetails.top = l.chkWinamp.top + l.chkWinamp.height + 20;
    l.chkDetails.left = l.optSave1.left;
    l.chkWinamp.left = l.chkDetails.left;
    l.chkNazwy.left = l.chkWinamp.left + 500; // indented under one file per track
    l.chkTurbo.top = l.chkDetails.top + l.chkDetails.height + 20;
    l.chkTurbo.left = l.chkWinamp.left;
    l.chkCue.left = l.chkTurbo.left;
    l.chkCue.top = l.chkTurbo.top + l.chkTurbo.height + 20;
    l.fraTurbo.left = l.chkTurbo.left + 770;
    l.fraTurbo.top = l.chkCue.top + l.chkCue.height + 10;
    // Preview over Save, Cancel beside both, from the foot of the arrows up:
    // each button as tall as it is, Cancel as tall as the two.
    const double buttonsBottom = l.txtWDol.top + l.txtWDol.height - 10;
    l.cmdWytnij1.top = buttonsBottom - l.cmdWytnij1.height;
    l.cmdWytnij0.top = l.cmdWytnij1.top - 20 - l.cmdWytnij0.height;
    l.cmdWytnij0.left = l.innerWidth - l.cmdWytnij0.width - l.cmdOK.width;
    l.cmdWytnij1.left = l.cmdWytnij0.left;
    l.cmdOK.top = l.cmdWytnij0.top;
    l.cmdOK.height = buttonsBottom - l.cmdOK.top;
    l.cmdOK.left = l.cmdWytnij0.left + l.cmdWytnij0.width;
}

} // namespace kelbrin
