#include "TrackPanelFrame.h"

#include "gui/app/Twips.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>

namespace kelbrin {

namespace {

template <typename W> W* place(W* w, const char* name, const char* tag, double left, double top,
                               double width, double height) {
    w->setObjectName(QLatin1String(name));
    if (tag)
        w->setProperty("Tag", QLatin1String(tag));
    w->setGeometry(TwipRect{left, top, width, height}.toPx());
    return w;
}

} // namespace

TrackPanelFrame::TrackPanelFrame(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("fraAudio"));
    setFrameShape(QFrame::StyledPanel);

    place(new QGroupBox(this), "Frame1(0)", "2555;0", 100, 100, 2400, 900);
    place(new QGroupBox(this), "Frame1(1)", "2556;0", 2600, 100, 2400, 900);
    Frame2 = place(new QGroupBox(this), "Frame2", "2558;0", 5100, 100, 2600, 900);
    lblSync = place(new QLabel(Frame2), "lblSync", "3194;5034", 100, 300, 2300, 255);

    // The tag frame takes the tempo frame's place in the advanced view.
    fraTAG = place(new QGroupBox(this), "fraTAG", nullptr, 5100, 100, 2600, 1500);
    fraTAG->hide();
    const char* labels[][2] = {{"Label1", "2142"}, {"Label2", "2143"}, {"Label3", "2144"},
                               {"Label4", "2145"}, {"Label5", "2146"}, {"Label6", "2147"}};
    double top = 250;
    for (const auto& l : labels) {
        place(new QLabel(fraTAG), l[0], l[1], 100, top, 900, 240);
        if (QLatin1String(l[0]) == QLatin1String("Label5"))
            cboGenre = place(new QComboBox(fraTAG), "cboGenre", nullptr, 1000, top - 30, 1500, 300);
        else
            place(new QLineEdit(fraTAG), (QByteArray("txtTag") + l[0][5]).constData(), nullptr, 1000,
                  top - 30, 1500, 300);
        top += 330;
    }

    lblSpeed = place(new QLabel(this), "lblSpeed", "2160;5036", 100, 1100, 1400, 255);
    HScrSpeed = place(new QScrollBar(Qt::Horizontal, this), "HScrSpeed", nullptr, 1600, 1100, 3000, 255);
    lblBal = place(new QLabel(this), "lblBal", "2159;5036", 100, 1450, 1400, 255);
    HScrBalance = place(new QScrollBar(Qt::Horizontal, this), "HScrBalance", nullptr, 1600, 1450, 3000, 255);
    fraDevice = place(new QGroupBox(this), "fraDevice", "3156;5035", 100, 1800, 5000, 650);
    cboDevice = place(new QComboBox(fraDevice), "cboDevice", nullptr, 100, 250, 4000, 315);
}

} // namespace kelbrin
