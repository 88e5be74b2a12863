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

struct NamedTag {
    const char* name;
    const char* tag;
};

// The icon and tooltip number, then the help text number.
constexpr NamedTag kPanelTags[] = {
    {"cmdMove2(0)", "1112;5024"}, {"cmdMove2(1)", "1118;5027"}, {"cmdMove2(2)", "1165;5055"},
    {"cmdMove2(3)", "1166;5056"}, {"cmdPlay2", "1116;5025"},    {"cmdMenu2", "1127;5026"},
    {"cmdPause2", "1122;0"},      {"cmdStop2", "1119;0"},       {"cmdMark(0)", "1155;5028"},
    {"cmdMark(1)", "1156;5030"},  {"cmdUndo2(0)", "1127;5029"}, {"cmdTime", "1164;5031"},
    {"cmdReset", "1104;5032"},    {"cmdBPM", "1147;5033"},
};

void Role(QWidget* w, const char* role) {
    if (w)
        w->setProperty(kHintRoleProperty, QLatin1String(role));
}

} // namespace

void JoinHelpLine(frmDazudizi& w) {
    TrackPanelFrame& f = *w.fraAudio;
    // The panel's buttons, those built later included when they carry these names.
    for (const NamedTag& t : kPanelTags)
        if (QWidget* b = f.findChild<QWidget*>(QLatin1String(t.name)))
            b->setProperty("Tag", QLatin1String(t.tag));

    // Over the window's bare surface and the panel's background the edges
    // are dragged; the line keeps its text there.
    Role(&w, "keep");
    Role(&f, "keep");
    Role(w.fraHelp, "keep");
    Role(w.lblHelp, "keep");
    Role(w.cmdKlon, "keep");
    Role(f.cmdTest[0], "keep");
    Role(f.cmdTest[1], "keep");

    Role(w.fraTools, "clear");
    Role(w.lblTrackInfo, "clear");
    Role(f.lblTime2, "clear");
    for (QLineEdit* box : f.Text1)
        Role(box, "clear");
}

} // namespace kelbrin
