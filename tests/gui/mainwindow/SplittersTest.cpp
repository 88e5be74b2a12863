// The two splitters: the arithmetic of each mouse move, and the drags on the
// window: the tree's edge within its limits, the panel's line between the
// bars and the seek bar.
#include "PeripheryFixture.h"

#include "gui/app/Twips.h"
#include "gui/mainwindow/PanelSplitters.h"
#include "gui/mainwindow/SplitterRules.h"

#include <QGroupBox>
#include <QLabel>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTreeWidget>

using namespace kelbrin;

namespace {

class SplittersTest : public test::PeripheryTest {
protected:
    static void send(QWidget* w, QEvent::Type type, QPoint at, Qt::MouseButtons buttons) {
        const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent e(type, QPointF(at), w->mapToGlobal(QPointF(at)), button, buttons, Qt::NoModifier);
        QCoreApplication::sendEvent(w, &e);
    }
    // Presses on the background at `from`, moves to `to` with the left button held.
    static void drag(QWidget* w, QPoint from, QPoint to) {
        send(w, QEvent::MouseButtonPress, from, Qt::LeftButton);
        send(w, QEvent::MouseMove, to, Qt::LeftButton);
        send(w, QEvent::MouseButtonRelease, to, Qt::NoButton);
    }
};

} // namespace

TEST(SplitterRules, EdgesMoveWithTheLeftButtonAloneAndTheTreeStrictlyInsideItsLimits) {
    // Tree from 0 down 3000 in a window 12000 wide.
    auto tree = [](bool left, double x, double y) { return TreeSplitterMove(left, x, y, 0, 3000, 12000); };
    EXPECT_FALSE(tree(true, 50, 1500).edge);
    EXPECT_EQ(tree(true, 51, 1500).edge, 51.0);
    EXPECT_FALSE(tree(true, 11500, 1500).edge);
    // In the top and bottom strips of the band the pointer stays, the drag works.
    EXPECT_EQ(tree(true, 4000, 5).pointer, SplitterPointer::Unchanged);
    EXPECT_EQ(tree(true, 4000, 5).edge, 4000.0);
    EXPECT_EQ(PanelLineMove(true, 8000, 800, 8000, 700, 7850, 7000).edge, 7000.0) << "a narrow panel";
}

TEST_F(SplittersTest, DraggingTheTreeEdgeResizesTheTreeAndTheSurfaceFollows) {
    open();
    QWidget* client = window->centralWidget();
    QTreeWidget* tree = window->tvwNodes();
    const QPoint gap(tree->geometry().right() + 1, tree->y() + tree->height() / 2);
    ASSERT_EQ(client->childAt(gap), nullptr) << "a gap between tree and surface";
    send(client, QEvent::MouseMove, gap, Qt::NoButton);
    EXPECT_EQ(client->cursor().shape(), Qt::SizeHorCursor);

    drag(client, gap, QPoint(TwipsToPx(4000), gap.y()));
    EXPECT_EQ(tree->width(), TwipsToPx(4000));
    EXPECT_EQ(window->picWork()->x(), TwipsToPx(4000 + 15));
    // At the limits the last width inside them stays.
    drag(client, QPoint(tree->geometry().right() + 1, gap.y()), QPoint(TwipsToPx(45), gap.y()));
    EXPECT_EQ(tree->width(), TwipsToPx(4000));
    const int outer = PxToTwips(window->frameGeometry().width());
    drag(client, QPoint(tree->geometry().right() + 1, gap.y()), QPoint(TwipsToPx(outer - 400), gap.y()));
    EXPECT_EQ(tree->width(), TwipsToPx(4000));
    // Left and right button together never drag.
    send(client, QEvent::MouseButtonPress, QPoint(tree->geometry().right() + 1, gap.y()), Qt::LeftButton);
    send(client, QEvent::MouseMove, QPoint(TwipsToPx(3000), gap.y()), Qt::LeftButton | Qt::RightButton);
    EXPECT_EQ(tree->width(), TwipsToPx(4000));
    // Below the tree the arrow comes back.
    window->Splitters().Form_MouseMove(Qt::NoButton, PxToTwips(gap.x()), PxToTwips(tree->geometry().bottom()) + 100);
    EXPECT_EQ(client->cursor().shape(), Qt::ArrowCursor);
}

TEST_F(SplittersTest, DraggingThePanelLineTradesTheBarsWidthForTheSeekBars) {
    open();
    window->resize(1500, window->height()); // room between the tempo frame and the preview
    auto t = add(1);
    showInPanel(t);
    TrackPanelFrame& f = *window->fraAudio();
    PanelSplitters& s = window->Splitters();
    const int seekRight = f.HScrSeek->geometry().right();
    const double before = s.lineX();
    EXPECT_NEAR(before, s.lineMax(), 15) << "the line starts beside the seek bar";
    ASSERT_GT(s.lineMax(), s.lineMin() + 1000);

    // A left-button move anywhere on the background brings the line there.
    const int target = TwipsToPx(s.lineMin() + 300);
    const QPoint bare(f.Frame2->geometry().right() + 4, f.height() - 4);
    ASSERT_EQ(f.childAt(bare), nullptr);
    drag(&f, bare, QPoint(target, bare.y()));
    EXPECT_NEAR(s.lineX(), s.lineMin() + 300, 15);
    EXPECT_EQ(f.HScrSeek->geometry().right(), seekRight) << "the seek bar keeps its end";
    EXPECT_NEAR(PxToTwips(f.HScrSeek->x()), s.lineX() + 20, 15);
    EXPECT_LE(f.HScrSpeed->geometry().right(), target);
    EXPECT_LE(f.HScrBalance->geometry().right(), target);
    // Left of the tempo frame the line stops 150 beside it.
    drag(&f, bare, QPoint(TwipsToPx(1000), bare.y()));
    EXPECT_NEAR(s.lineX(), PxToTwips(f.Frame2->x() + f.Frame2->width()) + 150, 15);
    EXPECT_FALSE(f.HScrSeek->geometry().intersects(f.Frame2->geometry()));
    // Over the speed label the drag works in the label's own coordinates.
    send(f.lblSpeed, QEvent::MouseButtonPress, QPoint(2, 2), Qt::LeftButton);
    send(f.lblSpeed, QEvent::MouseMove, QPoint(2, 2), Qt::LeftButton);
    EXPECT_NEAR(s.lineX(), s.lineMin(), 15);
    // A press on a control and a move away from it leave the line alone.
    const double at = s.lineX();
    send(&f, QEvent::MouseButtonPress, f.lblCaption->geometry().center(), Qt::LeftButton);
    send(&f, QEvent::MouseMove, QPoint(target, bare.y()), Qt::LeftButton);
    EXPECT_DOUBLE_EQ(s.lineX(), at);
    // The hover arrow near the line, the plain arrow away from it.
    s.fraAudio_MouseMove(Qt::NoButton, int(s.lineX()), PxToTwips(bare.y()));
    EXPECT_EQ(f.cursor().shape(), Qt::SizeHorCursor);
    s.fraAudio_MouseMove(Qt::NoButton, int(s.lineX()) + 1000, PxToTwips(bare.y()));
    EXPECT_EQ(f.cursor().shape(), Qt::ArrowCursor);
}
