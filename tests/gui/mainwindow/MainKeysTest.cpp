// The main window's keys, pressed and released as the user does: the window
// sees them before the focused control, the tag boxes keep their letters, a
// key acts once per release and only after its press reached the window.
#include "PeripheryFixture.h"
#include "support/ProgramState.h"

#include "core/document/cPozycjaPlikow.h"
#include "core/document/cPozycjePlikow.h"
#include "core/playback/RangeEditor.h"
#include "core/playback/SequencePlayer.h"
#include "gui/mainwindow/TrackPanelRange.h"
#include "core/editor/GraphEditor.h"
#include "gui/editor/TreeNavigator.h"
#include "gui/export/frmPozycje.h"
#include "gui/playback/MainPlayer.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QTreeWidget>
#include <QTest>

using namespace kelbrin;

namespace {

class MainKeysTest : public test::PeripheryTest {
protected:
    SequencePlayer& player() { return window->Player().player(); }
    PreviewPlayer& preview() { return window->Panel().preview(); }
    bool previewPlaying() { return preview().MediaControl && preview().MediaControl->state() == GraphState::Running; }
};

} // namespace

TEST_F(MainKeysTest, LettersDriveThePreviewOnlyWhileThePanelShowsAndNotFromATagBox) {
    open();
    auto t = add(1);
    QTest::keyClick(window, Qt::Key_X);
    EXPECT_FALSE(preview().MediaControl) << "no panel, no preview";

    showInPanel(t);
    ASSERT_TRUE(window->fraAudio()->isVisible());
    QLineEdit* title = window->fraAudio()->txtTitle;
    window->fraAudio()->fraTAG->show();
    title->setFocus();
    ASSERT_EQ(QApplication::focusWidget(), title);
    QTest::keyClick(title, Qt::Key_X);
    EXPECT_EQ(title->text(), "x") << "typed into the box";
    EXPECT_FALSE(previewPlaying()) << "the letter does not start the preview";

    // From any other control the letters play, pause and stop the preview.
    window->tvwNodes()->setFocus();
    QTest::keyClick(window->tvwNodes(), Qt::Key_X);
    EXPECT_TRUE(previewPlaying());
    // The function keys act from the tag box: F1 sets the begin mark.
    title->setFocus();
    const RangeUndoStack& undo = window->Panel().Range().editor().RangeUndo;
    ASSERT_TRUE(undo.isEmpty());
    QTest::keyClick(title, Qt::Key_F1);
    EXPECT_FALSE(undo.isEmpty());
    window->tvwNodes()->setFocus();
    QTest::keyClick(window->tvwNodes(), Qt::Key_C);
    EXPECT_TRUE(preview().blnPause2);
    QTest::keyClick(window->tvwNodes(), Qt::Key_V);
    EXPECT_FALSE(previewPlaying());
}

TEST_F(MainKeysTest, AKeyActsOncePerReleaseAndOnlyWhenItsPressReachedTheWindow) {
    open();
    auto t = add(1);
    showInPanel(t);
    window->tvwNodes()->setFocus();

    // Pressed in another window, released here: nothing.
    QWidget other;
    other.show();
    QTest::keyPress(&other, Qt::Key_X);
    QTest::keyRelease(window->tvwNodes(), Qt::Key_X);
    EXPECT_FALSE(preview().MediaControl);

    // Held: the press repeats, the release counts once.
    for (int i = 0; i < 4; ++i) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_F8, Qt::ShiftModifier, QString(), i > 0);
        QCoreApplication::sendEvent(window->tvwNodes(), &press);
    }
    QKeyEvent repeatRelease(QEvent::KeyRelease, Qt::Key_F8, Qt::ShiftModifier, QString(), true);
    QCoreApplication::sendEvent(window->tvwNodes(), &repeatRelease);
    EXPECT_FALSE(player().mnuPlay_All);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_F8, Qt::ShiftModifier);
    QCoreApplication::sendEvent(window->tvwNodes(), &release);
    EXPECT_TRUE(player().mnuPlay_All);

    // Backspace in a text box takes back a character and taps nothing.
    window->fraAudio()->fraTAG->show();
    QLineEdit* title = window->fraAudio()->txtTitle;
    title->setFocus();
    QTest::keyClicks(title, "ab");
    const QString tempo = window->fraAudio()->txtBPM->text();
    QTest::keyClick(title, Qt::Key_Backspace);
    QTest::keyClick(title, Qt::Key_Backspace);
    EXPECT_EQ(title->text(), "");
    EXPECT_EQ(window->fraAudio()->txtBPM->text(), tempo);

    // A key that a menu shortcut takes acts only through its item: F9 once.
    window->tvwNodes()->setFocus();
    QTest::keyClick(window->tvwNodes(), Qt::Key_F9);
    EXPECT_TRUE(item("mnulvw")->isChecked());
    EXPECT_EQ(store->values.value("AdvView"), "1");

    // F6 waits while a marker move runs.
    preview().blnPanelBusy = true;
    const int builds = media->built.size();
    QTest::keyClick(window->tvwNodes(), Qt::Key_F6);
    preview().blnPanelBusy = false;
    EXPECT_EQ(media->built.size(), builds);

    // Z with the panel hidden does nothing, and nothing else either.
    window->fraAudio()->hide();
    QTest::keyClick(window->tvwNodes(), Qt::Key_Z);
    EXPECT_FALSE(preview().MediaControl);
    EXPECT_FALSE(player().isRunning());
}

TEST_F(MainKeysTest, TheNumberPadPlusAddsOneTrackWhereverTheFocusIs) {
    open();
    Program().session.OpenFiles = std::make_shared<cPozycjePlikow>();
    auto file = std::make_shared<cPozycjaPlikow>();
    file->strFileName = test::WriteFile(folder + "/source.mp3", "x");
    file->lngNrPozycji = 1;
    Program().session.OpenFiles->Add(file);
    window->tvwNodes()->setFocus();
    QTest::keyClick(window->tvwNodes(), Qt::Key_Plus, Qt::KeypadModifier);
    ASSERT_NE(frmPozycje::Instance(), nullptr);
    EXPECT_FALSE(window->cmdDodaj()->isEnabled()) << "the split dialog holds the add command";
    frmPozycje::Instance()->close();
}

namespace {
// A text box that binds Ctrl+U to deleting its line, as line edits do under
// X11 key bindings (the offscreen platform has none).
class LineDeletingBox final : public QLineEdit {
public:
    using QLineEdit::QLineEdit;

protected:
    bool event(QEvent* e) override {
        if (e->type() == QEvent::ShortcutOverride && isCtrlU(static_cast<QKeyEvent*>(e))) {
            e->accept();
            return true;
        }
        if (e->type() == QEvent::KeyPress && isCtrlU(static_cast<QKeyEvent*>(e))) {
            clear();
            return true;
        }
        return QLineEdit::event(e);
    }

private:
    static bool isCtrlU(const QKeyEvent* k) {
        return k->key() == Qt::Key_U && k->modifiers() == Qt::ControlModifier;
    }
};
} // namespace

TEST_F(MainKeysTest, AWindowCommandsKeyRunsItFromATextBoxThatBindsTheKeyToo) {
    open();
    auto t = add(1);
    showInPanel(t);
    window->fraAudio()->fraTAG->show();
    auto* box = new LineDeletingBox(window->fraAudio()->fraTAG);
    box->show();
    box->setFocus();
    QTest::keyClicks(box, "Intro");
    // Ctrl+U deletes the line of such a box, and opens the settings here.
    QTest::keyClick(box, Qt::Key_U, Qt::ControlModifier);
    EXPECT_EQ(box->text(), "Intro");
    QWidget* settings = window->findChild<QWidget*>("frmSettings");
    ASSERT_TRUE(settings);
    EXPECT_TRUE(settings->isVisible());
    settings->close();
    // Editing keys stay the box's own, also where a command has them: Ctrl+A
    // selects the text and leaves the track's lock alone.
    QLineEdit* title = window->fraAudio()->txtTitle;
    QTest::keyClicks(title, "Intro");
    window->Editor().editor().SelectTrackBox(1, 1, 0, QPoint());
    window->Editor().editor().LinkOrDrop(1, 1, 0, QPoint());
    title->setFocus();
    ASSERT_TRUE(item("mnuTrack_Blok")->isEnabled());
    const bool locked = t->blnZablokowany;
    QTest::keyClick(title, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(t->blnZablokowany, locked);
    EXPECT_TRUE(title->hasSelectedText());
    // Keys that are no command's stay the box's own; Delete deletes a letter.
    title->setFocus();
    QTest::keyClick(title, Qt::Key_Home);
    QTest::keyClick(title, Qt::Key_Delete);
    EXPECT_EQ(title->text(), "ntro");
    EXPECT_EQ(window->cPozycje()->Count(), 1);
}

TEST_F(MainKeysTest, AnArrowInTheTreeOrTheListSelectsTheTrackItHighlights) {
    open();
    auto first = add(1);
    auto second = add(2);
    window->Tree().PokazMnieTvw();
    QTreeWidget* tree = window->tvwNodes();
    QTreeWidgetItem* node = window->Tree().ZnajdzNoda(1);
    ASSERT_TRUE(node);
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(node).center());
    ASSERT_EQ(window->Editor().editor().lngSelectedTrack, 1);
    tree->setFocus();
    QTest::keyClick(tree, Qt::Key_Down);
    ASSERT_EQ(TreeNavigator::NodeTag(tree->currentItem()), 2);
    EXPECT_EQ(window->Editor().editor().lngSelectedTrack, 2);
    // The lock goes to the highlighted track.
    QTest::keyClick(tree, Qt::Key_A, Qt::ControlModifier);
    EXPECT_TRUE(second->blnZablokowany);
    EXPECT_FALSE(first->blnZablokowany);

    item("mnulvw")->trigger();
    QTreeWidget* list = window->lvwNodes();
    ASSERT_TRUE(list->isVisible());
    ASSERT_EQ(list->topLevelItemCount(), 2);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->topLevelItem(1)).center());
    ASSERT_EQ(window->Editor().editor().lngSelectedTrack, 2);
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Up);
    EXPECT_EQ(window->Editor().editor().lngSelectedTrack, 1);
    // Delete takes the highlighted track, not the one clicked before.
    QTest::keyClick(list, Qt::Key_Delete);
    ASSERT_EQ(window->cPozycje()->Count(), 1);
    EXPECT_EQ(window->cPozycje()->Item(1), second);
}

