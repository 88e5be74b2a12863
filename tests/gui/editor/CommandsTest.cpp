// The Track menu's commands, the clipboard, deletion, the label dialog and
// the legend inside the main window.
#include "core/app/ProgramObjects.h"
#include "support/ProgramState.h"
#include "core/app/TextCatalog.h"
#include "core/document/cPozycjeMP3.h"
#include "core/editor/SplitDialogLauncher.h"
#include "core/editor/TrackGraph.h"
#include "gui/app/ModalDriver.h"
#include "gui/app/QtMessageService.h"
#include "gui/app/Twips.h"
#include "gui/editor/EditorController.h"
#include "gui/editor/TrackCommandSet.h"
#include "gui/editor/TrackListNavigator.h"
#include "gui/editor/TrackSurface.h"
#include "gui/editor/frmLabel.h"
#include "gui/editor/frmLegend.h"
#include "gui/editor/FakeTrackWindows.h"
#include "gui/mainwindow/ProjectCommands.h"
#include "gui/mainwindow/frmDazudizi.h"
#include "platform/settings/MemorySettingsStore.h"
#include "support/ScriptedMessages.h"
#include "support/TestEnvironment.h"
#include "support/TrackFactory.h"

#include <QAction>
#include <QApplication>
#include <QFrame>
#include <QImage>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPointer>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

using namespace kelbrin;

namespace {

// A split dialog that finishes at once: numbers the track, adds it, reports it.
class InstantSplitDialog : public SplitDialogLauncher {
public:
    explicit InstantSplitDialog(frmDazudizi& w) : window(w) {}
    void PokazMnie(const SplitDialogRequest& r) override {
        requests.append(r);
        if (!r.newTrack || !r.runAtOnce)
            return;
        r.track->lngNrPozycji = Program().session.NextTrackNo++;
        r.track->lngLeft = 9000;
        r.track->lngTop = 6000;
        window.cPozycje()->Add(r.track);
        if (r.tracksAdded)
            r.tracksAdded({r.track->lngNrPozycji});
    }
    frmDazudizi& window;
    QList<SplitDialogRequest> requests;
};

class Commands : public ::testing::Test {
protected:
    void SetUp() override {
        test::ResetProgramObjects();
        auto* store = new MemorySettingsStore;
        SetSettingsStore(std::unique_ptr<SettingsStore>(store));
        store->values = {{"WindowState", "0"}, {"Width", "15000"}, {"Height", "9000"}, {"AdvView", "0"}};
        Catalog().load(test::SourceDir() + "/resources/Kelbrin.ini");
        Catalog().setLanguage("ENGLISH");
        auto scripted = std::make_unique<test::ScriptedMessages>();
        messages = scripted.get();
        previous = SetMessageService(std::move(scripted));
        window = new frmDazudizi(Program());
        window->setAttribute(Qt::WA_DeleteOnClose, false);
        window->PokazMnie();
        QCoreApplication::processEvents();
        editor = &window->Editor();
        commands = &window->Commands();
        // A chain 1 -> 2 -> 3 and a detached 4.
        for (int n = 1; n <= 4; ++n)
            add(n, 1500 + 3000 * ((n - 1) % 3), n == 4 ? 5400 : 1500, n == 4 ? 4 : n - 1);
        Program().session.NextTrackNo = 5;
        window->DrawTrackGraph(true);
    }
    void TearDown() override {
        SetSplitDialogLauncher(nullptr);
        if (frmLabel::Instance())
            delete frmLabel::Instance();
        if (frmLegend::Instance())
            delete frmLegend::Instance();
        delete window;
        SetMessageService(std::move(previous));
        SetSettingsStore(nullptr);
    }
    std::shared_ptr<cPozycjaMP3> add(std::int32_t number, int x, int y, std::int32_t pred) {
        auto t = test::MakeTrackAt(number, x, y, pred, QStringLiteral("Track %1").arg(number));
        // The list shows only tracks whose source is on disk.
        static const QString sources = test::MakeTempDir(QStringLiteral("commands"));
        t->strFileNameSource = test::WriteFile(sources + QStringLiteral("/%1.mp3").arg(number), "x");
        window->cPozycje()->Add(t);
        return t;
    }
    std::shared_ptr<cPozycjaMP3> track(std::int32_t number) { return TrackByNumber(*window->cPozycje(), number); }
    void select(std::int32_t number) {
        QTreeWidgetItem* row = editor->list()->RowOf(number);
        ASSERT_TRUE(row);
        editor->editor().SelectTrackBox(number, 1, 0, QPoint());
        editor->editor().LinkOrDrop(number, 1, 0, QPoint());
    }
    bool enabled(const char* name) { return editor->controlEnabled(QLatin1String(name)); }
    QPushButton* button(const char* name) { return commands->button(QLatin1String(name)); }
    QColor boxPixel(std::int32_t number) {
        auto t = track(number);
        return editor->surface()->grab().toImage().pixelColor(
            TrackSurface::toPixels(QPoint(t->lngLeft, t->lngTop)));
    }

    frmDazudizi* window = nullptr;
    EditorController* editor = nullptr;
    TrackCommandSet* commands = nullptr;
    test::ScriptedMessages* messages = nullptr;
    std::unique_ptr<MessageService> previous;
};

} // namespace

TEST_F(Commands, EnableStatesFollowTheSelectionAndLinkModeGates) {
    // The start box is selected: nothing to show or delete.
    EXPECT_FALSE(button("cmdZmien")->isEnabled());
    EXPECT_FALSE(button("cmdUsun")->isEnabled());
    EXPECT_FALSE(button("cmdBlok")->isEnabled());
    select(4); // detached
    EXPECT_TRUE(enabled("cmdPolacz"));
    EXPECT_TRUE(enabled("mnuTrack_Con_Connect"));
    EXPECT_FALSE(enabled("mnuTrack_Con_Remove"));
    EXPECT_FALSE(enabled("mnuTrack_Fade"));
    EXPECT_TRUE(enabled("cmdDodajPetle"));
    EXPECT_FALSE(enabled("cmdUsunPetle"));
    EXPECT_FALSE(enabled("cmdPaste(0)"));
    EXPECT_TRUE(enabled("mnuTrack_Wytnij"));
    select(2);
    EXPECT_FALSE(enabled("cmdPolacz"));
    EXPECT_TRUE(enabled("cmdUsunPolaczenie"));
    EXPECT_TRUE(enabled("mnuTrack_Con_Remove"));
    EXPECT_TRUE(button("cmdUsun")->isEnabled());
    // While the export dialog holds deletion back, delete and cut are off.
    commands->HoldDeletion(true);
    EXPECT_FALSE(button("cmdUsun")->isEnabled());
    select(2);
    EXPECT_FALSE(button("cmdUsun")->isEnabled());
    EXPECT_FALSE(enabled("mnuTrack_Wytnij"));
    commands->HoldDeletion(false);
    EXPECT_TRUE(button("cmdUsun")->isEnabled());
    EXPECT_TRUE(enabled("mnuTrack_Wytnij"));
    // Link mode: the Track menu opener changes nothing, cut does nothing.
    QTest::mouseClick(button("cmdPolacz"), Qt::LeftButton); // disabled: no effect
    EXPECT_FALSE(editor->editor().linkMode());
    select(4);
    QTest::mouseClick(button("cmdPolacz"), Qt::LeftButton);
    ASSERT_TRUE(editor->editor().linkMode());
    editor->editor().lngSelectedTrack = 1;
    emit window->Menus().menu("mnuTrack")->aboutToShow();
    EXPECT_TRUE(enabled("cmdPolacz")); // still the states of track 4
    commands->mnuTrack_Wytnij_Click();
    EXPECT_EQ(window->cPozycje()->Count(), 4);
    // The link completes on track 3's box.
    editor->editor().LinkOrDrop(3, 1, 0, QPoint());
    EXPECT_EQ(track(4)->lngTrack, 3);
    EXPECT_TRUE(editor->cmdUndo->isEnabled());
}

TEST_F(Commands, LockColoursWhileIdleAndWhilePlaying) {
    select(1);
    QTest::mouseClick(button("cmdBlok"), Qt::LeftButton);
    EXPECT_TRUE(track(1)->blnZablokowany);
    EXPECT_EQ(boxPixel(1), QColor(0, 0, 255));
    track(1)->blnPlayed = true;
    EXPECT_EQ(boxPixel(1), QColor(0, 0, 255));
    window->Menus().item("mnuTrack_Blok")->trigger();
    EXPECT_FALSE(track(1)->blnZablokowany);
    EXPECT_EQ(boxPixel(1), QColor(255, 0, 0));
    track(1)->blnPlayed = false;
    EXPECT_EQ(boxPixel(1), QColor(0, 255, 0));
    editor->cmdUndo_Click();
    EXPECT_TRUE(track(1)->blnZablokowany);
}

TEST_F(Commands, LoopCountThroughTheInputBox) {
    select(3);
    commands->mnuTrack_Loop_Click();
    editor->editor().LinkOrDrop(1, 1, 0, QPoint());
    ASSERT_EQ(track(3)->lngLoopTrack, 1);
    select(3);
    messages->inputAnswers.enqueue(QString("7"));
    commands->mnuLoopTrack_Ilosc_Click();
    EXPECT_EQ(messages->inputs.last().defaultText, "1");
    EXPECT_EQ(track(3)->lngLoopCountBackup, 7);
    messages->inputAnswers.enqueue(QString("-3"));
    commands->mnuLoopTrack_Ilosc_Click();
    ASSERT_EQ(messages->shown.size(), 1);
    EXPECT_EQ(messages->shown[0].textNumber, 3902);
    EXPECT_EQ(track(3)->lngLoopCountBackup, 7);
    messages->inputAnswers.enqueue(std::nullopt); // Cancel
    commands->mnuLoopTrack_Ilosc_Click();
    EXPECT_EQ(track(3)->lngLoopCountBackup, 7);
    QTest::mouseClick(button("cmdUsunPetle"), Qt::LeftButton);
    EXPECT_EQ(track(3)->lngLoopTrack, -1);
    EXPECT_TRUE(enabled("cmdDodajPetle"));
    editor->cmdUndo_Click();
    EXPECT_EQ(track(3)->lngLoopTrack, 1);
    EXPECT_EQ(track(3)->lngLoopCountBackup, 7);
}

// Fault mended: six typed digits were refused above 99,999; a seventh digit
// is dropped, not the whole answer.
TEST_F(Commands, LoopCountTypedIntoTheRealBoxKeepsSixDigits) {
    select(3);
    commands->mnuTrack_Loop_Click();
    editor->editor().LinkOrDrop(1, 1, 0, QPoint());
    select(3);
    auto scripted = SetMessageService(std::make_unique<QtMessageService>());
    test::WhileOpen<QMessageBox>(window, [](QMessageBox* refusal) { refusal->reject(); });
    for (const auto& [typed, count] : {std::pair{"999999", 999999}, std::pair{"1234567", 123456}}) {
        test::WhenModal<QInputDialog>([typed = QString::fromLatin1(typed)](QInputDialog* box) {
            auto* edit = box->findChild<QLineEdit*>();
            ASSERT_TRUE(edit);
            edit->selectAll();
            QTest::keyClicks(edit, typed);
            QTest::keyClick(edit, Qt::Key_Return);
        });
        commands->mnuLoopTrack_Ilosc_Click();
        EXPECT_EQ(track(3)->lngLoopCountBackup, count) << typed;
    }
    SetMessageService(std::move(scripted));
}

TEST_F(Commands, DeletionBridgesShiftsAndComesBackWithUndo) {
    select(2);
    QTest::mouseClick(button("cmdUsun"), Qt::LeftButton);
    ASSERT_EQ(window->cPozycje()->Count(), 3);
    EXPECT_EQ(track(3)->lngTrack, 1);
    EXPECT_EQ(ItemTracka(*window->cPozycje(), 3), 2);
    EXPECT_EQ(track(1)->colNastepnik, (QList<std::int32_t>{2}));
    EXPECT_EQ(window->lvwNodes()->topLevelItemCount(), 3);
    EXPECT_FALSE(editor->list()->RowOf(2));
    EXPECT_EQ(editor->editor().lngSelectedTrack, 0);
    editor->cmdUndo_Click();
    EXPECT_EQ(window->cPozycje()->Count(), 4);
    EXPECT_EQ(track(2)->lngTrack, 1);
    EXPECT_EQ(track(3)->lngTrack, 2);
    EXPECT_EQ(window->lvwNodes()->topLevelItemCount(), 4);
    // Refused while a text box has the focus, and while the player runs it.
    QLineEdit box(window);
    box.show();
    box.setFocus();
    QApplication::setActiveWindow(window);
    select(1);
    if (QApplication::focusWidget() == &box) {
        commands->cmdUsun_Click();
        EXPECT_EQ(window->cPozycje()->Count(), 4);
    }
    box.clearFocus();
    box.hide();
    editor->editor().run.colPlayRun = QList<std::int32_t>{1, ItemTracka(*window->cPozycje(), 4)};
    editor->editor().run.lngPlayRunMark = 0;
    select(4);
    window->Menus().item("mnuTrack_Remove")->trigger();
    EXPECT_EQ(window->cPozycje()->Count(), 4);
    EXPECT_EQ(editor->editor().run.lngPlayRunMark, 2);
}

// Fault mended: the box showed the clipboard's label while the track stored
// another one.
TEST_F(Commands, CopyPasteAndPasteAsNew) {
    select(1);
    track(1)->lngVolume = -700;
    QTest::mouseClick(button("cmdCopy"), Qt::LeftButton);
    ASSERT_TRUE(window->CpozSchowek());
    EXPECT_TRUE(enabled("cmdPaste(1)"));
    select(2);
    EXPECT_TRUE(enabled("cmdPaste(0)"));
    QTest::mouseClick(button("cmdPaste(0)"), Qt::LeftButton);
    EXPECT_EQ(track(2)->lngVolume, -700);
    EXPECT_EQ(track(2)->lngTrack, 1);
    EXPECT_EQ(editor->list()->RowOf(2)->text(0), track(2)->strLabel);
    // Paste as new through the split dialog's run-at-once path.
    InstantSplitDialog split(*window);
    SetSplitDialogLauncher(&split);
    auto windows = std::make_unique<test::FakeTrackWindows>();
    const QStringList& opened = windows->calls;
    editor->setTrackWindows(std::move(windows));
    QTest::mouseClick(button("cmdPaste(1)"), Qt::LeftButton);
    ASSERT_EQ(split.requests.size(), 1);
    EXPECT_TRUE(split.requests[0].newTrack);
    EXPECT_TRUE(split.requests[0].runAtOnce);
    ASSERT_EQ(window->cPozycje()->Count(), 5);
    EXPECT_EQ(track(5)->lngVolume, -700);
    EXPECT_FALSE(track(5)->blnAwlaysTop);
    EXPECT_EQ(window->lvwNodes()->topLevelItemCount(), 5);
    EXPECT_EQ(opened.size(), 1);
    editor->cmdUndo_Click();
    EXPECT_EQ(window->cPozycje()->Count(), 4);
    // Cut: a copy, then the deletion.
    select(4);
    window->Menus().item("mnuTrack_Wytnij")->trigger();
    EXPECT_EQ(window->CpozSchowek()->lngNrPozycji, 4);
    EXPECT_FALSE(track(4));
    // An empty clipboard disables paste on use.
    window->ReleaseClipboardTrack();
    commands->mnuTrack_Wklej_Click();
    EXPECT_FALSE(enabled("mnuTrack_Wklej"));
}

// Fault mended: fade editors were found again by their caption (the labels).
TEST_F(Commands, FadeEditorsAreFoundByTheirPairOfNumbers) {
    QList<QWidget*> created;
    commands->fadeEditors.create = [&](std::shared_ptr<cPozycjaMP3> e, std::shared_ptr<cPozycjaMP3> s) {
        auto* w = new QWidget(window, Qt::Window);
        w->setWindowTitle(GetText(3146) + " " + e->strLabel + "/" + s->strLabel);
        created << w;
        return w;
    };
    select(2);
    commands->mnuTrack_Fade_Click();
    ASSERT_EQ(created.size(), 1);
    track(1)->strLabel = "Renamed";
    commands->mnuTrack_Fade_Click();
    EXPECT_EQ(created.size(), 1);
    // Another pair with the same labels gets its own editor.
    track(3)->strLabel = track(2)->strLabel;
    select(3);
    commands->mnuTrack_Fade_Click();
    EXPECT_EQ(created.size(), 2);
    // A track following the start box fades with itself; clicking its line
    // with the right button opens the same editor.
    select(1);
    commands->mnuTrack_Fade_Click();
    ASSERT_EQ(created.size(), 3);
    EXPECT_EQ(commands->fadeEditors.Find(1, 1), created[2]);
    delete created[0];
    select(2);
    commands->mnuTrack_Fade_Click();
    EXPECT_EQ(created.size(), 4);
}

TEST_F(Commands, LabelDialogStoresOnEnterOrCloseAndDiscardsOnEscape) {
    select(1);
    window->Menus().item("mnuTrack_Label")->trigger();
    frmLabel* dialog = frmLabel::Instance();
    ASSERT_TRUE(dialog);
    EXPECT_EQ(dialog->txtText->text(), "Track 1");
    dialog->txtText->setText("a:b/c?d");
    QTest::keyClick(dialog->txtText, Qt::Key_Return);
    QCoreApplication::processEvents();
    EXPECT_EQ(track(1)->strLabel, "abcd");
    EXPECT_TRUE(track(1)->blnLabelEdited);
    EXPECT_EQ(editor->list()->RowOf(1)->text(0), "abcd");
    EXPECT_TRUE(editor->cmdUndo->isEnabled());

    select(2);
    track(2)->blnZmodyfikowana = false;
    window->Menus().item("mnuTrack_Label")->trigger();
    frmLabel::Instance()->txtText->setText("changed");
    QTest::keyClick(frmLabel::Instance()->txtText, Qt::Key_Escape);
    QCoreApplication::processEvents();
    EXPECT_EQ(track(2)->strLabel, "Track 2");
    EXPECT_FALSE(track(2)->blnLabelEdited);
    EXPECT_FALSE(track(2)->blnZmodyfikowana);

    window->Menus().item("mnuTrack_Label")->trigger();
    frmLabel::Instance()->txtText->setText("");
    frmLabel::Instance()->close();
    QCoreApplication::processEvents();
    EXPECT_EQ(track(2)->strLabel, "");
    EXPECT_TRUE(track(2)->blnLabelEdited);
}

TEST_F(Commands, LegendShowsTheSurfaceColoursAndEscapeClosesIt) {
    window->Menus().item("mnu_Info_Legend")->trigger();
    QPointer<frmLegend> legend = frmLegend::Instance();
    ASSERT_TRUE(legend);
    QCoreApplication::processEvents();
    EXPECT_EQ(legend->windowTitle(), GetText(2557));
    // Fill and outline as drawn: the middle of each swatch and its edge.
    const struct {
        const char* name;
        QColor fill, outline;
    } swatches[] = {
        {"shpTrack(0)", QColor(0, 255, 255), QColor(0, 255, 255)},
        {"shpTrack(1)", QColor(0, 255, 0), QColor(0, 192, 0)},
        {"shpTrack(2)", QColor(255, 0, 0), QColor(240, 15, 0)},
        {"shpTrack(3)", QColor(255, 255, 0), QColor(255, 255, 0)},
        {"shpTrack(4)", QColor(0, 0, 255), QColor(0, 0, 255)},
        {"shpTrack(5)", QColor(255, 0, 255), QColor(255, 0, 255)},
    };
    for (const auto& s : swatches) {
        auto* sample = legend->findChild<QWidget*>(s.name);
        ASSERT_TRUE(sample) << s.name;
        const QImage image = sample->grab().toImage();
        EXPECT_EQ(image.pixelColor(image.rect().center()), s.fill) << s.name;
        EXPECT_EQ(image.pixelColor(0, 0), s.outline) << s.name;
        EXPECT_EQ(image.pixelColor(image.width() - 1, image.height() - 1), s.outline) << s.name;
    }
    for (const auto& [name, colour] : {std::pair{"Line1", QColor(0, 0, 255)}, std::pair{"Line2", QColor(255, 0, 255)}}) {
        auto* line = legend->findChild<QWidget*>(name);
        ASSERT_TRUE(line) << name;
        const QImage image = line->grab().toImage();
        EXPECT_EQ(image.pixelColor(1, image.height() / 2), colour) << name;
    }
    // The loop line is dashed: somewhere along it the background shows.
    const QImage loop = legend->findChild<QWidget*>("Line2")->grab().toImage();
    bool gap = false;
    for (int x = 0; x < loop.width(); ++x)
        gap = gap || loop.pixelColor(x, loop.height() / 2) != QColor(255, 0, 255);
    EXPECT_TRUE(gap);
    EXPECT_EQ(legend->findChild<QLabel*>("lblLegend(2)")->text(), CatalogText(2154));
    EXPECT_EQ(legend->findChild<QLabel*>("lblLegend(7)")->text(), CatalogText(2164));
    EXPECT_TRUE(legend->windowFlags() & Qt::WindowStaysOnTopHint);

    QTest::keyClick(legend, Qt::Key_Escape);
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(legend);
}

// Fault mended: properties, fade, the pencil button, the trash button with
// the start box selected and the double-clicks on a track's row and node were
// enabled and did nothing.
TEST_F(Commands, CommandsWithoutTheirWindowAreDisabledUntilItIsThere) {
    // The main window brings its fade editor; take it away for this test.
    commands->fadeEditors.create = nullptr;
    // The main window brings its track panel; take it away to see the
    // commands without it.
    auto windows = std::make_unique<test::FakeTrackWindows>();
    test::FakeTrackWindows& fake = *windows;
    QStringList& calls = fake.calls;
    fake.panelThere = false;
    editor->setTrackWindows(std::move(windows));
    select(2);
    EXPECT_FALSE(enabled("mnuTrack_Prop"));
    EXPECT_FALSE(button("cmdZmien")->isEnabled());
    EXPECT_FALSE(enabled("mnuTrack_Fade"));
    EXPECT_TRUE(button("cmdUsun")->isEnabled());
    // A double-click on a row or a track's node does nothing either.
    window->Menus().item("mnulvw")->trigger();
    QCoreApplication::processEvents();
    QTreeWidget* list = window->lvwNodes();
    select(1);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {},
                       list->visualItemRect(editor->list()->RowOf(3)).center());
    EXPECT_TRUE(calls.isEmpty());
    // The track panel and the fade editor arrive: the commands follow.
    fake.panelThere = true;
    commands->fadeEditors.create = [&](std::shared_ptr<cPozycjaMP3>, std::shared_ptr<cPozycjaMP3>) {
        calls << "fade";
        return new QWidget(window, Qt::Window);
    };
    // The advanced view hides these items and the pencil: back to the normal view.
    window->Menus().item("mnulvw")->trigger();
    select(2);
    EXPECT_TRUE(enabled("mnuTrack_Prop"));
    EXPECT_TRUE(enabled("mnuTrack_Fade"));
    QTest::mouseClick(button("cmdZmien"), Qt::LeftButton);
    window->Menus().item("mnuTrack_Fade")->trigger();
    window->Menus().item("mnulvw")->trigger();
    QCoreApplication::processEvents();
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {},
                       list->visualItemRect(editor->list()->RowOf(3)).center());
    EXPECT_EQ(calls, (QStringList{"properties 2", "fade", "properties 3", "preview"}));
    // Back on the start box: the pencil and the trash button are off again.
    editor->editor().SelectTrackBox(0, 1, 0, QPoint());
    EXPECT_FALSE(button("cmdZmien")->isEnabled());
    EXPECT_FALSE(button("cmdUsun")->isEnabled());
}

// Fault mended: the label dialog kept a deleted track and wrote into it on
// closing, and the list grew a row for it.
TEST_F(Commands, TheLabelDialogFollowsItsTrackByNumber) {
    select(2);
    window->Menus().item("mnuTrack_Label")->trigger();
    QPointer<frmLabel> dialog = frmLabel::Instance();
    ASSERT_TRUE(dialog);
    auto deleted = track(2);
    dialog->txtText->setText("ghost");
    commands->DeleteTrack(2);
    QCoreApplication::processEvents();
    EXPECT_FALSE(dialog); // closed with its track, nothing stored
    EXPECT_EQ(deleted->strLabel, "Track 2");
    EXPECT_EQ(window->lvwNodes()->topLevelItemCount(), 3);
    EXPECT_FALSE(editor->list()->RowOf(2));
    // An undo re-creates the track as a new object under its number; an open
    // dialog writes into that one.
    editor->cmdUndo_Click();
    ASSERT_TRUE(track(2));
    select(3);
    window->Menus().item("mnuTrack_Label")->trigger();
    dialog = frmLabel::Instance();
    auto before = track(3);
    auto again = std::make_shared<cPozycjaMP3>(*before);
    window->cPozycje()->Remove(ItemTracka(*window->cPozycje(), 3));
    window->cPozycje()->Add(again);
    editor->RebuildViews();
    ASSERT_TRUE(dialog);
    dialog->txtText->setText("fresh");
    QTest::keyClick(dialog->txtText, Qt::Key_Return);
    QCoreApplication::processEvents();
    EXPECT_EQ(again->strLabel, "fresh");
    EXPECT_EQ(before->strLabel, "Track 3");
    EXPECT_EQ(editor->list()->RowOf(3)->text(0), "fresh");
    EXPECT_EQ(window->lvwNodes()->topLevelItemCount(), 4);
    // Another project: the number may name another track there.
    select(1);
    window->Menus().item("mnuTrack_Label")->trigger();
    dialog = frmLabel::Instance();
    auto old = track(1);
    window->Projects().Tracks() = std::make_shared<cPozycjeMP3>();
    window->cPozycje()->Add(test::MakeTrackAt(1, 1500, 1500, 0, "Other"));
    window->DrawTrackGraph(false);
    QCoreApplication::processEvents();
    EXPECT_FALSE(dialog);
    EXPECT_EQ(track(1)->strLabel, "Other");
    EXPECT_EQ(old->strLabel, "Track 1");
}

// Fault mended: paste as new took its undo snapshot before the split dialog,
// also when the dialog refused, so the next undo visibly did nothing.
TEST_F(Commands, PasteAsNewTakesItsSnapshotOnlyWhenATrackIsAdded) {
    class RefusingSplitDialog : public SplitDialogLauncher {
    public:
        void PokazMnie(const SplitDialogRequest&) override { ++requests; } // no source open
        int requests = 0;
    } refusing;
    SetSplitDialogLauncher(&refusing);
    select(1);
    QTest::mouseClick(button("cmdCopy"), Qt::LeftButton);
    editor->ClearUndoHistory();
    QTest::mouseClick(button("cmdPaste(1)"), Qt::LeftButton);
    EXPECT_EQ(refusing.requests, 1);
    EXPECT_EQ(window->cPozycje()->Count(), 4);
    EXPECT_FALSE(editor->cmdUndo->isEnabled());
    EXPECT_EQ(editor->history().Count(), 0);

    InstantSplitDialog split(*window);
    SetSplitDialogLauncher(&split);
    track(1)->lngVolume = -300; // the snapshot holds the state just before the add
    QTest::mouseClick(button("cmdPaste(1)"), Qt::LeftButton);
    ASSERT_EQ(window->cPozycje()->Count(), 5);
    EXPECT_EQ(editor->history().Count(), 1);
    editor->cmdUndo_Click();
    EXPECT_EQ(window->cPozycje()->Count(), 4);
    EXPECT_EQ(track(1)->lngVolume, -300);
}

// Fault mended: after a deletion the information line still described the
// deleted track.
TEST_F(Commands, TheInformationLineForgetsADeletedTrack) {
    auto t = track(2);
    QMouseEvent over(QEvent::MouseMove, QPointF(TrackSurface::toPixels(QPoint(t->lngLeft, t->lngTop))),
                     QPointF(), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(editor->surface(), &over);
    ASSERT_TRUE(window->lblTrackInfo()->text().startsWith("Node no.: 2"));
    select(2);
    QTest::mouseClick(button("cmdUsun"), Qt::LeftButton);
    ASSERT_FALSE(track(2));
    EXPECT_TRUE(window->lblTrackInfo()->text().isEmpty());
}
