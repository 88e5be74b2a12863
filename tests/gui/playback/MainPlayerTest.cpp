// The player on the main window: its buttons, the Play menu, the keys, and
// the colours, tree images and time labels it shows, on virtual time.
#include "core/app/ProgramObjects.h"
#include "support/ProgramState.h"
#include "core/document/cPozycjeMP3.h"
#include "core/editor/TrackGraph.h"
#include "core/playback/SequencePlayer.h"
#include "gui/editor/EditorController.h"
#include "gui/editor/TrackCommandSet.h"
#include "gui/editor/TrackSurface.h"
#include "gui/editor/TreeNavigator.h"
#include "gui/mainwindow/frmDazudizi.h"
#include "gui/playback/MainPlayer.h"
#include "support/FakeServices.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QPaintEvent>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

using namespace kelbrin;

namespace {

class MainPlayerTest : public ::testing::Test, protected test::FakeServices {
protected:
    MainPlayerTest() : FakeServices({{"WindowState", "0"}, {"Width", "15000"}, {"Height", "9000"}}) {}
    void SetUp() override {
        test::ResetProgramObjects();
        Program().settings.OverTakeSeconds = 0;
        folder = test::MakeTempDir("mainplayer");
        window = new frmDazudizi(Program());
        window->setAttribute(Qt::WA_DeleteOnClose, false);
        window->PokazMnie();
        QCoreApplication::processEvents();
    }
    void TearDown() override { delete window; }
    std::shared_ptr<cPozycjaMP3> add(std::int32_t number, std::int32_t pred, int seconds) {
        auto t = playableTrack(folder, number, seconds);
        t->lngTrack = pred;
        window->cPozycje()->Add(t);
        Program().session.NextTrackNo = number + 1;
        return t;
    }
    void ready() {
        window->DrawTrackGraph(true);
        window->Tree().PokazMnieTvw();
        // Opening a node shows its successors.
        for (std::int32_t n : {0, 1, 2})
            if (QTreeWidgetItem* node = window->Tree().ZnajdzNoda(n))
                window->Tree().tvwNodes_NodeClick(node);
    }
    QPushButton* button(const char* name) { return window->fraTools()->findChild<QPushButton*>(name); }
    QString image(std::int32_t n) {
        return TreeNavigator::NodeImageKey(window->Tree().ZnajdzNoda(n));
    }
    TrackSurface& surface() { return *window->Editor().surface(); }
    SequencePlayer& player() { return window->Player().player(); }

    frmDazudizi* window = nullptr;
    QString folder;
};

TEST_F(MainPlayerTest, TheButtonsPlayPauseAndStopAndTheBoxesShowIt) {
    auto a = add(1, 0, 100);
    auto b = add(2, 1, 5);
    ready();
    for (const char* name : {"cmdPrev", "cmdMove(0)", "cmdPlay", "cmdMenu", "cmdPause", "cmdStop",
                             "cmdMove(1)", "cmdNext"}) {
        QPushButton* bt = button(name);
        ASSERT_NE(bt, nullptr) << name;
        EXPECT_TRUE(bt->isEnabled()) << name;
        EXPECT_FALSE(bt->icon().isNull()) << name;
        EXPECT_FALSE(bt->toolTip().isEmpty()) << name;
    }
    EXPECT_EQ(surface().timeText(1), "") << "no time label before a track plays";

    window->Editor().editor().lngSelectedTrack = 1;
    button("cmdPlay")->click();
    clock->advance(100 + 75400);
    EXPECT_TRUE(a->blnPlayed);
    EXPECT_EQ(surface().boxColour(1), 0x0000FFu);
    EXPECT_EQ(image(1), "play");
    EXPECT_EQ(surface().timeText(1), "1 : 15");
    EXPECT_EQ(surface().timeText(2), "");

    button("cmdPause")->click();
    EXPECT_TRUE(player().blnPause);
    EXPECT_EQ(surface().boxColour(1), 0x00FFFFu);
    EXPECT_EQ(image(1), "pause");
    button("cmdPause")->click();
    EXPECT_EQ(image(1), "play");

    button("cmdNext")->click();
    clock->advance(30);
    EXPECT_TRUE(b->blnPlayed);
    EXPECT_EQ(surface().boxColour(1), BoxColour(*a));
    EXPECT_EQ(surface().timeText(1), "");

    button("cmdStop")->click();
    clock->advance(30);
    EXPECT_FALSE(player().isRunning());
    EXPECT_EQ(image(2), "stop");
    EXPECT_EQ(surface().boxColour(2), 0x00FF00u);
}

// Counts the surface's paints and the largest area one of them covered.
class PaintCounter : public QObject {
public:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            ++paints;
            const QRect r = static_cast<QPaintEvent*>(event)->rect();
            largest = std::max(largest, r.width() * r.height());
        }
        return false;
    }
    int paints = 0;
    int largest = 0;
};

TEST_F(MainPlayerTest, APlayingTrackRepaintsOnlyItsTimeLabelAndOnlyWhenItChanges) {
    add(1, 0, 100);
    ready();
    // The graph view, where the time labels show (the list view lies over it).
    QAction* listView = window->Menus().item("mnulvw");
    if (listView->isChecked())
        listView->trigger();
    window->Editor().editor().lngSelectedTrack = 1;
    button("cmdPlay")->click();
    clock->advance(100 + 500);
    ASSERT_TRUE(player().isRunning());
    EXPECT_EQ(surface().timeText(1), "0 : 0");
    QTest::qWait(50); // what the start asked for is painted
    PaintCounter counter;
    surface().installEventFilter(&counter);
    // Two seconds of passes, every one of them writing the time text; each
    // gets the real time of a screen frame, so every update asked for shows.
    for (int pass = 0; pass < 200; ++pass) {
        clock->advance(SequencePlayer::kPassMs);
        QTest::qWait(17);
    }
    EXPECT_EQ(surface().timeText(1), "0 : 2");
    EXPECT_GE(counter.paints, 2) << "each new second is shown";
    EXPECT_LE(counter.paints, 6) << "not once per pass";
    const QRect whole = surface().rect();
    EXPECT_LT(counter.largest, whole.width() * whole.height() / 4) << "the label, not the whole surface";
    surface().removeEventFilter(&counter);
    button("cmdStop")->click();
    clock->advance(30);
}

TEST_F(MainPlayerTest, ThePlayMenuAndTheKeysSetTheModes) {
    const MainMenus& menus = window->Menus();
    QAction* all = menus.item("mnuPlay_All");
    QAction* marker = menus.item("mnuPlay_Marker");
    QAction* repeat = menus.item("mnuPlay_Repeat");
    EXPECT_TRUE(all->isEnabled());
    EXPECT_TRUE(marker->isEnabled());
    all->trigger();
    EXPECT_TRUE(all->isChecked());
    EXPECT_TRUE(player().mnuPlay_All);
    EXPECT_FALSE(marker->isEnabled()) << "marker mode only without play-all";
    QTest::keyClick(window, Qt::Key_F8, Qt::ShiftModifier);
    EXPECT_FALSE(player().mnuPlay_All);
    EXPECT_TRUE(marker->isEnabled());
    QTest::keyClick(window, Qt::Key_F4, Qt::ShiftModifier);
    EXPECT_TRUE(marker->isChecked());
    repeat->trigger();
    EXPECT_TRUE(player().mnuPlay_Repeat);

    add(1, 0, 5);
    ready();
    button("cmdStop")->click();
    EXPECT_FALSE(repeat->isChecked()) << "stop unchecks repeat";
    QTest::keyClick(window, Qt::Key_X, Qt::AltModifier);
    clock->advance(150);
    EXPECT_TRUE(player().isRunning());
    QTest::keyClick(window, Qt::Key_V, Qt::AltModifier);
    clock->advance(30);
    EXPECT_FALSE(player().isRunning());
}

TEST_F(MainPlayerTest, ADeletionDuringARunWaitsAndNoProjectIsReplacedUnderIt) {
    auto a = add(1, 0, 3);
    add(2, 1, 3);
    ready();
    window->Editor().editor().lngSelectedTrack = 1;
    button("cmdPlay")->click();
    clock->advance(500);
    ASSERT_TRUE(a->blnPlayed);
    window->Commands().DeleteTrack(1);
    EXPECT_EQ(window->cPozycje()->Count(), 2);
    clock->advance(20);
    EXPECT_EQ(window->cPozycje()->Count(), 1);
    EXPECT_EQ(window->Tree().ZnajdzNoda(1), nullptr);

    add(3, 0, 30);
    window->Editor().editor().lngSelectedTrack = 3;
    button("cmdPlay")->click();
    clock->advance(150);
    ASSERT_TRUE(player().isRunning());
    window->Menus().item("mnuFile_Nowy")->trigger();
    ASSERT_FALSE(messages->shown.isEmpty());
    EXPECT_EQ(messages->shown.last().textNumber, 3105);
    EXPECT_EQ(window->cPozycje()->Count(), 2);
    button("cmdStop")->click();
    clock->advance(30);
}

// The View menu's time labels switched during a run leave the labels of the
// tracks already playing as they are (shown ones keep counting).
TEST_F(MainPlayerTest, TimeLabelsSwitchedDuringARunApplyToTracksStartedLater) {
    add(1, 0, 3);
    add(2, 1, 3);
    add(3, 2, 10);
    ready();
    QAction* labels = window->Menus().item("mnuTrack_Labelki(1)");
    ASSERT_TRUE(labels->isChecked());
    window->Editor().editor().lngSelectedTrack = 1;
    button("cmdPlay")->click();
    clock->advance(100 + 1000);
    labels->trigger(); // off while track 1 plays with its label
    ASSERT_FALSE(labels->isChecked());
    clock->advance(1000);
    EXPECT_EQ(surface().timeText(1), "0 : 2");
    clock->advance(1500); // track 2 starts without a label
    ASSERT_TRUE(window->cPozycje()->Item(2)->blnPlayed);
    EXPECT_EQ(surface().timeText(2), "");
    labels->trigger(); // on again: track 2 keeps none, track 3 gets one
    clock->advance(1000);
    EXPECT_EQ(surface().timeText(2), "");
    clock->advance(2500);
    ASSERT_TRUE(window->cPozycje()->Item(3)->blnPlayed);
    EXPECT_EQ(surface().timeText(3), "0 : 1");
    button("cmdStop")->click();
    clock->advance(30);
}

} // namespace
