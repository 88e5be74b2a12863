// The track tree in the main window: lazy filling, node clicks, the changes
// other commands make, and moving tracks by drag and drop.
#include "core/app/ProgramObjects.h"
#include "support/ProgramState.h"
#include "core/app/TextCatalog.h"
#include "core/document/cPozycjaPlikow.h"
#include "core/document/cPozycjeMP3.h"
#include "core/document/cPozycjePlikow.h"
#include "core/editor/SplitDialogLauncher.h"
#include "core/editor/TrackGraph.h"
#include "gui/export/frmPozycje.h"
#include "gui/editor/EditorController.h"
#include "gui/editor/TrackCommandSet.h"
#include "gui/editor/TrackSurface.h"
#include "gui/editor/TreeNavigator.h"
#include "gui/mainwindow/frmDazudizi.h"
#include "platform/settings/MemorySettingsStore.h"
#include "support/ScriptedMessages.h"
#include "support/TestEnvironment.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

using namespace kelbrin;

namespace {

// Paste as new through a split dialog that adds the track after the selected
// one at once, or (cancelling) adds nothing.
class FakeSplitDialog : public SplitDialogLauncher {
public:
    explicit FakeSplitDialog(frmDazudizi& w) : window(w) {}
    void PokazMnie(const SplitDialogRequest& r) override {
        ++requests;
        if (cancel || !r.newTrack)
            return;
        r.track->lngNrPozycji = Program().session.NextTrackNo++;
        r.track->lngTrack = window.Editor().editor().lngSelectedTrack;
        window.cPozycje()->Add(r.track);
        if (r.tracksAdded)
            r.tracksAdded({r.track->lngNrPozycji});
    }
    frmDazudizi& window;
    bool cancel = false;
    int requests = 0;
};

class Tree : public ::testing::Test {
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
        split = std::make_unique<FakeSplitDialog>(*window);
        SetSplitDialogLauncher(split.get());
        tree = &window->Tree();
    }
    void TearDown() override {
        SetSplitDialogLauncher(nullptr);
        delete window;
        SetMessageService(std::move(previous));
        SetSettingsStore(nullptr);
    }
    // start -> 1 -> 2 -> 3, start -> 5 (locked), and 4 detached.
    void chain() {
        add(1, 0);
        add(2, 1);
        add(3, 2);
        add(4, 4);
        add(5, 0)->blnZablokowany = true;
        Program().session.NextTrackNo = 6;
        window->DrawTrackGraph(true);
        tree->PokazMnieTvw();
    }
    std::shared_ptr<cPozycjaMP3> add(std::int32_t number, std::int32_t pred) {
        auto t = std::make_shared<cPozycjaMP3>();
        t->lngNrPozycji = number;
        t->lngLeft = 1500 * number;
        t->lngTop = 3000;
        t->lngTrack = pred;
        t->strLabel = QStringLiteral("Song");
        t->strFileNameSource = QStringLiteral("/m/song.mp3");
        window->cPozycje()->Add(t);
        return t;
    }
    QTreeWidgetItem* node(std::int32_t tag) { return tree->ZnajdzNoda(tag); }
    // The tags of a node's children, in order.
    QList<std::int32_t> children(std::int32_t tag) {
        QList<std::int32_t> tags;
        if (QTreeWidgetItem* n = node(tag))
            for (int i = 0; i < n->childCount(); ++i)
                tags << TreeNavigator::NodeTag(n->child(i));
        return tags;
    }
    void drag(std::int32_t from, std::int32_t onto) {
        tree->DragStart(node(from));
        tree->DragOver(node(onto));
        tree->Drop();
        tree->DragComplete();
    }
    std::int32_t selected() { return window->Editor().editor().lngSelectedTrack; }

    frmDazudizi* window = nullptr;
    TreeNavigator* tree = nullptr;
    std::unique_ptr<FakeSplitDialog> split;
    test::ScriptedMessages* messages = nullptr;
    std::unique_ptr<MessageService> previous;
};

} // namespace

TEST_F(Tree, AnEmptyProjectShowsTheRootWithTheStartUnderIt) {
    QTreeWidget* w = window->tvwNodes();
    ASSERT_EQ(w->topLevelItemCount(), 1);
    QTreeWidgetItem* root = w->topLevelItem(0);
    EXPECT_EQ(TreeNavigator::NodeKey(root), "P");
    EXPECT_EQ(TreeNavigator::NodeTag(root), -1);
    EXPECT_EQ(root->text(0), GetText(2001).remove('&'));
    EXPECT_EQ(TreeNavigator::NodeImageKey(root), "skool");
    ASSERT_EQ(root->childCount(), 1);
    EXPECT_EQ(TreeNavigator::NodeKey(root->child(0)), "S");
    EXPECT_EQ(TreeNavigator::NodeImageKey(root->child(0)), "start");
    EXPECT_EQ(w->currentItem(), root->child(0));
    EXPECT_TRUE(window->Menus().item("mnuView_Tree")->isChecked());
    EXPECT_FALSE(TreeNavigator::NodeImage("blok").isNull());
}

TEST_F(Tree, SuccessorsAppearOnlyWhenTheirPredecessorIsOpened) {
    chain();
    EXPECT_EQ(children(0), (QList<std::int32_t>{1, 5}));
    EXPECT_EQ(children(-1), (QList<std::int32_t>{0, 4})); // the detached track under the root
    EXPECT_EQ(node(1)->text(0), "Song");
    EXPECT_EQ(TreeNavigator::NodeKey(node(1)), "1N");
    EXPECT_EQ(TreeNavigator::NodeImageKey(node(1)), "stop");
    EXPECT_EQ(TreeNavigator::NodeImageKey(node(5)), "blok");
    EXPECT_FALSE(node(2));
    EXPECT_EQ(node(1)->childIndicatorPolicy(), QTreeWidgetItem::ShowIndicator);

    tree->tvwNodes_NodeClick(node(1));
    EXPECT_EQ(children(1), (QList<std::int32_t>{2}));
    EXPECT_FALSE(node(3));
    node(2)->setExpanded(true); // opening by the arrow fills it too
    EXPECT_EQ(children(2), (QList<std::int32_t>{3}));
    tree->tvwNodes_NodeClick(node(1)); // a second click adds nothing twice
    EXPECT_EQ(children(1), (QList<std::int32_t>{2}));
}

TEST_F(Tree, ANodeClickSelectsItsTrackAndGatesPasteAsNew) {
    chain();
    tree->tvwNodes_NodeClick(node(2 - 1));
    EXPECT_EQ(selected(), 1);
    EXPECT_EQ(window->lngSelectedTrack(), 1);
    EXPECT_FALSE(window->Editor().controlEnabled("cmdPaste(1)"));
    EXPECT_TRUE(window->Editor().controlEnabled("cmdCopy"));

    window->Commands().CopyToClipboard(1);
    tree->tvwNodes_NodeClick(node(4));
    EXPECT_EQ(selected(), 4);
    EXPECT_TRUE(window->Editor().controlEnabled("cmdPaste(1)"));

    tree->tvwNodes_NodeClick(node(-1));
    EXPECT_EQ(selected(), 0);
    EXPECT_EQ(window->lngSelectedTrack(), 0);
    EXPECT_FALSE(window->Editor().controlEnabled("cmdPaste(1)"));
    EXPECT_FALSE(window->Editor().controlEnabled("cmdCopy"));
}

TEST_F(Tree, ADraggedTrackMovesAfterTheTargetKeepingItsName) {
    chain();
    tree->tvwNodes_NodeClick(node(1));
    tree->tvwNodes_NodeClick(node(2));
    drag(3, 5);

    cPozycjeMP3& tracks = *window->cPozycje();
    EXPECT_FALSE(TrackByNumber(tracks, 3)); // the original went
    auto moved = TrackByNumber(tracks, 6);
    ASSERT_TRUE(moved);
    EXPECT_EQ(moved->strLabel, "Song"); // two other tracks share its source: still no "(n)"
    EXPECT_EQ(moved->lngTrack, 5);
    EXPECT_EQ(children(5), (QList<std::int32_t>{6}));
    EXPECT_FALSE(node(3));
    EXPECT_EQ(selected(), 5);
    EXPECT_FALSE(tree->WezelDrag);
}

TEST_F(Tree, AMoveThatIsNotPlacedLeavesTheTrackWhereItWas) {
    chain();
    split->cancel = true;
    drag(1, 4);
    EXPECT_EQ(split->requests, 1);
    auto original = TrackByNumber(*window->cPozycje(), 1);
    ASSERT_TRUE(original);
    EXPECT_EQ(original->lngTrack, 0);
    EXPECT_EQ(window->cPozycje()->Count(), 5);
    EXPECT_TRUE(window->CpozSchowek()); // still at hand for a paste
    EXPECT_TRUE(node(1));
    // No later name loses its number: a plain paste as new numbers the label.
    split->cancel = false;
    window->Commands().PasteAsNewTrack({});
    auto pasted = TrackByNumber(*window->cPozycje(), 6);
    ASSERT_TRUE(pasted);
    EXPECT_NE(pasted->strLabel, original->strLabel);
    split->cancel = true;

    // Without a split dialog at all, nothing is lost either.
    SetSplitDialogLauncher(nullptr);
    drag(1, 4);
    EXPECT_TRUE(TrackByNumber(*window->cPozycje(), 1));
}

TEST_F(Tree, DragsThatCannotMoveATrackDoNothing) {
    chain();
    drag(-1, 4); // the root
    drag(0, 4);  // the start
    drag(4, 4);  // onto itself
    tree->Upusc(4); // no drag going on
    EXPECT_EQ(split->requests, 0);
    EXPECT_EQ(window->cPozycje()->Count(), 5);
    EXPECT_FALSE(window->CpozSchowek());
}

TEST_F(Tree, ANodeDroppedOnABoxMovesItsTrackThere) {
    chain();
    auto target = TrackByNumber(*window->cPozycje(), 5);
    tree->DragStart(node(4));
    tree->SurfaceDrop(QPoint(target->lngLeft, target->lngTop));
    tree->DragComplete();
    EXPECT_FALSE(TrackByNumber(*window->cPozycje(), 4));
    ASSERT_TRUE(TrackByNumber(*window->cPozycje(), 6));
    EXPECT_EQ(TrackByNumber(*window->cPozycje(), 6)->lngTrack, 5);
}

TEST_F(Tree, ATrackAddedThroughTheAddButtonShowsUnderItsPredecessorAtOnce) {
    SetSplitDialogLauncher(nullptr);
    Program().session.OpenFiles = std::make_shared<cPozycjePlikow>();
    const QString path = test::MakeTempDir("tree") + "/song.mp3";
    ASSERT_TRUE(QFile::copy(test::MediaFile("cbr_noinfo.mp3"), path));
    auto file = std::make_shared<cPozycjaPlikow>();
    file->strFileName = path;
    bool index = false;
    QString folder;
    ASSERT_EQ(window->OpenSourceFile(file, index, true, QString(), nullptr, false, true, folder, 1), path);

    window->cmdDodaj_Click(); // the start node is selected
    ASSERT_TRUE(frmPozycje::Instance());
    EXPECT_FALSE(window->cmdDodaj()->isEnabled());
    frmPozycje::Instance()->cmdOK_Click();
    ASSERT_EQ(window->cPozycje()->Count(), 1);
    EXPECT_EQ(children(0), QList<std::int32_t>{window->cPozycje()->Item(1)->lngNrPozycji});
    if (frmPozycje::Instance())
        delete frmPozycje::Instance();
}

TEST_F(Tree, DeletionAndRelinkingKeepTheTreeTrue) {
    chain();
    tree->tvwNodes_NodeClick(node(1));
    tree->tvwNodes_NodeClick(node(2));
    window->Commands().DeleteTrack(2); // 3 now follows 1
    EXPECT_FALSE(node(2));
    EXPECT_EQ(children(1), (QList<std::int32_t>{3}));

    // Connecting 3 to the start: its node moves under the start.
    TrackByNumber(*window->cPozycje(), 3)->lngTrack = 0;
    tree->TrackRelinked(3);
    EXPECT_EQ(children(0), (QList<std::int32_t>{1, 5, 3}));
    EXPECT_TRUE(children(1).isEmpty());
    // A link into its own branch closes a ring: its first track stands under
    // the root, the other follows it, and opening them ends.
    tree->tvwNodes_NodeClick(node(3));
    TrackByNumber(*window->cPozycje(), 4)->lngTrack = 3;
    tree->TrackRelinked(4);
    EXPECT_EQ(children(3), QList<std::int32_t>{4});
    TrackByNumber(*window->cPozycje(), 3)->lngTrack = 4;
    tree->TrackRelinked(3);
    EXPECT_EQ(children(0), (QList<std::int32_t>{1, 5}));
    EXPECT_EQ(children(-1), (QList<std::int32_t>{0, 3}));
    tree->tvwNodes_NodeClick(node(3));
    tree->tvwNodes_NodeClick(node(4));
    EXPECT_EQ(children(3), QList<std::int32_t>{4});
    EXPECT_TRUE(children(4).isEmpty());
    // So does a track whose predecessor no track has.
    add(6, 9);
    window->Editor().RebuildViews();
    EXPECT_EQ(children(-1), (QList<std::int32_t>{0, 3, 6}));

    // A label and a lock show at once.
    auto t = TrackByNumber(*window->cPozycje(), 1);
    t->strLabel = "Intro";
    t->blnZablokowany = true;
    tree->TrackChanged(1);
    EXPECT_EQ(node(1)->text(0), "Intro");
    EXPECT_EQ(TreeNavigator::NodeImageKey(node(1)), "blok");
    t->blnZablokowany = false;
    tree->TrackChanged(1);
    EXPECT_EQ(TreeNavigator::NodeImageKey(node(1)), "stop");
}

TEST_F(Tree, ARefreshKeepsWhatWasOpenAndTheSelection) {
    chain();
    tree->tvwNodes_NodeClick(node(1));
    tree->tvwNodes_NodeClick(node(2));
    tree->SetRootText("Album");
    window->Editor().RebuildViews();
    EXPECT_EQ(children(2), (QList<std::int32_t>{3}));
    EXPECT_TRUE(node(2)->isExpanded());
    EXPECT_EQ(window->tvwNodes()->topLevelItem(0)->text(0), "Album");
    EXPECT_EQ(TreeNavigator::NodeTag(window->tvwNodes()->currentItem()), 2);
    EXPECT_EQ(selected(), 2);
}

TEST_F(Tree, TheKeypadPlusAddsATrackOnlyWhileAddingIsPossible) {
    struct AddButton : TrackAddButton {
        int added = 0;
        bool enabled = false;
        bool AddEnabled() const override { return enabled; }
        void AddTrack() override { ++added; }
    } button;
    int& added = button.added;
    bool& enabled = button.enabled;
    tree->setAddButton(&button);
    tree->KeyUp(Qt::Key_Plus, Qt::KeypadModifier);
    enabled = true;
    tree->KeyUp(Qt::Key_Plus, Qt::NoModifier); // the plus of the main keys is not it
    EXPECT_EQ(added, 0);
    tree->KeyUp(Qt::Key_Plus, Qt::KeypadModifier);
    EXPECT_EQ(added, 1);
}

TEST_F(Tree, TheInformationLineDescribesTheTrack) {
    cPozycjaMP3 t;
    t.blnJednostka = true;
    t.lngPoczatek_M = 1;
    t.lngPoczatek_S = 5;
    t.lngKoniec_M = 12;
    t.lngKoniec_S = 30;
    t.lngVolume = -500;
    t.lngBalance = 200;
    t.sngRate = 1.25f;
    t.lngLoopTrack = 3;
    t.lngLoopCount = 2;
    t.strFileName = "out.mp3";
    EXPECT_EQ(TreeNavigator::InfoText(t),
              GetText(3139, "|1", "1:5", "|2", "12:30") + " " + GetText(3032) + ", " +
                  GetText(2168, "|1", "9500") + ", " + GetText(2159) + ": 200, " + GetText(2160) +
                  ": 125%, " + GetText(3142, "|1", "3", "|2", "2") + ", " + GetText(2127, "|1", "out.mp3"));
    t.blnJednostka = false;
    t.lngRamkaOd = 10;
    t.lngRamkaDo = 90;
    t.lngLoopTrack = -1;
    EXPECT_TRUE(TreeNavigator::InfoText(t).startsWith(GetText(3139, "|1", "10", "|2", "90") + ", "));
    EXPECT_FALSE(TreeNavigator::InfoText(t).contains(GetText(3032)));
}

TEST_F(Tree, ATreeThatDoesNotWorkRefusesTheViewItem) {
    tree->treeWorks = false;
    tree->mnuView_Tree_Click();
    ASSERT_EQ(messages->shown.size(), 1);
    EXPECT_EQ(messages->shown[0].textNumber, 3173);
    EXPECT_TRUE(window->Menus().item("mnuView_Tree")->isChecked());
}
TEST_F(Tree, ARelinkedClosedNodeCanBeOpenedAndADeletedTrackLeavesNoHighlight) {
    chain();
    tree->tvwNodes_NodeClick(node(1));
    tree->tvwNodes_NodeClick(node(2));
    ASSERT_EQ(TreeNavigator::NodeTag(window->tvwNodes()->currentItem()), 2);
    QTest::mouseClick(window->Commands().button("cmdUsun"), Qt::LeftButton);
    EXPECT_FALSE(node(2));
    EXPECT_EQ(selected(), 0);
    // The start is highlighted, as on the surface, not the track taking 2's row.
    EXPECT_EQ(TreeNavigator::NodeTag(window->tvwNodes()->currentItem()), 0);
    for (QTreeWidgetItem* item : window->tvwNodes()->selectedItems())
        EXPECT_EQ(TreeNavigator::NodeTag(item), 0);

    // The locked 5 was opened once with nothing under it, then closed; the
    // detached 4 linked to it gives it a successor it can open.
    tree->tvwNodes_NodeClick(node(5));
    node(5)->setExpanded(false);
    TrackByNumber(*window->cPozycje(), 4)->lngTrack = 5;
    tree->TrackRelinked(4);
    EXPECT_EQ(node(5)->childIndicatorPolicy(), QTreeWidgetItem::ShowIndicator);
    tree->tvwNodes_NodeClick(node(5));
    EXPECT_EQ(children(5), QList<std::int32_t>{4});
}

TEST_F(Tree, TheNamesOfADeepChainShowWholeAndTheTreeScrollsToThem) {
    for (std::int32_t n = 1; n <= 8; ++n)
        add(n, n - 1)->strLabel = QStringLiteral("Evening news, part %1").arg(n);
    window->DrawTrackGraph(true);
    tree->PokazMnieTvw();
    for (std::int32_t n = 1; n <= 8; ++n)
        tree->tvwNodes_NodeClick(node(n));
    QTreeWidget* w = window->tvwNodes();
    QCoreApplication::processEvents();
    // The width the widest node needs, indentation and picture included.
    const int needed = static_cast<QAbstractItemView*>(w)->sizeHintForColumn(0);
    ASSERT_GT(needed, w->viewport()->width()) << "the deepest names reach past the tree";
    EXPECT_GE(w->columnWidth(0), needed) << "no name is cut short";
    EXPECT_GE(w->horizontalScrollBar()->maximum() + w->viewport()->width(), needed);
}

// Fault mended: a node clicked while a relink waited made its track the one
// the link was for: the next box clicked relinked that track instead, and the
// track whose line was taken kept its line but had left its predecessor's
// successor list, so the player no longer went on to it.
TEST_F(Tree, ANodeClickedWhileARelinkWaitsLeavesTheLinkToTheTrackWhoseLineWasTaken) {
    chain();
    QWidget* surface = window->Editor().surface();
    GraphEditor& editor = window->Editor().editor();
    auto at = [&](std::int32_t n) { return TrackSurface::toPixels(editor.boxRect(n).center()); };
    // The line from 3 back to 2, taken by a click halfway.
    QTest::mouseClick(surface, Qt::LeftButton, {}, (at(2) + at(3)) / 2);
    ASSERT_TRUE(editor.linkMode());
    QTreeWidget* w = window->tvwNodes();
    QTest::mouseClick(w->viewport(), Qt::LeftButton, {}, w->visualItemRect(node(1)).center());
    EXPECT_EQ(selected(), 1) << "the node still selects its track";
    QTest::mouseClick(surface, Qt::LeftButton, {}, at(5));

    cPozycjeMP3& tracks = *window->cPozycje();
    EXPECT_EQ(TrackByNumber(tracks, 3)->lngTrack, 5);
    EXPECT_EQ(TrackByNumber(tracks, 1)->lngTrack, 0);
    auto numbers = [&](std::int32_t n) {
        QList<std::int32_t> out;
        for (std::int32_t p : TrackByNumber(tracks, n)->colNastepnik)
            out << tracks.Item(p)->lngNrPozycji;
        return out;
    };
    EXPECT_EQ(numbers(5), QList<std::int32_t>{3});
    EXPECT_TRUE(numbers(2).isEmpty());
    EXPECT_EQ(numbers(1), QList<std::int32_t>{2});
}
