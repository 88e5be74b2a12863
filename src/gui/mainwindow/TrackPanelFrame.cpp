#include "TrackPanelFrame.h"

#include "gui/app/Twips.h"
#include "gui/app/UpwardScrollBar.h"

#include <QComboBox>
#include <QEvent>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>

namespace kelbrin {

namespace {

template <typename W> W* place(W* w, const QString& name, const char* tag, double left, double top,
                               double width, double height) {
    w->setObjectName(name);
    if (tag)
        w->setProperty("Tag", QLatin1String(tag));
    // From rounded edges, so that controls designed side by side meet
    // without overlapping by a pixel.
    w->setGeometry(QRect(QPoint(TwipsToPx(left), TwipsToPx(top)),
                         QPoint(TwipsToPx(left + width) - 1, TwipsToPx(top + height) - 1)));
    return w;
}

template <typename W> W* place(W* w, const char* name, const char* tag, double left, double top,
                               double width, double height) {
    return place(w, QLatin1String(name), tag, left, top, width, height);
}

QLineEdit* box(QWidget* parent, const QString& name, int maxLength, double left, double top, double width) {
    auto* e = place(new QLineEdit(parent), name, nullptr, left, top, width, 300);
    e->setMaxLength(maxLength);
    return e;
}

QScrollBar* bar(Qt::Orientation o, QWidget* parent, const QString& name, int min, int max, double left,
                double top, double width, double height) {
    // Bars whose design runs from a larger to a smaller value read inverted;
    // the upright ones (spinners, volume) raise their value towards the top.
    QScrollBar* made = (o == Qt::Vertical && min > max) ? new UpwardScrollBar(parent) : new QScrollBar(o, parent);
    auto* b = place(made, name, nullptr, left, top, width, height);
    b->setRange(std::min(min, max), std::max(min, max));
    if (o == Qt::Horizontal) {
        b->setInvertedAppearance(min > max);
        b->setInvertedControls(min > max);
    }
    return b;
}

// Twips. The design height, and the preview column's place and width (its
// volume bar and right margin included).
constexpr double kDesignHeight = 2600;
constexpr double kColumnLeft = 7900;
constexpr double kColumnWidth = 3750 + 255 + 100;
constexpr double kTempoWidth = 2600;
// The column's leftmost place beside the range and tempo frames.
constexpr double kColumnLeftmost = 2600 + 2500 + 2700;
// A narrower panel stacks the column under the top frames: where it starts,
// where the caption goes under the device frame, the height then, and the
// width of the tag frame at the right end (its boxes whole).
constexpr double kStackedColumnTop = 1170;
constexpr double kStackedCaptionTop = 2520;
constexpr double kCaptionHeight = 500;
constexpr double kStackedHeight = kStackedCaptionTop + kCaptionHeight + 130;
constexpr double kStackedTagWidth = 2950;
// The caption's place in the column reaches down to the panel's lower margin.
constexpr double kColumnCaptionTop = 1850;
constexpr double kColumnCaptionHeight = 700;
// Where the tag boxes start in their frame, and their design width.
constexpr double kTagBoxLeft = 1350;
constexpr double kTagBoxWidth = 1500;

bool ColumnFitsBeside(double panelWidth) { return panelWidth - kColumnWidth >= kColumnLeftmost; }

} // namespace

TrackPanelFrame::TrackPanelFrame(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("fraAudio"));
    setFrameShape(QFrame::StyledPanel);

    buildRangeFrames();
    buildTempoFrame();
    buildTagFrame();
    buildSpeedBalanceAndDevice();
    buildPreviewColumn();
}

void TrackPanelFrame::buildRangeFrames() {
    // Range: begin and end, each as a frame box or as minutes, seconds and
    // milliseconds with their spinners, under the caption of the unit.
    const int lengths[3] = {4, 2, 3};
    const char* initial[3] = {"0000", "00", "000"};
    for (int side = 0; side < 2; ++side) {
        Frame1[side] = place(new QGroupBox(this), QStringLiteral("Frame1(%1)").arg(side),
                             side == 0 ? "2555;0" : "2556;0", 100 + side * 2500, 100, 2400, 1000);
        Label1[1 - side] = place(new QLabel(Frame1[side]), QStringLiteral("Label1(%1)").arg(1 - side), "2129;0",
                                 100, 250, 2200, 255);
        for (int k = 0; k < 3; ++k) {
            const int i = side * 3 + k;
            Text1[i] = box(Frame1[side], QStringLiteral("Text1(%1)").arg(i), lengths[k], 100 + k * 760, 560, 520);
            Text1[i]->setText(QLatin1String(initial[k]));
            VscrTime[i] = bar(Qt::Vertical, Frame1[side], QStringLiteral("VscrTime(%1)").arg(i),
                              k == 2 ? 1000 : (k == 0 ? 9999 : 59), k == 2 ? -1 : 0, 620 + k * 760, 540, 200, 340);
            VscrTime[i]->setSingleStep(k == 2 ? 10 : 1);
            VscrTime[i]->setPageStep(k == 2 ? 100 : 10);
        }
    }
    txtRamkaOd = box(Frame1[0], QStringLiteral("txtRamkaOd"), 7, 100, 560, 1980);
    txtRamkaDo = box(Frame1[1], QStringLiteral("txtRamkaDo"), 7, 100, 560, 1980);
    txtRamkaOd->setText(QStringLiteral("0"));
    txtRamkaDo->setText(QStringLiteral("0"));
    txtRamkaOd->hide();
    txtRamkaDo->hide();
}

void TrackPanelFrame::buildTempoFrame() {
    Frame2 = place(new QGroupBox(this), "Frame2", "2558;0", 5100, 100, 2600, 1000);
    txtBPM = place(new QLabel(Frame2), "txtBPM", nullptr, 100, 330, 1100, 255);
    txtBPM->setText(QStringLiteral("0"));
    txtBPM->setProperty("Tag", QStringLiteral("0"));
    cmdBPM = place(new QPushButton(Frame2), "cmdBPM", "1147;5033", 1600, 250, 435, 375);
    cmdReset = place(new QPushButton(Frame2), "cmdReset", "1104;5032", 2070, 250, 435, 375);
    lblSync = place(new QLabel(Frame2), "lblSync", "3194;5034", 100, 680, 2400, 255);
    lblSync->setEnabled(false);
}

void TrackPanelFrame::buildTagFrame() {
    // The tag frame takes the tempo frame's place in the advanced view.
    fraTAG = place(new QGroupBox(this), "fraTAG", nullptr, 5100, 100, 2600, 2250);
    fraTAG->hide();
    const char* labels[][2] = {{"Label1", "2142"}, {"Label2", "2143"}, {"Label3", "2144"},
                               {"Label4", "2145"}, {"Label5", "2146"}, {"Label6", "2147"}};
    QLineEdit** boxes[] = {&txtTitle, &txtArtist, &txtAlbum, &txtYear, nullptr, &txtComment};
    const char* boxNames[] = {"txtTitle", "txtArtist", "txtAlbum", "txtYear", nullptr, "txtComment"};
    double top = 250;
    for (int i = 0; i < 6; ++i) {
        place(new QLabel(fraTAG), labels[i][0], labels[i][1], 100, top, 1200, 240);
        if (!boxes[i])
            cboGenre = place(new QComboBox(fraTAG), "cboGenre", nullptr, kTagBoxLeft, top - 30, kTagBoxWidth, 300);
        else
            *boxes[i] = box(fraTAG, QLatin1String(boxNames[i]), i == 3 ? 4 : 30, kTagBoxLeft, top - 30, kTagBoxWidth);
        top += 330;
    }
    txtYear->setText(QStringLiteral("1999"));
    // Whoever sizes the frame (the window's layout, the column, the panel
    // line), its boxes follow.
    fraTAG->installEventFilter(this);
}

bool TrackPanelFrame::eventFilter(QObject* watched, QEvent* event) {
    if (watched == fraTAG && event->type() == QEvent::Resize)
        fitTagFields();
    return QFrame::eventFilter(watched, event);
}

void TrackPanelFrame::fitTagFields() {
    // The year keeps its four digits' width; the boxes that show names take
    // the frame's width, never less than their design width.
    const int width = std::max(TwipsToPx(kTagBoxWidth), fraTAG->width() - TwipsToPx(kTagBoxLeft + 100));
    for (QWidget* w : std::initializer_list<QWidget*>{txtTitle, txtArtist, txtAlbum, cboGenre, txtComment})
        w->resize(width, w->height());
}

void TrackPanelFrame::buildSpeedBalanceAndDevice() {
    lblSpeed = place(new QLabel(this), "lblSpeed", "2160;5036", 100, 1170, 1400, 255);
    HScrSpeed = bar(Qt::Horizontal, this, QStringLiteral("HScrSpeed"), 0, 200, 1600, 1170, 3000, 255);
    lblBal = place(new QLabel(this), "lblBal", "2159;5036", 100, 1490, 1400, 255);
    HScrBalance = bar(Qt::Horizontal, this, QStringLiteral("HScrBalance"), 10000, -10000, 1600, 1490, 3000, 255);
    HScrBalance->setSingleStep(100);
    HScrBalance->setPageStep(1000);
    fraDevice = place(new QGroupBox(this), "fraDevice", "3156;5035", 100, 1800, 5000, 650);
    cboDevice = place(new QComboBox(fraDevice), "cboDevice", nullptr, 100, 250, 4000, 315);
}

void TrackPanelFrame::buildPreviewColumn() {
    // The preview player, right of the tempo and tag frames.
    const double x = kColumnLeft;
    cmdMove2[2] = place(new QPushButton(this), "cmdMove2(2)", "1165;5055", x, 150, 435, 435);
    cmdMove2[0] = place(new QPushButton(this), "cmdMove2(0)", "1112;5024", x + 450, 150, 435, 435);
    cmdPlay2 = place(new QPushButton(this), "cmdPlay2", "1116;5025", x + 900, 150, 435, 435);
    cmdPause2 = place(new QPushButton(this), "cmdPause2", "1122;0", x + 1350, 150, 435, 435);
    cmdStop2 = place(new QPushButton(this), "cmdStop2", "1119;0", x + 1800, 150, 435, 435);
    cmdMove2[1] = place(new QPushButton(this), "cmdMove2(1)", "1118;5027", x + 2250, 150, 435, 435);
    cmdMove2[3] = place(new QPushButton(this), "cmdMove2(3)", "1166;5056", x + 2700, 150, 435, 435);
    cmdMenu2 = place(new QPushButton(this), "cmdMenu2", "1127;5026", x + 3150, 150, 435, 435);
    HScrSeek = bar(Qt::Horizontal, this, QStringLiteral("HScrSeek"), 0, 32767, x, 700, 3585, 255);
    lblTime2 = place(new QLabel(this), "lblTime2", nullptr, x, 1050, 1700, 255);
    // The marks take the preview's position; undo and the unit menu sit by them.
    cmdMark[0] = place(new QPushButton(this), "cmdMark(0)", "1155;5028", x + 1750, 985, 420, 375);
    cmdMark[1] = place(new QPushButton(this), "cmdMark(1)", "1156;5030", x + 2210, 985, 420, 375);
    cmdUndo2 = place(new QPushButton(this), "cmdUndo2(0)", "1127;5029", x + 2670, 985, 420, 375);
    cmdTime = place(new QPushButton(this), "cmdTime", "1164;5031", x + 3130, 985, 420, 375);
    for (int i = 0; i < 2; ++i) {
        cmdTest[i] = place(new QPushButton(this), QStringLiteral("cmdTest(%1)").arg(i), nullptr,
                           x + i * 1800, 1400, 1700, 375);
        cmdTest[i]->setAutoFillBackground(true);
    }
    lblCaption = place(new QLabel(this), "lblCaption", nullptr, x, kColumnCaptionTop, 3585, kColumnCaptionHeight);
    lblCaption->setWordWrap(true);
    lblCaption->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblDuration = new QLabel(this);
    lblDuration->setObjectName(QStringLiteral("lblDuration"));
    VScrVolume = bar(Qt::Vertical, this, QStringLiteral("VScrVolume"), 0, -100, x + 3750, 150, 255, 2200);

    const int columnLeft = TwipsToPx(x);
    for (QWidget* w : std::initializer_list<QWidget*>{cmdMove2[2], cmdMove2[0], cmdPlay2, cmdPause2, cmdStop2,
                                                       cmdMove2[1], cmdMove2[3], cmdMenu2, HScrSeek, lblTime2,
                                                       cmdMark[0], cmdMark[1], cmdUndo2, cmdTime, cmdTest[0],
                                                       cmdTest[1], VScrVolume})
        m_column.append({w, w->geometry().translated(-columnLeft, 0)});
    m_captionPlace = lblCaption->geometry().translated(-columnLeft, 0);
    m_shownCaption = lblCaption->geometry();
}

double TrackPanelFrame::HeightForWidth(double width) {
    return ColumnFitsBeside(width) ? kDesignHeight : kStackedHeight;
}

void TrackPanelFrame::FitPreviewColumn() {
    const double panelWidth = PxToTwips(width());
    if (ColumnFitsBeside(panelWidth)) {
        fitTempoFrame(kTempoWidth);
        const int left = width() - TwipsToPx(kColumnWidth);
        for (const auto& [w, design] : m_column)
            w->setGeometry(design.translated(left, 0));
        placeCaption(m_captionPlace.translated(left, 0));
        const int limit = left - TwipsToPx(100);
        if (fraTAG->x() + fraTAG->width() > limit)
            fraTAG->resize(std::max(TwipsToPx(300), limit - fraTAG->x()), fraTAG->height());
        endRowsAt(limit);
        return;
    }
    // Too narrow: the top row keeps the range frames with the tempo frame
    // (or, in the advanced view, the tag frame at the right end), and the
    // column stands under it at the right, the bars and the device frame left
    // of it, the caption under them.
    double right = panelWidth;
    if (fraTAG->isVisibleTo(this)) {
        fraTAG->setGeometry(TwipRect{panelWidth - 100 - kStackedTagWidth, double(PxToTwips(fraTAG->y())),
                                     kStackedTagWidth, double(PxToTwips(fraTAG->height()))}
                                .toPx());
        right = PxToTwips(fraTAG->x()); // the column's own right margin keeps it off the tag frame
    }
    fitTempoFrame(std::min(kTempoWidth, panelWidth - 100 - PxToTwips(Frame2->x())));
    placeColumnUnderFrames(right);
}

void TrackPanelFrame::fitTempoFrame(double width) {
    Frame2->resize(TwipsToPx(width), Frame2->height());
    cmdReset->move(TwipsToPx(width - 530), cmdReset->y());
    cmdBPM->move(TwipsToPx(width - 1000), cmdBPM->y());
    lblSync->resize(TwipsToPx(std::min(2400.0, width - 200)), lblSync->height());
}

void TrackPanelFrame::placeColumnUnderFrames(double right) {
    const int left = TwipsToPx(right - kColumnWidth);
    const int down = TwipsToPx(kStackedColumnTop - 150);
    for (const auto& [w, design] : m_column)
        w->setGeometry(design.translated(left, down));
    const int limit = left - TwipsToPx(100);
    const QRect volume = VScrVolume->geometry();
    VScrVolume->setGeometry(volume.x(), volume.y(), volume.width(),
                            TwipsToPx(kStackedCaptionTop + kCaptionHeight) - volume.y());
    endRowsAt(limit);
    placeCaption(TwipRect{100, kStackedCaptionTop, PxToTwips(limit) - 100.0, kCaptionHeight}.toPx());
}

void TrackPanelFrame::endRowsAt(int limit) {
    for (QWidget* w : std::initializer_list<QWidget*>{HScrSpeed, HScrBalance, fraDevice})
        if (w->x() + w->width() > limit)
            w->resize(std::max(TwipsToPx(300), limit - w->x()), w->height());
    // A bar's label ends where its bar begins.
    for (auto [label, scroll] : {std::pair<QWidget*, QWidget*>{lblSpeed, HScrSpeed}, {lblBal, HScrBalance}})
        label->resize(std::max(0, scroll->x() - label->x()), label->height());
    cboDevice->resize(std::max(TwipsToPx(300), fraDevice->width() - cboDevice->x() - TwipsToPx(100)),
                      cboDevice->height());
}

void TrackPanelFrame::SetCaption(const QString& caption, const QString& duration) {
    if (caption == m_captionText && duration == lblDuration->text())
        return;
    m_captionText = caption;
    lblDuration->setText(duration);
    placeCaption(m_shownCaption);
}

void TrackPanelFrame::placeCaption(const QRect& place) {
    m_shownCaption = place;
    const int line = lblDuration->fontMetrics().height();
    const int room = std::max(line, place.height() - line);
    // The height the caption's word-wrapped text takes at the place's width.
    const QFontMetrics metrics = lblCaption->fontMetrics();
    const auto height = [&metrics, &place](const QString& text) {
        return metrics.boundingRect(QRect(0, 0, place.width(), 1 << 20), Qt::AlignLeft | Qt::TextWordWrap, text)
            .height();
    };
    QString shown = m_captionText;
    if (height(shown) > room) {
        // The longest start of the caption that fits with its ellipsis.
        const auto cut = [this](qsizetype n) { return m_captionText.left(n).trimmed() + QChar(0x2026); };
        qsizetype shortest = 0, longest = m_captionText.size() - 1;
        while (shortest < longest) {
            const qsizetype mid = (shortest + longest + 1) / 2;
            if (height(cut(mid)) <= room)
                shortest = mid;
            else
                longest = mid - 1;
        }
        shown = cut(shortest);
    }
    lblCaption->setText(shown);
    lblCaption->setToolTip(shown == m_captionText ? QString() : m_captionText);
    const int used = shown.isEmpty() ? line : std::min(room, height(shown));
    lblCaption->setGeometry(place.x(), place.y(), place.width(), used);
    lblDuration->setGeometry(place.x(), place.y() + used, place.width(), line);
}

} // namespace kelbrin
