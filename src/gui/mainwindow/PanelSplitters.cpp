#include "PanelSplitters.h"

#include "SplitterRules.h"
#include "TrackPanelFrame.h"
#include "frmDazudizi.h"
#include "gui/app/Twips.h"

#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QTreeWidget>

namespace kelbrin {

namespace {
constexpr double kSeekGap = 20;  // twips between the line and the seek bar
constexpr double kBarGap = 50;   // twips between the bars and the line
constexpr double kClearance = 150; // twips the line keeps from the tempo and tag frames

void SetPointer(QWidget* w, SplitterPointer p) {
    if (p == SplitterPointer::SizeWE)
        w->setCursor(Qt::SizeHorCursor);
    else if (p == SplitterPointer::Arrow)
        w->unsetCursor();
}
} // namespace

PanelSplitters::PanelSplitters(frmDazudizi& window) : QObject(&window), m_window(window) {
    TrackPanelFrame* panel = window.fraAudio();
    LineAudio = new QFrame(panel);
    LineAudio->setObjectName(QStringLiteral("LineAudio"));
    LineAudio->setFrameShape(QFrame::VLine);
    LineAudio->setFrameShadow(QFrame::Sunken);
    // The line is drawn, not hit: the panel under it gets the mouse.
    LineAudio->setAttribute(Qt::WA_TransparentForMouseEvents);

    QWidget* client = window.centralWidget();
    client->setMouseTracking(true);
    client->installEventFilter(this);
    panel->setMouseTracking(true);
    panel->installEventFilter(this);
    // The labels of the bars hand their moves on to the panel.
    for (QWidget* label : {static_cast<QWidget*>(panel->lblBal), static_cast<QWidget*>(panel->lblSpeed)}) {
        label->setMouseTracking(true);
        label->installEventFilter(this);
    }
}

bool PanelSplitters::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::MouseMove && type != QEvent::MouseButtonPress)
        return false;
    auto* e = static_cast<QMouseEvent*>(event);
    const QPoint at = e->position().toPoint();
    const bool surfaceOrPanel = watched == m_window.centralWidget() || watched == m_window.fraAudio();
    // Over the bare background only: a move or press that a child control let
    // through to the surface or the panel was not there.
    auto bare = [&] {
        QWidget* child = static_cast<QWidget*>(watched)->childAt(at);
        return !child || child->testAttribute(Qt::WA_TransparentForMouseEvents);
    };
    if (type == QEvent::MouseButtonPress) {
        if (surfaceOrPanel)
            m_pressedOnBare[watched] = bare();
        return false;
    }
    // With a button held the pressed background gets every move, wherever
    // the pointer is; without one only the moves over it count.
    if (surfaceOrPanel && !(e->buttons() != Qt::NoButton ? m_pressedOnBare.value(watched) : bare()))
        return false;
    const int x = PxToTwips(at.x()), y = PxToTwips(at.y());
    if (watched == m_window.centralWidget())
        Form_MouseMove(e->buttons(), x, y);
    else // the panel, or a label of its bars in the label's own coordinates
        fraAudio_MouseMove(e->buttons(), x, y);
    return false;
}

void PanelSplitters::Form_MouseMove(Qt::MouseButtons buttons, int x, int y) {
    QTreeWidget* tree = m_window.tvwNodes();
    const SplitterStep step = TreeSplitterMove(buttons == Qt::LeftButton, x, y, PxToTwips(tree->y()),
                                               PxToTwips(tree->height()),
                                               PxToTwips(m_window.frameGeometry().width()));
    SetPointer(m_window.centralWidget(), step.pointer);
    if (step.edge) {
        tree->resize(TwipsToPx(*step.edge), tree->height());
        m_window.Form_Resize();
    }
}

void PanelSplitters::fraAudio_MouseMove(Qt::MouseButtons buttons, int x, int y) {
    const SplitterStep step = PanelLineMove(buttons == Qt::LeftButton, x, y, lineX(),
                                            PxToTwips(LineAudio->y()), lineMin(), lineMax());
    SetPointer(m_window.fraAudio(), step.pointer);
    if (step.edge) {
        m_line = *step.edge;
        m_window.Form_Resize();
    }
}

double PanelSplitters::seekRight() const {
    // The seek bar ends under the right edge of the preview's last button.
    const QPushButton* last = m_window.fraAudio()->cmdMenu2;
    return PxToTwips(last->x() + last->width());
}

double PanelSplitters::lineMax() const {
    // Not right of the preview column's left edge: the seek bar keeps at
    // least its design width.
    return PxToTwips(m_window.fraAudio()->cmdMove2[2]->x()) - kSeekGap;
}

double PanelSplitters::lineMin() const {
    const QGroupBox* tempo = m_window.fraAudio()->Frame2;
    return PxToTwips(tempo->x() + tempo->width()) + kClearance;
}

double PanelSplitters::lineX() const { return PxToTwips(LineAudio->x() + LineAudio->width() / 2); }

void PanelSplitters::PlacePanelLine() {
    TrackPanelFrame& f = *m_window.fraAudio();
    const double max = lineMax();
    const double x = m_line ? std::min(std::max(*m_line, lineMin()), max) : max;
    const double top = PxToTwips(f.HScrSeek->y());
    const double bottom = PxToTwips(f.fraDevice->y() + f.fraDevice->height());
    LineAudio->setGeometry(TwipsToPx(x) - 1, TwipsToPx(top), 3, TwipsToPx(bottom - top));

    // The seek bar starts just right of the line and ends where it did.
    const double seekLeft = x + kSeekGap;
    const double seekEnd = seekRight();
    f.HScrSeek->setGeometry(TwipsToPx(seekLeft), f.HScrSeek->y(),
                            std::max(0, TwipsToPx(seekEnd) - TwipsToPx(seekLeft)), f.HScrSeek->height());
    // The bars and frames on the left end short of the line; in the
    // advanced view the rows also end short of the tag frame beside them.
    const int limit = TwipsToPx(x - kBarGap);
    if (f.fraTAG->x() < limit && f.fraTAG->x() + f.fraTAG->width() > limit)
        f.fraTAG->resize(std::max(TwipsToPx(300), limit - f.fraTAG->x()), f.fraTAG->height());
    const int rowLimit = f.fraTAG->isVisibleTo(&f) ? std::min(limit, f.fraTAG->x() - TwipsToPx(100)) : limit;
    for (QWidget* w : std::initializer_list<QWidget*>{f.HScrSpeed, f.HScrBalance, f.fraDevice})
        if (w->x() + w->width() > rowLimit)
            w->resize(std::max(TwipsToPx(300), rowLimit - w->x()), w->height());
    f.cboDevice->resize(std::max(TwipsToPx(300), f.fraDevice->width() - f.cboDevice->x() - TwipsToPx(100)),
                        f.cboDevice->height());
}

} // namespace kelbrin
