#include "PeripheryFixture.h"
#include "core/app/ProgramObjects.h"
#include "core/app/SoundCards.h"
#include "core/app/TextNumbers.h"
#include "support/ProgramState.h"
#include "core/app/TextCatalog.h"
#include "core/document/cPozycjaMP3.h"
#include "core/document/cPozycjaPlikow.h"
#include "core/document/cPozycjePlikow.h"
#include "core/document/cPozycjeMP3.h"
#include "core/playback/RangeEditor.h"
#include "gui/editor/EditorController.h"
#include "gui/mainwindow/TrackPanel.h"
#include "gui/mainwindow/TrackPanelFrame.h"
#include "gui/mainwindow/TrackPanelRange.h"
#include "gui/mainwindow/TrackPanelTempo.h"
#include "gui/app/frmSettings.h"
#include "gui/app/ModalDriver.h"
#include "gui/export/frmPozycje.h"
#include "gui/mainwindow/frmDazudizi.h"
#include "platform/media/FakeMediaPlatform.h"
#include "platform/media/PlaybackGraph.h"
#include "platform/media/VirtualClock.h"
#include "platform/settings/MemorySettingsStore.h"
#include "support/ScriptedMessages.h"
#include "support/ScrollBarArrows.h"
#include "support/TestEnvironment.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QTreeWidget>
#include <QTest>
#include <QWindow>
#include <gtest/gtest.h>

using namespace kelbrin;

namespace {

// Every field of a track that a value can be compared on, as text.
QStringList Fields(const cPozycjaMP3& t) {
    QStringList f;
    auto n = [&f](const char* name, auto v) { f << QStringLiteral("%1=%2").arg(QLatin1String(name)).arg(v); };
    n("lngNrPozycji", t.lngNrPozycji); n("lngTrack", t.lngTrack); n("lngLoopTrack", t.lngLoopTrack);
    n("lngLoopCount", t.lngLoopCount); n("lngLoopCountBackup", t.lngLoopCountBackup);
    QStringList succ;
    for (auto s : t.colNastepnik)
        succ << QString::number(s);
    f << succ.join(',');
    n("lngOverTakingIndex", t.lngOverTakingIndex); n("lngColNastepnikIndex", t.lngColNastepnikIndex);
    n("sngOverTaking", t.sngOverTaking); n("lngBPM", t.lngBPM); n("lngRamkaOd", t.lngRamkaOd);
    n("lngRamkaDo", t.lngRamkaDo); n("lngPoczatek_M", t.lngPoczatek_M); n("lngPoczatek_S", t.lngPoczatek_S);
    n("lngPoczatek_SS", t.lngPoczatek_SS); n("lngKoniec_M", t.lngKoniec_M); n("lngKoniec_S", t.lngKoniec_S);
    n("lngKoniec_SS", t.lngKoniec_SS); n("strFileName", t.strFileName);
    n("strFileNameSource", t.strFileNameSource); n("dblDuration", t.dblDuration);
    n("blnZmodyfikowana", t.blnZmodyfikowana); n("blnJednostka", t.blnJednostka); n("lngLeft", t.lngLeft);
    n("lngTop", t.lngTop); n("MediaControl", quintptr(t.MediaControl.get()));
    n("blnPlayed", t.blnPlayed); n("strLabel", t.strLabel); n("blnZablokowany", t.blnZablokowany);
    n("lngBalance", t.lngBalance); n("sngRate", t.sngRate); n("blnAwlaysTop", t.blnAwlaysTop);
    n("lngVolume", t.lngVolume); n("lngVolumeStart", t.lngVolumeStart); n("sngFadeInTime", t.sngFadeInTime);
    n("sngFadeInOffsetTime", t.sngFadeInOffsetTime); n("sngFadeInTimeOld", t.sngFadeInTimeOld);
    n("sngFadeInOffsetTimeOld", t.sngFadeInOffsetTimeOld); n("lngVolumeEnd", t.lngVolumeEnd);
    n("sngFadeOutTime", t.sngFadeOutTime); n("sngFadeOutTimeOld", t.sngFadeOutTimeOld);
    n("sngOvertake", t.sngOvertake); n("strDevice", t.strDevice); n("blnDeviceChanged", t.blnDeviceChanged);
    n("blnLabelEdited", t.blnLabelEdited); n("blnPrev", t.blnPrev); n("lngMarkerFrom", t.lngMarkerFrom);
    n("lngMarkerTo", t.lngMarkerTo); n("blnDetails", t.blnDetails); n("lngSpOdtw", t.lngSpOdtw);
    n("strComment", t.strComment); n("strAutor", t.strAutor); n("strTitle", t.strTitle);
    n("strAlbum", t.strAlbum); n("lngGenre", t.lngGenre); n("strYear", t.strYear);
    return f;
}

class TrackPanelTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::ResetProgramObjects();
        store = new MemorySettingsStore;
        SetSettingsStore(std::unique_ptr<SettingsStore>(store));
        Catalog().load(test::SourceDir() + "/resources/Kelbrin.ini");
        Catalog().setLanguage("ENGLISH");
        beforeWindow();
        window = new frmDazudizi(Program());
        window->setAttribute(Qt::WA_DeleteOnClose, false);
        window->PokazMnie();
        QCoreApplication::processEvents();
    }
    void TearDown() override {
        delete window;
        window = nullptr;
        SetSettingsStore(nullptr);
    }
    // Services the window is built on (its clock) go in here.
    virtual void beforeWindow() {}
    std::shared_ptr<cPozycjaMP3> addTrack(std::int32_t number) {
        auto t = std::make_shared<cPozycjaMP3>();
        t->lngNrPozycji = number;
        t->strLabel = QStringLiteral("Track %1").arg(number);
        t->strFileNameSource = test::MediaFile("cbr_info.mp3");
        t->dblDuration = 10;
        window->cPozycje()->Add(t);
        return t;
    }
    TrackPanelFrame& frame() { return *window->fraAudio(); }
    // Through the window, as the platform delivers it: the press and release
    // and the context menu request they make.
    void rightClick(QWidget* widget, QPoint at) {
        QTest::mouseClick(window->windowHandle(), Qt::RightButton, {}, widget->mapTo(window, at));
    }

    MemorySettingsStore* store = nullptr;
    frmDazudizi* window = nullptr;
};

TEST_F(TrackPanelTest, ShowingATrackChangesNoField) {
    auto frames = addTrack(1);
    frames->blnJednostka = false;
    frames->lngRamkaOd = 40;
    frames->lngRamkaDo = 300;
    frames->lngVolume = -2050;
    frames->sngRate = 0.333f;
    frames->strYear = QStringLiteral("05");
    frames->strComment = QStringLiteral("first");
    auto times = addTrack(2);
    times->lngPoczatek_M = 1;
    times->lngPoczatek_S = 2;
    times->lngPoczatek_SS = 345;
    times->lngKoniec_M = 3;
    times->lngKoniec_S = 4;
    times->lngKoniec_SS = 567;
    times->lngBalance = -3333;
    times->lngGenre = 0;
    // A split track: time range from 0:00.000, frames left at 0, a genre
    // number without a name.
    auto split = addTrack(3);
    split->lngKoniec_S = 8;
    split->lngKoniec_SS = 250;
    split->lngGenre = 200;
    split->strYear = QString();
    split->strComment = QStringLiteral("split");

    for (const auto& t : {frames, times, split}) {
        const QStringList before = Fields(*t);
        window->Editor().openProperties(t);
        QCoreApplication::processEvents();
        EXPECT_EQ(Fields(*t), before) << qPrintable(t->strLabel);
        EXPECT_EQ(window->Panel().Cpoz(), t);
        EXPECT_TRUE(frame().isVisible());
    }

    // What the boxes show.
    window->Editor().openProperties(frames);
    EXPECT_EQ(frame().txtYear->text(), QStringLiteral("05"));
    EXPECT_EQ(frame().VScrVolume->value(), -20);
    EXPECT_EQ(frame().HScrSpeed->value(), 33);
    EXPECT_TRUE(frame().txtRamkaOd->isVisibleTo(&frame()));
    EXPECT_EQ(frame().txtRamkaOd->text(), QStringLiteral("40"));
    window->Editor().openProperties(times);
    EXPECT_EQ(frame().Text1[2]->text(), QStringLiteral("345"));
    EXPECT_EQ(frame().Text1[3]->text(), QStringLiteral("3"));
    EXPECT_EQ(frame().cboGenre->currentData().toInt(), 12);
    EXPECT_EQ(frame().HScrBalance->value(), -3333);
    window->Editor().openProperties(split);
    EXPECT_EQ(frame().cboGenre->currentData().toInt(), 200);
    EXPECT_EQ(frame().Text1[0]->text(), QStringLiteral("0"));
    EXPECT_EQ(frame().Text1[4]->text(), QStringLiteral("8"));
    EXPECT_TRUE(frame().lblCaption->text().contains(QStringLiteral("Track 3")));
}

// Fault mended: a comment shown in the panel did not become the default
// comment of new tracks; only a typed one did.
TEST_F(TrackPanelTest, AShownCommentBecomesTheDefaultComment) {
    store->values[QStringLiteral("TAG_Def")] = QStringLiteral("kept");
    auto bare = addTrack(1);
    auto live = addTrack(2);
    live->strComment = QStringLiteral("live set");
    window->Editor().openProperties(bare); // the box stays empty: nothing shown
    EXPECT_EQ(store->values.value(QStringLiteral("TAG_Def")), QStringLiteral("kept"));
    window->Editor().openProperties(live);
    EXPECT_EQ(frame().txtComment->text(), QStringLiteral("live set"));
    EXPECT_EQ(store->values.value(QStringLiteral("TAG_Def")), QStringLiteral("live set"));
    EXPECT_FALSE(live->blnZmodyfikowana);
}

TEST_F(TrackPanelTest, EditingAFieldChangesTheTrackAndMarksIt) {
    auto t = addTrack(1);
    t->lngGenre = 200;
    window->Editor().openProperties(t);
    frame().fraTAG->show();
    QTest::keyClicks(frame().txtTitle, QStringLiteral("Song"));
    EXPECT_EQ(t->strTitle, QStringLiteral("Song"));
    EXPECT_TRUE(t->blnZmodyfikowana);
    QTest::keyClicks(frame().txtComment, QStringLiteral("c"));
    EXPECT_EQ(t->strComment, QStringLiteral("c"));
    EXPECT_EQ(store->values.value(QStringLiteral("TAG_Def")), QStringLiteral("c"));
    // The unnamed genre stays in the box and a named one can be picked.
    EXPECT_EQ(frame().cboGenre->currentData().toInt(), 200);
    const int rock = frame().cboGenre->findData(17);
    ASSERT_GE(rock, 0);
    emit frame().cboGenre->activated(rock);
    EXPECT_EQ(t->lngGenre, 17);
    t->blnZmodyfikowana = false;
    frame().VScrVolume->setValue(-35);
    EXPECT_EQ(t->lngVolume, -3500);
    EXPECT_TRUE(t->blnZmodyfikowana);
    frame().HScrBalance->setValue(2000);
    EXPECT_EQ(t->lngBalance, 2000);
}

TEST_F(TrackPanelTest, TagBoxesDoNothingWithoutATrack) {
    frame().show();
    frame().fraTAG->show();
    QTest::keyClicks(frame().txtComment, QStringLiteral("x"));
    QTest::keyClicks(frame().txtTitle, QStringLiteral("y"));
    EXPECT_FALSE(store->values.contains(QStringLiteral("TAG_Def")));
}

TEST_F(TrackPanelTest, PropertiesCommandsAreEnabledAndOpenThePanel) {
    EXPECT_TRUE(window->Editor().canOpenProperties());
    auto t = addTrack(1);
    window->Editor().openProperties(t);
    EXPECT_EQ(window->Panel().Cpoz(), t);
}

// Fault mended: a right click on any control of the panel opened the
// panel's options menu.
TEST_F(TrackPanelTest, OnlyTheBareBackgroundOffersTheOptionsMenu) {
    window->Editor().openProperties(addTrack(1));
    QCoreApplication::processEvents();
    QMenu* options = window->Menus().menu(QStringLiteral("mnuOption"));
    ASSERT_TRUE(options);
    for (QWidget* control : std::initializer_list<QWidget*>{frame().cmdPlay2, frame().cmdMark[0], frame().Frame1[0]}) {
        const QPoint at(3, control->height() - 3);
        QWidget* hit = window->childAt(control->mapTo(window, at));
        ASSERT_TRUE(hit == control || control->isAncestorOf(hit)) << qPrintable(control->objectName());
        rightClick(control, at);
        QCoreApplication::processEvents();
        EXPECT_FALSE(options->isVisible()) << qPrintable(control->objectName());
        options->hide();
    }
    QPoint bare;
    for (int y = frame().height() - 2; y > 0 && bare.isNull(); --y)
        for (int x = 2; x < frame().width() && bare.isNull(); x += 4)
            if (window->childAt(frame().mapTo(window, QPoint(x, y))) == &frame())
                bare = QPoint(x, y);
    ASSERT_FALSE(bare.isNull());
    rightClick(&frame(), bare);
    QCoreApplication::processEvents();
    EXPECT_TRUE(options->isVisible());
    options->hide();
}

TEST_F(TrackPanelTest, PreviewPlaysOnTheNullDevice) {
    Program().outputs.UseDefaultRenderer = false;
    Program().outputs.SoundCards = {QStringLiteral("null")};
    auto t = addTrack(1);
    t->strDevice = QStringLiteral("null");
    t->lngKoniec_S = 9;
    t->lngSpOdtw = 0;
    window->Editor().openProperties(t);
    EXPECT_EQ(frame().cboDevice->currentText(), QStringLiteral("null"));
    PreviewPlayer& p = window->Panel().preview();
    window->Panel().cmdPlay2_Click();
    ASSERT_TRUE(p.MediaControl);
    frame().VScrVolume->setValue(-6);
    frame().HScrBalance->setValue(1500);
    frame().HScrSpeed->setValue(150);
    EXPECT_EQ(p.MediaControl->volume(), -600);
    EXPECT_EQ(p.MediaControl->balance(), -1500);
    EXPECT_DOUBLE_EQ(p.MediaControl->rate(), 1.5);
    // Under a loaded sanitizer run the graph can take a while to start.
    for (int waited = 0; waited < 5000 && p.MediaControl->currentPosition() <= 0.3; waited += 50)
        QTest::qWait(50);
    EXPECT_GT(p.MediaControl->currentPosition(), 0.3);
    // The watch shows the time and the seek bar follows.
    QTest::qWait(300);
    EXPECT_FALSE(frame().lblTime2->text().isEmpty());
    EXPECT_GT(frame().HScrSeek->value(), 0);
    // Seek and the four modes.
    p.HScrSeek_Scroll(PreviewPlayer::kSeekMax / 2);
    EXPECT_NEAR(p.MediaControl->currentPosition(), p.MediaControl->duration() / 2, 0.5);
    for (int mode = 0; mode < 4; ++mode) {
        window->Panel().SetPlayMode(mode);
        ASSERT_TRUE(p.MediaControl) << mode;
        const char* items[] = {"mnuPlayR", "mnuPlayZa", "mnuPlayS", "mnuPlayAll"};
        EXPECT_TRUE(window->Menus().item(QLatin1String(items[mode]))->isChecked());
    }
    EXPECT_NEAR(p.MediaControl->stopTime(), p.MediaControl->duration(), 0.01);
    window->Panel().cmdStop2_Click();
    EXPECT_EQ(p.MediaControl->state(), GraphState::Stopped);
    // Another track drops the graph.
    std::weak_ptr<PlaybackGraph> old = p.MediaControl;
    window->Editor().openProperties(addTrack(2));
    EXPECT_TRUE(old.expired());
}

} // namespace

namespace {

// The panel's range, marks, undo and tempo, on a fake output and virtual time.
class TrackPanelEditTest : public TrackPanelTest {
protected:
    void beforeWindow() override {
        auto c = std::make_unique<VirtualClock>(1000);
        clock = c.get();
        previousClock = SetProgramClock(std::move(c));
    }
    void SetUp() override {
        TrackPanelTest::SetUp();
        auto p = std::make_unique<FakeMediaPlatform>(*clock);
        media = p.get();
        previousMedia = SetMediaPlatform(std::move(p));
        auto m = std::make_unique<test::ScriptedMessages>();
        messages = m.get();
        previousMessages = SetMessageService(std::move(m));
        Program().outputs.UseDefaultRenderer = true;
        Program().session.OpenFiles = std::make_shared<cPozycjePlikow>();
        track = addTrack(1);
        track->lngKoniec_M = 1;
        track->lngKoniec_S = 59;
        track->lngKoniec_SS = 990;
        media->durations[track->strFileNameSource] = 10;
        window->DrawTrackGraph(false);
        window->Editor().openProperties(track);
    }
    void TearDown() override {
        // The fake graphs and the window run on the virtual clock: they go first.
        window->Panel().ReleasePreview();
        delete window;
        window = nullptr;
        SetMessageService(std::move(previousMessages));
        SetMediaPlatform(std::move(previousMedia));
        SetProgramClock(std::move(previousClock));
        TrackPanelTest::TearDown();
    }
    // The source opened with 20000 frames of MPEG-1 Layer III at 44100 Hz.
    void openSource() {
        auto file = std::make_shared<cPozycjaPlikow>();
        file->strFileName = track->strFileNameSource;
        file->btyFrame2 = 0xFB;
        file->btyFrame3 = 0x90;
        file->sngCzasTrwania = 522.45f;
        for (int i = 0; i < 20000; ++i)
            file->Add_Naglowek(1 + i * 418, 0xFB, 0x90, 0);
        Program().session.OpenFiles->Add(file);
    }
    QTreeWidgetItem* row() const {
        for (int i = 0; i < window->lvwNodes()->topLevelItemCount(); ++i)
            if (window->lvwNodes()->topLevelItem(i)->data(0, Qt::UserRole).toInt() == track->lngNrPozycji)
                return window->lvwNodes()->topLevelItem(i);
        return nullptr;
    }

    VirtualClock* clock = nullptr;
    FakeMediaPlatform* media = nullptr;
    test::ScriptedMessages* messages = nullptr;
    std::shared_ptr<cPozycjaMP3> track;

private:
    std::unique_ptr<Clock> previousClock;
    std::unique_ptr<MediaPlatform> previousMedia;
    std::unique_ptr<MessageService> previousMessages;
};

TEST_F(TrackPanelEditTest, TypingAndSpinnersEditTheTimeTheListFollowsAndUndoTakesItBack) {
    ASSERT_TRUE(row());
    frame().Text1[4]->setFocus();
    frame().Text1[4]->selectAll();
    QTest::keyClicks(frame().Text1[4], QStringLiteral("x37"));
    EXPECT_EQ(frame().Text1[4]->text(), QStringLiteral("37"));
    EXPECT_EQ(track->lngKoniec_S, 37);
    EXPECT_TRUE(track->blnAwlaysTop && track->blnZmodyfikowana);
    EXPECT_EQ(row()->text(2), QStringLiteral("1:37:990"));
    EXPECT_EQ(row()->text(3), QStringLiteral("1 : 38"));
    // The up arrow of the end milliseconds carries into the seconds.
    test::ClickUpArrow(frame().VscrTime[5]);
    EXPECT_EQ(frame().Text1[4]->text(), QStringLiteral("38"));
    EXPECT_EQ(frame().Text1[5]->text(), QStringLiteral("0"));
    EXPECT_EQ(row()->text(2), QStringLiteral("1:38:0"));
    // The up arrow of the end seconds raises them, the down arrow lowers them.
    test::ClickUpArrow(frame().VscrTime[4]);
    EXPECT_EQ(frame().Text1[4]->text(), QStringLiteral("39"));
    test::ClickDownArrow(frame().VscrTime[4]);
    test::ClickDownArrow(frame().VscrTime[4]);
    EXPECT_EQ(frame().Text1[4]->text(), QStringLiteral("37"));
    // Back, one change at a time, to the range shown at first.
    for (int i = 0; i < 10 && !window->Panel().Range().editor().RangeUndo.isEmpty(); ++i)
        frame().cmdUndo2->click();
    EXPECT_EQ(track->lngKoniec_SS, 990);
    EXPECT_EQ(frame().Text1[4]->text(), QStringLiteral("59"));
    EXPECT_EQ(row()->text(2), QStringLiteral("1:59:990"));
}

TEST_F(TrackPanelEditTest, FramesShowInPlaceOfTimesAndTheSpinnerStepsAFrame) {
    openSource();
    window->Menus().item(QStringLiteral("mnuUnits_Jednostki(0)"))->trigger();
    EXPECT_FALSE(window->Menus().item(QStringLiteral("mnuUnits_Jednostki(1)"))->isChecked());
    EXPECT_TRUE(frame().txtRamkaOd->isVisibleTo(&frame()));
    EXPECT_FALSE(frame().VscrTime[0]->isVisibleTo(&frame()));
    EXPECT_EQ(frame().Label1[1]->text(), GetText(2130));
    EXPECT_EQ(window->Menus().menu(QStringLiteral("mnuTime"))->title(), QStringLiteral("20000"));
    frame().txtRamkaOd->setFocus();
    QTest::keyClicks(frame().txtRamkaOd, QStringLiteral("999"));
    test::ClickUpArrow(frame().VscrTime[2]);
    EXPECT_EQ(frame().txtRamkaOd->text(), QStringLiteral("1000"));
    EXPECT_EQ(track->lngPoczatek_SS, 122);
    // The list row shows frames: begin, end and the frames between.
    EXPECT_EQ(row()->text(1), QStringLiteral("1000"));
    // The end is the frame of the end time, 1:59.990.
    EXPECT_EQ(row()->text(3), QStringLiteral("3593"));
    // The down arrow steps back.
    test::ClickDownArrow(frame().VscrTime[2]);
    test::ClickDownArrow(frame().VscrTime[2]);
    EXPECT_EQ(frame().txtRamkaOd->text(), QStringLiteral("998"));
}

// Fault mended: the year check ran only when the focus first left after an
// edit, so a second Tab left "12" in the box.
TEST_F(TrackPanelEditTest, TheYearBoxKeepsTheFocusUntilItHoldsFourDigitsOrNothing) {
    QApplication::setActiveWindow(window);
    QLineEdit* year = frame().txtYear;
    year->setFocus();
    QTest::keyClicks(year, QStringLiteral("12"));
    ASSERT_EQ(year->text(), QStringLiteral("12"));
    for (int tab = 1; tab <= 2; ++tab) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCoreApplication::processEvents();
        EXPECT_EQ(QApplication::focusWidget(), year) << "Tab " << tab;
    }
    QTest::mouseClick(frame().txtTitle, Qt::LeftButton);
    QCoreApplication::processEvents();
    EXPECT_EQ(QApplication::focusWidget(), year) << "a click elsewhere";
    QTest::keyClick(year, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(year, QStringLiteral("2012"));
    QTest::keyClick(year, Qt::Key_Tab);
    QCoreApplication::processEvents();
    EXPECT_NE(QApplication::focusWidget(), year);
    EXPECT_EQ(track->strYear, QStringLiteral("2012"));
    year->setFocus();
    QTest::keyClick(year, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(year, Qt::Key_Backspace);
    ASSERT_TRUE(year->text().isEmpty());
    QTest::keyClick(year, Qt::Key_Tab);
    QCoreApplication::processEvents();
    EXPECT_NE(QApplication::focusWidget(), year) << "an empty box lets the focus go";
}

TEST_F(TrackPanelEditTest, MarksTakeThePreviewsPosition) {
    frame().cmdMark[0]->click(); // no preview yet: nothing happens
    EXPECT_TRUE(window->Panel().Range().editor().RangeUndo.isEmpty());
    window->Panel().cmdPlay2_Click();
    auto graph = media->graphFor(track->strFileNameSource);
    ASSERT_TRUE(graph);
    graph->setCurrentPosition(7.5);
    frame().cmdMark[0]->click();
    EXPECT_EQ(frame().Text1[1]->text(), QStringLiteral("7"));
    EXPECT_EQ(frame().Text1[2]->text(), QStringLiteral("500"));
    EXPECT_EQ(row()->text(1), QStringLiteral("0:7:500"));
}

TEST_F(TrackPanelEditTest, TappingTheTempoAndMatchingAnotherTrack) {
    auto other = addTrack(2);
    other->lngBPM = 150;
    window->Editor().openProperties(track);
    EXPECT_FALSE(frame().lblSync->isEnabled());
    frame().HScrSpeed->setValue(130);
    frame().cmdBPM->click();
    clock->advance(500);
    frame().cmdBPM->click();
    EXPECT_EQ(frame().txtBPM->text(), QStringLiteral("120"));
    EXPECT_EQ(frame().HScrSpeed->value(), 100);
    EXPECT_TRUE(frame().lblSync->isEnabled());
    // Typing in a box is not a tap.
    frame().txtTitle->setFocus();
    window->Panel().cmdBPM_Click();
    clock->advance(250);
    window->Panel().cmdBPM_Click();
    EXPECT_EQ(track->lngBPM, 120);
    // One match item per track; the other's tempo is reached through the speed.
    QMenu* sync = window->Menus().menu(QStringLiteral("mnuS"));
    ASSERT_EQ(sync->actions().size(), 2);
    window->Panel().Tempo().lblSync_Click();
    EXPECT_EQ(sync->actions().at(1)->text(), QStringLiteral("Track 2 (150 BPM)"));
    sync->close();
    sync->actions().at(1)->trigger();
    EXPECT_EQ(frame().HScrSpeed->value(), 125);
    EXPECT_EQ(frame().txtBPM->text(), QStringLiteral("150"));
    frame().cmdReset->click();
    EXPECT_EQ(frame().txtBPM->text(), QStringLiteral("0"));
    EXPECT_FALSE(frame().lblSync->isEnabled());
    EXPECT_EQ(frame().cmdBPM->toolTip(), GetText(3196));
}

// A preview that cannot be built on the track's output (a sound card that is
// gone) says so and leaves the program ready: File > Add source asks for a
// source at once afterwards.
TEST_F(TrackPanelEditTest, AFailedPreviewSaysSoAndLeavesAddingASourceWorking) {
    Program().outputs.UseDefaultRenderer = false;
    Program().outputs.SoundCards = {QStringLiteral("Gone card")};
    track->strDevice = QStringLiteral("Gone card");
    window->Editor().openProperties(track);
    ASSERT_EQ(frame().cboDevice->currentText(), QStringLiteral("Gone card"));
    frame().cmdPlay2->click();
    frame().cmdTest[0]->click();
    EXPECT_FALSE(window->Panel().preview().MediaControl);
    ASSERT_EQ(messages->shown.size(), 2);
    for (const auto& shown : messages->shown)
        EXPECT_EQ(shown.textNumber, 3162);
    EXPECT_TRUE(window->CanChangeProject());

    messages->shown.clear();
    int dialogs = 0;
    test::WhileOpen<QFileDialog>(window, [&](QFileDialog* dialog) {
        ++dialogs;
        dialog->reject();
    });
    window->Menus().item(QStringLiteral("mnuFile_Add"))->trigger();
    EXPECT_EQ(dialogs, 1);
    EXPECT_TRUE(messages->shown.isEmpty());
    ASSERT_TRUE(frmPozycje::Instance());
    delete frmPozycje::Instance();
}

// Fault mended: after "apply to every track" the device box kept the old
// device, and the next preview was built on it.
TEST_F(TrackPanelEditTest, TheDeviceBoxFollowsADeviceGivenToEveryTrack) {
    Program().outputs.UseDefaultRenderer = false;
    store->values[QStringLiteral("MultiDevices")] = QStringLiteral("1");
    Program().outputs.SoundCards = {kNullOutputName, kDefaultOutputName};
    track->strDevice = kNullOutputName;
    window->Editor().openProperties(track);
    ASSERT_EQ(frame().cboDevice->currentText(), kNullOutputName);
    window->Menus().item(QStringLiteral("mnuSetting"))->trigger();
    frmSettings* settings = frmSettings::Instance();
    ASSERT_TRUE(settings);
    settings->cboDevice->setCurrentText(kDefaultOutputName);
    messages->answers.enqueue(mb::Yes);
    settings->cmdSet->click();
    EXPECT_EQ(track->strDevice, kDefaultOutputName);
    EXPECT_EQ(frame().cboDevice->currentText(), kDefaultOutputName);
    window->Panel().cmdPlay2_Click();
    ASSERT_TRUE(media->graphFor(track->strFileNameSource));
    EXPECT_EQ(media->graphFor(track->strFileNameSource)->device, kDefaultOutputName);
    settings->close();
}

// Fault mended: range edits made while the list was hidden were missing
// from it when it was shown again.
TEST_F(TrackPanelEditTest, TheListShowsRangesEditedWhileItWasHidden) {
    QAction* advanced = window->Menus().item(QStringLiteral("mnulvw"));
    ASSERT_TRUE(advanced->isChecked());
    advanced->trigger();
    ASSERT_FALSE(window->lvwNodes()->isVisible());
    frame().Text1[4]->setFocus();
    frame().Text1[4]->selectAll();
    QTest::keyClicks(frame().Text1[4], QStringLiteral("12"));
    ASSERT_EQ(track->lngKoniec_S, 12);
    advanced->trigger();
    ASSERT_TRUE(window->lvwNodes()->isVisible());
    EXPECT_EQ(row()->text(2), QStringLiteral("1:12:990"));
    EXPECT_EQ(row()->text(3), QStringLiteral("1 : 13"));
}

// Fault mended: a range held in time showed frames 0 to 0 when switched to
// frames, and the export would have cut nothing.
TEST_F(TrackPanelEditTest, SwitchingATimeRangeToFramesShowsTheFramesOfItsTimes) {
    openSource();
    track->lngPoczatek_S = 26;
    track->lngPoczatek_SS = 122; // the time of frame 1000
    track->lngKoniec_M = 1;
    track->lngKoniec_S = 0;
    track->lngKoniec_SS = 500; // 60.5 s: inside frame 2316
    window->Editor().openProperties(track);
    ASSERT_TRUE(track->blnJednostka);
    window->Menus().item(QStringLiteral("mnuUnits_Jednostki(0)"))->trigger();
    EXPECT_EQ(frame().txtRamkaOd->text(), QStringLiteral("1000"));
    EXPECT_EQ(frame().txtRamkaDo->text(), QStringLiteral("2316"));
    EXPECT_EQ(track->lngRamkaOd, 1000);
    EXPECT_EQ(track->lngRamkaDo, 2316);
    EXPECT_EQ(row()->text(3), QStringLiteral("1316"));
    // The times stay as they were, and seconds show them again.
    window->Menus().item(QStringLiteral("mnuUnits_Jednostki(1)"))->trigger();
    EXPECT_EQ(frame().Text1[2]->text(), QStringLiteral("122"));
    EXPECT_EQ(frame().Text1[5]->text(), QStringLiteral("500"));
}

// Fault mended: after a match the label showed the tempo of the truncated
// speed (98 for a target of 100) instead of the target.
TEST_F(TrackPanelEditTest, AMatchShowsTheTargetTempo) {
    track->lngBPM = 170;
    auto other = addTrack(2);
    other->lngBPM = 100;
    window->Editor().openProperties(track);
    window->Panel().Tempo().lblSync_Click();
    QMenu* sync = window->Menus().menu(QStringLiteral("mnuS"));
    sync->close();
    sync->actions().at(1)->trigger();
    EXPECT_EQ(frame().HScrSpeed->value(), 58);
    EXPECT_EQ(frame().txtBPM->text(), QStringLiteral("100"));
    // Moving the speed on shows the scaled tempo again.
    frame().HScrSpeed->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(frame().txtBPM->text(), QStringLiteral("100")); // 170 x 0.59 = 100.3
    frame().HScrSpeed->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(frame().txtBPM->text(), QStringLiteral("102"));
}

} // namespace

namespace {

using TrackPanelFirstTrackTest = test::PeripheryTest;

// Fault mended: on a machine without an output device, the box saying so
// came up over the panel with its design values ("0000", year "1999", the
// first genre) before the first track was put in.
TEST_F(TrackPanelFirstTrackTest, TheNoOutputBoxNeverStandsOverAnUnfilledPanel) {
    LoadStoredSoundCards(Program().outputs); // as the start finds no stored list
    ASSERT_TRUE(Program().outputs.DevicesPending);
    store->values["AdvView"] = "1"; // the tag fields show too
    open();
    TrackPanelFrame& panel = *window->fraAudio();
    const QStringList design{QStringLiteral("0000"), QStringLiteral("00"), QStringLiteral("000"),
                             QStringLiteral("1999"), panel.cboGenre->itemText(0)};
    auto t = add(1);
    t->strYear = QStringLiteral("2005");
    t->lngGenre = 17;
    QStringList seen;
    int boxes = 0;
    messages->whileShown = [&](const MessageRequest& request) {
        if (request.textNumber != texts::kNoOutputDeviceText)
            return;
        ++boxes;
        for (QLineEdit* e : panel.findChildren<QLineEdit*>())
            if (e->isVisible())
                seen << e->objectName() + QLatin1Char('=') + e->text();
        for (QComboBox* c : panel.findChildren<QComboBox*>())
            if (c->isVisible())
                seen << c->objectName() + QLatin1Char('=') + c->currentText();
    };
    showInPanel(t);
    ASSERT_EQ(boxes, 1);
    for (const QString& shown : seen)
        EXPECT_FALSE(design.contains(shown.section(QLatin1Char('='), 1))) << shown.toStdString();
    // Then the panel holds the track.
    ASSERT_TRUE(panel.isVisible());
    EXPECT_EQ(panel.txtYear->text(), QStringLiteral("2005"));
    EXPECT_EQ(panel.cboGenre->currentData().toInt(), 17);
    EXPECT_EQ(panel.Text1[0]->text(), QStringLiteral("0"));
}

} // namespace
