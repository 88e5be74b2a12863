#include "SourceToolWindows.h"

#include "frmFrame.h"
#include "frmHidden.h"

namespace kelbrin {

void SourceToolWindowsFollowOpenFiles() {
    frmFrame::FollowOpenFiles();
    frmHidden::FollowOpenFiles();
}

} // namespace kelbrin
