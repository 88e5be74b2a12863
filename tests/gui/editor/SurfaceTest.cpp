// The drawing surface, the list and the undo buttons inside the main window,
// driven by mouse events as a user would.
#include "core/app/ProgramObjects.h"
#include "support/ProgramState.h"
#include "core/app/TextCatalog.h"
#include "core/document/cPozycjeMP3.h"
#include "core/editor/TrackGraph.h"
#include "gui/app/Twips.h"
#include "gui/editor/FakeTrackWindows.h"
#include "gui/editor/EditorController.h"
#include "gui/editor/TrackListNavigator.h"
#include "gui/editor/TrackSurface.h"
#include "gui/mainwindow/frmDazudizi.h"
#include "platform/settings/MemorySettingsStore.h"
#include "support/TestEnvironment.h"
#include "support/TrackFactory.h"

#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>
#include <optional>

using namespace kelbrin;

namespace {

class Surface : public ::testing::Test {
protected:
    void SetUp() override {
        test::ResetProgramObjects();
        store = new MemorySettingsStore;
        SetSettingsStore(std::unique_ptr<SettingsStore>(store));
        store->values = {{"WindowState", "0"}, {"Width", "15000"}, {"Height", "9000"}, {"AdvView", "0"}};
        Catalog().load(test::SourceDir() + "/resources/Kelbrin.ini");
        Catalog().setLanguage("ENGLISH");
        window = new frmDazudizi(Program());
        window->setAttribute(Qt::WA_DeleteOnClose, false);
        window->PokazMnie();
        QCoreApplication::processEvents();
        editor = &window->Editor();
        surface = editor->surface();
        editor->editor().setStartBoxTopLeft(QPoint(300, 300)); // centre (525, 525) twips
    }
    void TearDown() override {
        delete window;
        SetSettingsStore(nullptr);
    }
    std::shared_ptr<cPozycjaMP3> add(std::int32_t number, int x, int y, std::int32_t pred) {
        auto t = test::MakeTrackAt(number, x, y, pred, QStringLiteral("Track %1").arg(number));
        window->cPozycje()->Add(t);
        return t;
    }
    // Mouse events in twips, as the user's pixels.
    void send(QEvent::Type type, QPoint twips, Qt::MouseButton button, Qt::MouseButtons buttons,
              QWidget* target = nullptr) {
        QWidget* w = target ? target : surface;
        const QPointF px = target ? QPointF(twips) : QPointF(TrackSurface::toPixels(twips));
        QMouseEvent e(type, px, w->mapToGlobal(px), button, buttons, Qt::NoModifier);
        QApplication::sendEvent(w, &e);
    }
    void press(QPoint t, Qt::MouseButton b = Qt::LeftButton) { send(QEvent::MouseButtonPress, t, b, b); }
    void move(QPoint t, Qt::MouseButtons held = Qt::LeftButton) { send(QEvent::MouseMove, t, Qt::NoButton, held); }
    void release(QPoint t, Qt::MouseButton b = Qt::LeftButton) { send(QEvent::MouseButtonRelease, t, b, Qt::NoButton); }
    void drag(QPoint from, QPoint to) {
        press(from);
        move(to);
        release(to);
    }
    QColor pixel(QPoint twips) {
        const QImage image = surface->grab().toImage();
        return image.pixelColor(TrackSurface::toPixels(twips));
    }
    QAction* action(const char* name) { return window->Menus().item(name); }

    MemorySettingsStore* store = nullptr;
    frmDazudizi* window = nullptr;
    EditorController* editor = nullptr;
    TrackSurface* surface = nullptr;
};

} // namespace

TEST_F(Surface, BoxesAndLinesArePaintedFromTheModel) {
    auto plain = add(1, 3000, 1500, 0);
    auto looped = add(2, 6000, 1500, 1);
    looped->lngLoopTrack = 1;
    looped->lngLoopCountBackup = 2;
    auto locked = add(3, 6000, 4500, 2);
    locked->blnZablokowany = true;
    auto playing = add(4, 9000, 4500, 4); // detached
    playing->blnPlayed = true;
    surface->update();
    EXPECT_EQ(pixel(QPoint(3000, 1500)), QColor(0, 255, 0));
    EXPECT_EQ(pixel(QPoint(6000, 1500)), QColor(255, 0, 255));
    EXPECT_EQ(pixel(QPoint(6000, 4500)), QColor(0, 0, 255));
    EXPECT_EQ(pixel(QPoint(9000, 4500)), QColor(255, 0, 0));
    EXPECT_EQ(pixel(QPoint(525, 525)), QColor(0, 255, 255));
    // The successor line 3 -> 2 is vertical, at x = 6000 between the boxes.
    EXPECT_EQ(pixel(QPoint(6000, 3000)), QColor(0, 0, 255));
    // No line to the detached track.
    EXPECT_EQ(pixel(QPoint(7500, 4500)), QColor(255, 255, 255));
    // Selecting shows the pointer around the box.
    press(QPoint(3000, 1500));
    release(QPoint(3000, 1500));
    EXPECT_EQ(editor->editor().selectionRect(),
              QRect(3000 - 225 - 5, 1500 - 225 - 5, 460, 460));
}

TEST_F(Surface, DragMovesTheBoxAndUndoRedoWalkTheHistory) {
    auto t = add(1, 3000, 1500, 0);
    EXPECT_FALSE(editor->cmdUndo->isEnabled());
    drag(QPoint(3000, 1500), QPoint(6000, 3000));
    EXPECT_EQ(t->lngLeft, 6000 + 225);
    EXPECT_EQ(t->lngTop, 3000 + 225);
    EXPECT_TRUE(t->blnZmodyfikowana);
    EXPECT_TRUE(editor->cmdUndo->isEnabled());
    EXPECT_FALSE(editor->cmdRedo->isEnabled());
    QTest::mouseClick(editor->cmdUndo, Qt::LeftButton);
    EXPECT_EQ(t->lngLeft, 3000);
    EXPECT_EQ(pixel(QPoint(3000, 1500)), QColor(0, 255, 0));
    EXPECT_TRUE(editor->cmdRedo->isEnabled());
    EXPECT_EQ(editor->editor().lngSelectedTrack, 0);
    EXPECT_FALSE(action("mnuTrack_Blok")->isEnabled());
    QTest::mouseClick(editor->cmdRedo, Qt::LeftButton);
    EXPECT_EQ(t->lngLeft, 6225);
    EXPECT_FALSE(editor->cmdRedo->isEnabled());
    window->ClearUndoHistory();
    EXPECT_FALSE(editor->cmdUndo->isEnabled());
}

TEST_F(Surface, LinkByLineClickEscapeAndRightClickLeaveLinkMode) {
    add(1, 3000, 1500, 0);
    auto b = add(2, 6000, 1500, 1);
    add(3, 6000, 4500, 3);
    window->DrawTrackGraph(true);
    // Esc leaves link mode and the line is back.
    press(QPoint(4500, 1500));
    release(QPoint(4500, 1500));
    ASSERT_TRUE(editor->editor().linkMode());
    EXPECT_EQ(pixel(QPoint(4500, 1500)), QColor(0, 0, 255)); // the band lies on it
    QTest::keyClick(window, Qt::Key_Escape);
    EXPECT_FALSE(editor->editor().linkMode());
    EXPECT_EQ(window->cPozycje()->Item(1)->colNastepnik, (QList<std::int32_t>{2}));
    EXPECT_EQ(pixel(QPoint(4500, 1500)), QColor(0, 0, 255));
    // Undo and the Track menu do nothing in link mode.
    drag(QPoint(6000, 4500), QPoint(7500, 4500));
    press(QPoint(4500, 1500));
    editor->cmdUndo_Click();
    EXPECT_EQ(window->cPozycje()->Item(3)->lngLeft, 7725);
    // Release on track 3: it becomes 2's predecessor.
    move(QPoint(7725, 4725), Qt::NoButton);
    release(QPoint(7725, 4725));
    EXPECT_FALSE(editor->editor().linkMode());
    EXPECT_EQ(b->lngTrack, 3);
    EXPECT_EQ(window->cPozycje()->Item(3)->colNastepnik, (QList<std::int32_t>{2}));
    // A right click leaves link mode too.
    press(QPoint(6800, 3000));
    ASSERT_TRUE(editor->editor().linkMode());
    press(QPoint(10000, 8000), Qt::RightButton);
    EXPECT_FALSE(editor->editor().linkMode());
    EXPECT_EQ(b->lngTrack, 3);
}

TEST_F(Surface, HoverDoubleClicksAndHooks) {
    add(1, 3000, 1500, 0);
    auto windows = std::make_unique<test::FakeTrackWindows>();
    const QStringList& calls = windows->calls;
    editor->setTrackWindows(std::move(windows));
    move(QPoint(3000, 1500), Qt::NoButton);
    EXPECT_TRUE(window->lblTrackInfo()->text().startsWith("Node no.: 1")) << window->lblTrackInfo()->text().toStdString();
    QTest::mouseDClick(surface, Qt::LeftButton, {}, TrackSurface::toPixels(QPoint(3000, 1500)));
    QTest::mouseDClick(surface, Qt::LeftButton, {}, TrackSurface::toPixels(QPoint(525, 525)));
    QTest::mouseDClick(surface, Qt::LeftButton, {}, TrackSurface::toPixels(QPoint(9000, 6000)));
    EXPECT_EQ(calls, (QStringList{"properties 1", "add"}));
    // The hover toggle hides the information.
    action("mnuTrack_Labelki(2)")->trigger();
    EXPECT_FALSE(window->lblTrackInfo()->isVisible());
    window->lblTrackInfo()->clear();
    move(QPoint(3000, 1500), Qt::NoButton);
    EXPECT_TRUE(window->lblTrackInfo()->text().isEmpty());
}

TEST_F(Surface, ListRowsActLikeBoxesAndARestoreRebuildsTheList) {
    const QString source = test::WriteFile(test::MakeTempDir("surface") + "/source.mp3", "x");
    auto a = add(1, 3000, 1500, 0);
    a->lngPoczatek_S = 5;
    a->lngKoniec_M = 1;
    a->strFileNameSource = source;
    a->strFileName = "out.mp3";
    add(2, 6000, 1500, 2)->strFileNameSource = source;
    window->DrawTrackGraph(true);
    QTreeWidget* list = window->lvwNodes();
    ASSERT_EQ(list->topLevelItemCount(), 2);
    QTreeWidgetItem* row = list->topLevelItem(0);
    EXPECT_EQ(row->text(0), "Track 1");
    EXPECT_EQ(row->text(1), "0:5:0");
    EXPECT_EQ(row->text(2), "1:0:0");
    EXPECT_EQ(row->text(3), "0 : 55");
    EXPECT_EQ(row->text(4), "source.mp3");
    EXPECT_EQ(row->text(5), "out.mp3");
    action("mnulvw")->trigger(); // show the list
    QCoreApplication::processEvents();
    const QPoint second = list->visualItemRect(list->topLevelItem(1)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, second);
    EXPECT_EQ(editor->editor().lngSelectedTrack, 2);
    // Track 2 is detached: it may be connected, not unlinked. (The advanced
    // view hides the items; their buttons keep the states.)
    EXPECT_TRUE(window->fraTools()->findChild<QPushButton*>("cmdPolacz")->isEnabled());
    EXPECT_FALSE(window->fraTools()->findChild<QPushButton*>("cmdUsunPolaczenie")->isEnabled());
    EXPECT_TRUE(action("mnuTrack_Remove")->isEnabled());
    // Connect from track 2 through link mode, completed on track 1's row.
    editor->editor().startLink(false);
    const QPoint first = list->visualItemRect(list->topLevelItem(0)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, first);
    EXPECT_FALSE(editor->editor().linkMode());
    EXPECT_EQ(window->cPozycje()->Item(2)->lngTrack, 1);
    // A track added after a snapshot goes with the undo, and so does its row.
    window->TworzUndo();
    add(3, 9000, 1500, 2)->strFileNameSource = source;
    window->DrawTrackGraph(false);
    EXPECT_EQ(list->topLevelItemCount(), 3);
    editor->cmdUndo_Click();
    EXPECT_EQ(window->cPozycje()->Count(), 2);
    EXPECT_EQ(list->topLevelItemCount(), 2);
    editor->cmdRedo_Click();
    EXPECT_EQ(list->topLevelItemCount(), 3);
    EXPECT_EQ(TrackListNavigator::RowTag(list->topLevelItem(2)), 3);
}

// Fault mended: name labels stood right on the box after a repaint, and the
// label toggle hid the start box's label too.
TEST_F(Surface, NameLabelsStandHalfABoxAboveAfterARepaint) {
    add(1, 3000, 1500, 0);
    window->DrawTrackGraph(false);
    const int node = editor->editor().nodeSize();
    auto boxTop = [&](std::int32_t n) { return TwipsToPx(editor->editor().boxRect(n).top()); };
    EXPECT_EQ(surface->nameLabelRect(1).top(), TwipsToPx(editor->editor().boxRect(1).top() - node / 2));
    EXPECT_EQ(surface->nameLabelRect(1).left(), TwipsToPx(editor->editor().boxRect(1).left()));
    EXPECT_EQ(surface->nameLabelRect(0).top(), TwipsToPx(editor->editor().boxRect(0).top() - node / 2));
    // A box put down carries its label one label height above it, until the
    // next full repaint.
    drag(QPoint(3000, 1500), QPoint(6000, 3000));
    const QRect carried = surface->nameLabelRect(1);
    EXPECT_EQ(carried.bottom() + 1, boxTop(1));
    action("mnuTrack_Refresh")->trigger();
    EXPECT_EQ(surface->nameLabelRect(1).top(), TwipsToPx(editor->editor().boxRect(1).top() - node / 2));
    // The toggle hides the tracks' labels and leaves the start box's.
    action("mnuTrack_Labelki(0)")->trigger();
    EXPECT_FALSE(action("mnuTrack_Labelki(0)")->isChecked());
    EXPECT_TRUE(surface->nameLabelRect(1).isNull());
    EXPECT_FALSE(surface->nameLabelRect(0).isNull());
    action("mnuTrack_Labelki(0)")->trigger();
    EXPECT_FALSE(surface->nameLabelRect(1).isNull());
}

// A repaint draws only what reaches the exposed rectangle. Painted in small
// tiles, the surface must come out as one full paint does: labels running far
// to the right of their box, time texts of two lines, loop lines, a box lifted
// by a drag. A label changed after a paint shows its new text.
TEST_F(Surface, APaintInTilesEqualsAFullPaint) {
    for (int i = 1; i <= 12; ++i) {
        auto t = add(i, 1500 + (i % 4) * 1300, 1300 + (i / 4) * 1100, i - 1);
        t->strLabel = QStringLiteral("A rather long name for track %1").arg(i);
        if (i % 5 == 0)
            t->lngLoopTrack = i - 3;
    }
    window->DrawTrackGraph(true);
    TrackByNumber(*window->cPozycje(), 6)->strLabel = QStringLiteral("6"); // the time runs further
    surface->setTimeText(6, QStringLiteral("12 : 05 of 45 : 00\r\n-0 : 12"));
    surface->setTimeVisible(6, true);
    const QPoint lifted = editor->editor().boxRect(3).center();
    press(lifted);
    move(lifted + QPoint(400, 700));

    const auto tiled = [&] {
        QImage image(surface->size(), QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::black);
        const QSize tile(23, 11);
        for (int y = 0; y < image.height(); y += tile.height())
            for (int x = 0; x < image.width(); x += tile.width())
                surface->render(&image, QPoint(x, y), QRegion(QRect(QPoint(x, y), tile)));
        return image;
    };
    const QImage whole = surface->grab().toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
    // Under a clip the raster engine blends a few pixels where a text
    // crosses a line otherwise; a box, line or label left out differs in
    // hundreds.
    const QImage parts = tiled();
    int differing = 0;
    for (int y = 0; y < whole.height(); ++y)
        for (int x = 0; x < whole.width(); ++x)
            differing += parts.pixel(x, y) != whole.pixel(x, y);
    EXPECT_LE(differing, 12);
    release(lifted + QPoint(400, 700));

    auto eight = TrackByNumber(*window->cPozycje(), 8);
    const QImage before = surface->grab().toImage();
    eight->strLabel = QStringLiteral("x");
    const QImage renamed = surface->grab().toImage();
    eight->strLabel = QStringLiteral("A rather long name for track 8");
    EXPECT_NE(renamed, before);
    EXPECT_EQ(surface->grab().toImage(), before);
}

// Fault mended: the help box's edge could not be found or moved from the
// surface.
TEST_F(Surface, TheHelpBoxEdgeShowsTheSizingPointerAndFollowsTheLeftButton) {
    action("mnuHelp")->setChecked(true);
    window->Form_Resize();
    QCoreApplication::processEvents();
    ASSERT_TRUE(window->fraHelp()->isVisible());
    ASSERT_TRUE(surface->helpEdge());
    const std::optional<int> top = surface->helpEdge()->top();
    ASSERT_TRUE(top);
    const int x = 12000; // away from every box
    move(QPoint(x, *top - 300), Qt::NoButton);
    EXPECT_NE(surface->cursor().shape(), Qt::SizeVerCursor);
    move(QPoint(x, *top - 60), Qt::NoButton);
    EXPECT_EQ(surface->cursor().shape(), Qt::SizeVerCursor);
    // Taken with the left button, the edge goes where the pointer goes.
    const int height = window->fraHelp()->height();
    press(QPoint(x, *top - 60));
    move(QPoint(x, *top - 660));
    release(QPoint(x, *top - 660));
    EXPECT_EQ(window->fraHelp()->height(), height + TwipsToPx(660));
    EXPECT_EQ(surface->helpEdge()->top(), std::optional<int>(*top - 660));
    // It stops where the surface keeps room for a row of boxes.
    press(QPoint(x, *top - 700));
    move(QPoint(x, 0));
    release(QPoint(x, 0));
    EXPECT_EQ(surface->helpEdge()->top(), std::optional<int>(1500));
    // Hidden, the help box has no edge on the surface.
    action("mnuHelp")->setChecked(false);
    window->Form_Resize();
    EXPECT_FALSE(surface->helpEdge()->top());
    move(QPoint(x, *top - 60), Qt::NoButton);
    EXPECT_NE(surface->cursor().shape(), Qt::SizeVerCursor);
}
