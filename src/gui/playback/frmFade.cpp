#include "frmFade.h"

#include "core/app/AudioOutputs.h"
#include "core/app/LoadedSettings.h"
#include "core/app/SoundCards.h"
#include "core/app/TextCatalog.h"
#include "core/document/cPozycjaMP3.h"
#include "core/playback/FadeEditorPreview.h"
#include "gui/app/BusyPointer.h"
#include "gui/app/ProgramIcons.h"
#include "gui/app/Translation.h"
#include "gui/app/Twips.h"
#include "gui/app/UpwardScrollBar.h"
#include "platform/media/Clock.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>

#include <algorithm>

namespace kelbrin {

namespace {

constexpr int kIconStart = 1129, kIconTrack = 1130, kIconPlaying = 1131;
const QColor kBlue(0, 0, 255), kGreen(0, 192, 0), kMarker(192, 64, 0);

QScrollBar* Bar(QWidget* parent, const char* name, Qt::Orientation o, int min, int max, int step, int page) {
    // The volume bars have 0 dB at the top; their up arrow raises the volume.
    auto* b = o == Qt::Vertical ? new UpwardScrollBar(parent) : new QScrollBar(o, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setRange(min, max);
    b->setSingleStep(step);
    b->setPageStep(page);
    return b;
}

QLabel* Label(QWidget* parent, const char* name) {
    auto* l = new QLabel(parent);
    l->setObjectName(QString::fromLatin1(name));
    return l;
}

QPushButton* Button(QWidget* parent, const char* name, const char* tag) {
    auto* b = new QPushButton(parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setProperty("Tag", QString::fromLatin1(tag));
    b->setFocusPolicy(Qt::NoFocus);
    return b;
}

void Place(QWidget* w, const TwipBox& b) {
    w->setGeometry(TwipRect{double(b.left), double(b.top), double(b.width), double(b.height)}.toPx());
}

QPointF Px(int x, int y) { return QPointF(x / double(kTwipsPerPixel), y / double(kTwipsPerPixel)); }

void Draw(QPainter& p, const TwipLine& l, const QColor& c) {
    if (!l.visible)
        return;
    p.setPen(QPen(c, 1));
    p.drawLine(Px(l.x1, l.y1), Px(l.x2, l.y2));
}

void Draw(QPainter& p, const TwipBox& b, const QColor& c) {
    p.setPen(QPen(c, 1));
    p.drawRect(QRectF(Px(b.left, b.top), Px(b.right(), b.bottom())));
}

} // namespace

// ---- graph ----

FadeGraph::FadeGraph(frmFade* owner) : QFrame(owner), m_owner(owner) {
    setObjectName(QStringLiteral("fraGraf"));
    setProperty("Tag", QStringLiteral(";5052"));
    setFrameShape(QFrame::Box);
    setMouseTracking(true);
}

void FadeGraph::paintEvent(QPaintEvent* e) {
    QFrame::paintEvent(e);
    QPainter p(this);
    const FadeEnvelope& g = m_owner->layoutTwips().graph;
    const bool out = m_owner->endingShown();
    if (out) {
        Draw(p, g.shpFadeOut, kBlue);
        Draw(p, g.LineFadeOut1, kBlue);
        Draw(p, g.LineFadeOut2, kBlue);
        Draw(p, g.Line2, kBlue);
        Draw(p, g.LineFadeOutCloack, palette().color(QPalette::Mid));
    }
    if (g.shpFadeIn.width > 0) {
        Draw(p, g.shpFadeIn, kGreen);
    }
    Draw(p, g.Line1, kGreen);
    Draw(p, g.LineFadeIn1, kGreen);
    Draw(p, g.LineFadeIn2, kGreen);
    Draw(p, g.LineFadeInCloack, palette().color(QPalette::Mid));
    TwipLine from = g.LineFrom, to = g.LineTo;
    if (m_owner->blnMarkerDrag && m_owner->dragX >= 0) {
        TwipLine& l = m_owner->blnMarkerTo ? to : from;
        l.x1 = l.x2 = int(m_owner->dragX);
    }
    QPen dash(kMarker, 1, Qt::DashLine);
    p.setPen(dash);
    if (from.visible)
        p.drawLine(Px(from.x1, from.y1), Px(from.x2, from.y2));
    p.drawLine(Px(to.x1, to.y1), Px(to.x2, to.y2));
    p.setPen(palette().color(QPalette::WindowText));
    p.drawText(rect().adjusted(3, 1, -3, 0), Qt::AlignLeft | Qt::AlignTop, caption);
}

void FadeGraph::mousePressEvent(QMouseEvent* e) { m_owner->GraphMouseDown(PxToTwips(1) * e->position().x()); }
void FadeGraph::mouseMoveEvent(QMouseEvent* e) { m_owner->GraphMouseMove(PxToTwips(1) * e->position().x()); }
void FadeGraph::mouseReleaseEvent(QMouseEvent*) { m_owner->GraphMouseUp(); }

// ---- window ----

frmFade::frmFade(std::shared_ptr<cPozycjaMP3> ending, std::shared_ptr<cPozycjaMP3> starting,
                 const LoadedSettings& settings, AudioOutputs& outputs, QWidget* parent)
    : QWidget(parent, Qt::Window), cPozEnd(std::move(ending)), cPozStart(std::move(starting)),
      m_settings(settings), m_outputs(outputs) {
    setObjectName(QStringLiteral("frmFade"));
    setAttribute(Qt::WA_DeleteOnClose);
    setMinimumSize(TwipsToPx(kFadeEditorMinWidth), TwipsToPx(kFadeEditorMinHeight));
    m_endingShown = cPozStart->lngTrack != 0;

    shpTrack0 = Label(this, "shpTrack0");
    shpTrack1 = Label(this, "shpTrack1");
    shpTrack0->setProperty("Tag", QStringLiteral("0"));
    shpTrack0->setAlignment(Qt::AlignTop | Qt::AlignHCenter);
    shpTrack1->setAlignment(Qt::AlignTop | Qt::AlignHCenter);
    shpTrack1->setProperty("Tag", QStringLiteral("0"));
    lblFadeOutName = Label(this, "lblFadeOutName");
    lblFadeInName = Label(this, "lblFadeInName");
    lblFadeOutName->setStyleSheet(QStringLiteral("color: rgb(0,0,255)"));
    lblFadeInName->setStyleSheet(QStringLiteral("color: rgb(0,128,0)"));
    fraGraf = new FadeGraph(this);
    VScrVolumeOut = Bar(this, "VScrVolumeOut", Qt::Vertical, -100, 0, 1, 1);
    VScrVolumeOutEnd = Bar(this, "VScrVolumeOutEnd", Qt::Vertical, -100, 0, 1, 1);
    VScrVolumeInStart = Bar(this, "VScrVolumeInStart", Qt::Vertical, -100, 0, 1, 1);
    VScrVolumeIn = Bar(this, "VScrVolumeIn", Qt::Vertical, -100, 0, 1, 1);
    HScrFadeOutTime = Bar(this, "HScrFadeOutTime", Qt::Horizontal, 0, kFadeBarMax, 10, 1000);
    HScrFadeInTime = Bar(this, "HScrFadeInTime", Qt::Horizontal, 0, kFadeBarMax, 10, 1000);
    HscrOvertake = Bar(this, "HscrOvertake", Qt::Horizontal, 0, kFadeBarMax, 5, 500);
    lblFadeOutTime = Label(this, "lblFadeOutTime");
    lblFadeInTime = Label(this, "lblFadeInTime");
    lblOverTake = Label(this, "lblOverTake");
    lblOverTake->setAlignment(Qt::AlignCenter);
    cmdMove0 = Button(this, "cmdMove0", "1112");
    cmdPlay = Button(this, "cmdPlay", "1116");
    cmdMenu = Button(this, "cmdMenu", "1127");
    cmdStop = Button(this, "cmdStop", "1119");
    cmdMove1 = Button(this, "cmdMove1", "1118");
    cboDevice = new QComboBox(this);
    cboDevice->setObjectName(QStringLiteral("cboDevice"));
    mnuPlay = new QMenu(this);
    mnuPlay->setObjectName(QStringLiteral("mnuPlay"));
    mnuPlay_Rep = mnuPlay->addAction(QString());
    mnuPlay_Rep->setObjectName(QStringLiteral("mnuPlay_Rep"));
    mnuPlay_Rep->setCheckable(true);
    mnuPlay_Rep->setChecked(true);
    mnuPlay_Rep->setShortcut(QKeySequence(Qt::Key_F3));

    m_preview = std::make_unique<FadeEditorPreview>(cPozEnd, cPozStart, m_endingShown,
                                                    ProgramClock(), m_settings, m_outputs);
    m_preview->repeat = [this] { return mnuPlay_Rep->isChecked(); };
    m_preview->setObserver(this);

    for (QScrollBar* b : {VScrVolumeOut, VScrVolumeOutEnd, VScrVolumeInStart, VScrVolumeIn, HScrFadeOutTime,
                          HScrFadeInTime, HscrOvertake})
        connect(b, &QScrollBar::valueChanged, this, [this, b] { barChanged(b); });
    connect(cmdPlay, &QPushButton::clicked, this, &frmFade::cmdPlay_Click);
    connect(cmdStop, &QPushButton::clicked, this, &frmFade::cmdStop_Click);
    connect(cmdMenu, &QPushButton::clicked, this, [this] { mnuPlay->popup(QCursor::pos()); });
}

frmFade::~frmFade() = default;

void frmFade::DelayChanged(bool delayArmed) {
    m_delayArmed = delayArmed;
    update();
}

frmFade* frmFade::PokazMnie(std::shared_ptr<cPozycjaMP3> ending,
                            std::shared_ptr<cPozycjaMP3> starting,
                            std::function<void()> overtakeChanged, const LoadedSettings& settings,
                            AudioOutputs& outputs, QWidget* parent) {
    if (!ending || !starting)
        return nullptr;
    auto* w = new frmFade(std::move(ending), std::move(starting), settings, outputs, parent);
    w->m_overtakeChanged = std::move(overtakeChanged);
    w->postPokazMnie();
    return w;
}

void frmFade::Form_Load() {
    LoadLangCaptions(this);
    mnuPlay_Rep->setText(GetText(2013).remove(QLatin1Char('&')));
    ApplyButtonIcons(this);
    InstallHintOnHover(this);
    const FadeEditorBars b = LoadFadeEditorBars(*cPozEnd, *cPozStart, m_endingShown);
    VScrVolumeOutEnd->setValue(b.volumeOutEnd);
    HScrFadeOutTime->setValue(b.fadeOutTime);
    VScrVolumeOut->setValue(b.volumeOut);
    VScrVolumeInStart->setValue(b.volumeInStart);
    HScrFadeInTime->setValue(b.fadeInTime);
    VScrVolumeIn->setValue(b.volumeIn);
    HscrOvertake->setValue(b.overtake);
    int chosen = -1;
    EnsureSoundCards(m_outputs, ShowBusyPointer);
    for (const QString& name : m_outputs.SoundCards) {
        cboDevice->addItem(name);
        if (chosen < 0 && name == cPozStart->strDevice)
            chosen = cboDevice->count() - 1;
    }
    cboDevice->setCurrentIndex(chosen);
    cboDevice->setEnabled(!m_outputs.UseDefaultRenderer);
}

void frmFade::postPokazMnie() {
    Form_Load();
    // The graphs' durations scale the fade times of the preview.
    m_preview->OpenPreviewGraphs(cboDevice->currentText());
    setPicture(0, false);
    setPicture(1, false);
    shpTrack0->setVisible(m_endingShown);
    lblFadeInName->setText(cPozStart->strLabel);
    if (m_endingShown)
        lblFadeOutName->setText(cPozEnd->strLabel);
    for (QWidget* w : {static_cast<QWidget*>(lblFadeOutTime), static_cast<QWidget*>(HScrFadeOutTime),
                       static_cast<QWidget*>(VScrVolumeOutEnd), static_cast<QWidget*>(VScrVolumeOut),
                       static_cast<QWidget*>(HscrOvertake), static_cast<QWidget*>(lblOverTake),
                       static_cast<QWidget*>(lblFadeOutName)})
        w->setVisible(m_endingShown);
    setWindowTitle(GetText(3146) + QLatin1Char(' ') + cPozEnd->strLabel + QLatin1Char('/') + cPozStart->strLabel);
    m_loading = false;
    ShowLabels();
    Relayout();
    ShowMarkerTimes(false);
    show();
}

FadeEditorBars frmFade::bars() const {
    FadeEditorBars b;
    b.volumeOut = VScrVolumeOut->value();
    b.volumeOutEnd = VScrVolumeOutEnd->value();
    b.volumeInStart = VScrVolumeInStart->value();
    b.volumeIn = VScrVolumeIn->value();
    b.fadeOutTime = HScrFadeOutTime->value();
    b.fadeInTime = HScrFadeInTime->value();
    b.overtake = HscrOvertake->value();
    return b;
}

void frmFade::barChanged(QScrollBar* bar) {
    if (m_loading)
        return;
    cPozycjaMP3& e = *cPozEnd;
    cPozycjaMP3& s = *cPozStart;
    const int v = bar->value();
    if (bar == HScrFadeInTime) {
        WriteFadeInTime(s, v, m_preview->startDuration(), m_settings.UseOldAlgorithm);
    } else if (bar == VScrVolumeInStart) {
        WriteStartingVolume(s, v);
    } else if (bar == VScrVolumeIn) {
        WriteStartingVolumeIn(s, v);
    } else if (bar == HscrOvertake) {
        if (!m_endingShown)
            return;
        WriteOvertake(s, v);
        if (m_overtakeChanged)
            m_overtakeChanged();
    } else if (!m_endingShown) {
        return; // the fade-out side belongs to no track
    } else if (bar == HScrFadeOutTime) {
        WriteFadeOutTime(e, v, m_preview->endDuration(), m_settings.UseOldAlgorithm);
    } else if (bar == VScrVolumeOut) {
        WriteEndingVolume(e, v);
    } else if (bar == VScrVolumeOutEnd) {
        WriteEndingVolumeEnd(e, v);
    }
    ShowLabels();
    Relayout();
}

void frmFade::ShowLabels() {
    // The fade-in in the preview graph's time, as the preview plays it; the
    // bar's own time when no graph could be opened.
    const double graph = m_preview->startDuration();
    lblFadeInTime->setText(
        FadeLabelText(graph > 0 ? FadeInGraphSeconds(*cPozStart, HScrFadeInTime->value(), graph,
                                                     m_settings.UseOldAlgorithm)
                                : HScrFadeInTime->value() / 1000.0));
    lblFadeOutTime->setText(FadeLabelText((kFadeBarMax - HScrFadeOutTime->value()) / 1000.0));
    lblOverTake->setText(FadeLabelText((HscrOvertake->value() - kFadeBarMax / 2.0) / 500.0));
}

void frmFade::Relayout() {
    const FadeMarkers markers{cPozEnd->lngMarkerFrom, cPozStart->lngMarkerTo};
    m_layout = LayOutFadeEditor(PxToTwips(width()), PxToTwips(height()), bars(), markers, m_endingShown);
    Place(VScrVolumeOut, m_layout.VScrVolumeOut);
    Place(VScrVolumeOutEnd, m_layout.VScrVolumeOutEnd);
    Place(fraGraf, m_layout.fraGraf);
    Place(VScrVolumeInStart, m_layout.VScrVolumeInStart);
    Place(VScrVolumeIn, m_layout.VScrVolumeIn);
    Place(HScrFadeOutTime, m_layout.HScrFadeOutTime);
    Place(HScrFadeInTime, m_layout.HScrFadeInTime);
    Place(HscrOvertake, m_layout.HscrOvertake);
    Place(lblFadeOutTime, m_layout.lblFadeOutTime);
    Place(lblFadeInTime, m_layout.lblFadeInTime);
    Place(lblOverTake, m_layout.lblOverTake);
    Place(cmdMove0, m_layout.cmdMove0);
    Place(cmdPlay, m_layout.cmdPlay);
    Place(cmdMenu, m_layout.cmdMenu);
    // The menu button is half as wide as the others: its picture shrinks to
    // stay inside its frame.
    cmdMenu->setIconSize(QSize(std::max(1, cmdMenu->width() - 4), cmdMenu->iconSize().height()));
    Place(cmdStop, m_layout.cmdStop);
    Place(cmdMove1, m_layout.cmdMove1);
    Place(cboDevice, m_layout.cboDevice);
    Place(shpTrack0, m_layout.shpTrack0);
    Place(shpTrack1, m_layout.shpTrack1);
    Place(lblFadeOutName, m_layout.lblFadeOutName);
    Place(lblFadeInName, m_layout.lblFadeInName);
    fraGraf->update();
    update();
}

void frmFade::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    if (!m_loading)
        Relayout();
}

void frmFade::paintEvent(QPaintEvent*) {
    if (!m_layout.LineImg.visible)
        return;
    QPainter p(this);
    Draw(p, m_layout.LineImg, m_delayArmed ? QColor(255, 0, 0) : kBlue);
}

void frmFade::setPicture(int index, bool playing) {
    QLabel* l = index == 0 ? shpTrack0 : shpTrack1;
    int icon = playing ? kIconPlaying : kIconTrack;
    if (index == 0 && !playing && cPozStart->lngTrack == 0)
        icon = kIconStart;
    l->setPixmap(ProgramIcon(icon).pixmap(TwipsToPx(400)));
    l->setProperty("icon", icon);
}

void frmFade::ShowMarkerTimes(bool resetAllowed) {
    float tE = 0, tS = 0;
    bool before = false;
    MarkerTimes(*cPozEnd, *cPozStart, tE, tS, before);
    if (before && resetAllowed && m_endingShown)
        cPozEnd->lngMarkerFrom = kMarkerScale;
    fraGraf->caption = GetText(3139, QStringLiteral("|1"), MarkerTimeText(tE), QStringLiteral("|2"), MarkerTimeText(tS));
    fraGraf->update();
}

void frmFade::GraphMouseDown(double x) {
    if (!blnMarkerHit)
        return;
    blnMarkerDrag = true;
    dragX = x;
    (blnMarkerTo ? cPozStart : cPozEnd)->blnZmodyfikowana = true;
    fraGraf->update();
}

void frmFade::GraphMouseMove(double x) {
    ShowHint(TagOf(fraGraf));
    const FadeEnvelope& g = m_layout.graph;
    if (!blnMarkerDrag) {
        const int hit = MarkerUnderPointer(g, x, m_endingShown);
        blnMarkerHit = hit != 0;
        blnMarkerTo = hit == 2;
        fraGraf->setCursor(blnMarkerHit ? Qt::SizeHorCursor : Qt::ArrowCursor);
        return;
    }
    if (blnMarkerTo) {
        const std::int32_t v = DragToMarker(g, x);
        if (v >= 0) {
            cPozStart->lngMarkerTo = v;
            dragX = x;
        }
    } else {
        const std::int32_t v = DragFromMarker(g, x);
        if (v >= 0) {
            cPozEnd->lngMarkerFrom = v;
            dragX = x;
        }
    }
    ShowMarkerTimes(true);
}

void frmFade::GraphMouseUp() {
    blnMarkerDrag = false;
    blnMarkerHit = false;
    dragX = -1;
    Relayout();
}

void frmFade::cmdPlay_Click() {
    if (m_preview->running())
        return; // one preview at a time
    if (m_preview->OpenPreviewGraphs(cboDevice->currentText()))
        m_preview->start();
}

void frmFade::cmdStop_Click() { m_preview->stop(); }

void frmFade::mnuPlay_Rep_Click() { mnuPlay_Rep->setChecked(!mnuPlay_Rep->isChecked()); }

void frmFade::keyReleaseEvent(QKeyEvent* e) {
    // The menu is not on a bar, so its shortcut is the window's.
    if (e->key() == Qt::Key_F3 && !e->isAutoRepeat())
        mnuPlay_Rep_Click();
    QWidget::keyReleaseEvent(e);
}

void frmFade::closeEvent(QCloseEvent* e) {
    m_preview->stop();
    QWidget::closeEvent(e);
}

} // namespace kelbrin
