#include "HelpLineMembers.h"

#include "TrackPanelFrame.h"
#include "frmDazudizi.h"
#include "gui/app/Translation.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace kelbrin {

namespace {

void Role(QWidget* w, const char* role) {
    if (w)
        w->setProperty(kHintRoleProperty, QLatin1String(role));
}

} // namespace

void JoinHelpLine(frmDazudizi& w) {
    TrackPanelFrame& f = *w.fraAudio();
    // Over the window's bare surface and the panel's background the edges
    // are dragged; the line keeps its text there.
    Role(&w, "keep");
    Role(&f, "keep");
    Role(w.fraHelp(), "keep");
    Role(w.lblHelp(), "keep");
    Role(w.cmdKlon(), "keep");
    Role(f.cmdTest[0], "keep");
    Role(f.cmdTest[1], "keep");

    Role(w.fraTools(), "clear");
    Role(w.lblTrackInfo(), "clear");
    Role(f.lblTime2, "clear");
    for (QLineEdit* box : f.Text1)
        Role(box, "clear");
}

} // namespace kelbrin
