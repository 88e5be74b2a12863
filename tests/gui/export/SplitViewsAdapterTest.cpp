#include "core/export/SplitTestSupport.h"
#include "support/ProgramState.h"

#include "core/editor/GraphEditor.h"
#include "core/export/SplitTime.h"
#include "core/recording/RecorderHandOver.h"
#include "core/recording/RecorderView.h"
#include "core/recording/RecordingConfiguration.h"
#include "gui/editor/TreeNavigator.h"
#include "gui/editor/EditorController.h"
#include "gui/editor/TrackListNavigator.h"
#include "gui/export/SplitCommands.h"
#include "gui/export/SplitViewsAdapter.h"
#include "gui/export/SplitWindowCommands.h"
#include "gui/export/frmPozycje.h"
#include "gui/mainwindow/frmDazudizi.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QTreeWidget>

using namespace kelbrin;

namespace {

class SplitViewsAdapterTest : public test::SplitTest {
protected:
    void SetUp() override {
        SplitTest::SetUp();
        settings->values["AdvView"] = "1";
        window = new frmDazudizi(Program());
        window->setAttribute(Qt::WA_DeleteOnClose, false);
        window->PokazMnie();
        InstallSplitDialog(*window);
    }
    void TearDown() override {
        delete frmPozycje::Instance();
        delete window;
        SplitTest::TearDown();
    }
    frmDazudizi* window = nullptr;
};

} // namespace

// The main window with its graph editor, as the split dialog drives it.
TEST_F(SplitViewsAdapterTest, TheMainWindowShowsWhatASplitAdds) {
    SplitViewsParts views;
    views.window = window;
    views.editor = &window->Editor();
    QList<std::int32_t> nodes;
    views.addTreeNode = [&nodes](const cPozycjaMP3& t) { nodes << t.lngNrPozycji; };
    const auto splitHost = MakeSplitHost(views);
    EditorController& editor = window->Editor();

    const auto file = openCopy("cbr_noinfo.mp3", "song.mp3");
    EXPECT_FALSE(splitHost->LastListRowTrack());
    auto track = std::make_shared<cPozycjaMP3>();
    track->strFileNameSource = file->strFileName;
    SplitAtOnce(splitHost, track, true, QDateTime());

    ASSERT_EQ(window->cPozycje()->Count(), 1);
    EXPECT_EQ(window->lngSelectedTrack(), 1);
    EXPECT_EQ(editor.editor().lngSelectedTrack, 1);
    EXPECT_EQ(nodes, QList<std::int32_t>{1});
    ASSERT_EQ(window->lvwNodes()->topLevelItemCount(), 1);
    EXPECT_EQ(TrackListNavigator::RowTag(window->lvwNodes()->topLevelItem(0)), 1);
    EXPECT_EQ(window->lvwNodes()->topLevelItem(0)->text(0), "song");
    EXPECT_EQ(splitHost->LastListRowTrack(), 1);
    // The box stands beside the start box, which the editor keeps.
    const QRect start = editor.editor().startBox();
    EXPECT_EQ(track->lngLeft, start.left() + 500 + start.width() / 2);
    const SplitBox box = splitHost->BoxOf(1);
    EXPECT_EQ(box.left + box.width / 2, track->lngLeft);
}

TEST_F(SplitViewsAdapterTest, StartBoxDoubleClickAddsAndCloneContinuesThroughTheWindow) {
    const auto file = openCopy("cbr_noinfo.mp3", "base.mp3");
    EditorController& editor = window->Editor();
    editor.editor().rememberMouse(editor.editor().startCentre());
    editor.editor().doubleClick(); // on the start box
    frmPozycje* dialog = frmPozycje::Instance();
    ASSERT_TRUE(dialog);
    dialog->cboPlikD->setEditText("one.mp3");
    dialog->cmdOK_Click();
    ASSERT_EQ(window->cPozycje()->Count(), 1);
    const auto first = window->cPozycje()->Item(1);
    SetEndTime(*first, {0, 4, 250});
    EXPECT_TRUE(editor.history().CanUndo());

    editor.editor().Udostepniaj(1);
    ASSERT_TRUE(editor.controlEnabled("cmdCopy"));
    cmdKlon_Click(*window);
    ASSERT_EQ(window->cPozycje()->Count(), 2);
    const auto clone = window->cPozycje()->Item(2);
    EXPECT_EQ(clone->lngTrack, 1);
    EXPECT_EQ(StartTime(*clone), (TrackTime{0, 4, 250}));
    EXPECT_EQ(EndTime(*clone), SecondsToTrackTime(FullSourceLength(*file)));
    EXPECT_EQ(window->lvwNodes()->topLevelItemCount(), 2);
}

// Fault mended: a recording handed over as a track left the tree as it was:
// the start node showed no arrow to open until it was clicked.
TEST_F(SplitViewsAdapterTest, ARecordingHandedOverShowsUnderTheStartNode) {
    struct Host final : RecorderHost {
        explicit Host(frmDazudizi& w) : window(w) {}
        bool saveProject(const QString&) override { return true; }
        int tracksUsingSource(const QString& path) override {
            int n = 0;
            for (std::int32_t i = 1; i <= window.cPozycje()->Count(); ++i)
                n += window.cPozycje()->Item(i)->strFileNameSource == path;
            return n;
        }
        void endProgram(int) override {}
        void dropUnsavedChanges() override {}
        frmDazudizi& window;
    } recorderHost(*window);
    RecordingConfiguration recording;
    recording.RecordFolder = test::MakeTempDir("records") + "/";
    ASSERT_TRUE(QFile::copy(test::MediaFile("cbr_noinfo.mp3"), recording.RecordFolder + "take.mp3"));
    QTreeWidget* tree = window->tvwNodes();
    ASSERT_TRUE(tree && tree->topLevelItem(0) && tree->topLevelItem(0)->child(0));
    QTreeWidgetItem* start = tree->topLevelItem(0)->child(0);
    start->setExpanded(false);
    tree->setCurrentItem(tree->topLevelItem(0)); // the start node is not clicked again

    const QStringList handed = HandOverRecordings(recording, {"take.mp3"}, recorderHost, 85);
    ASSERT_EQ(handed.size(), 1);
    ASSERT_EQ(window->cPozycje()->Count(), 1);
    EXPECT_TRUE(start->childCount() > 0 || start->childIndicatorPolicy() == QTreeWidgetItem::ShowIndicator)
        << "no arrow to open the start node";
    start->setExpanded(true); // the arrow clicked
    ASSERT_EQ(start->childCount(), 1);
    EXPECT_EQ(start->child(0)->text(0), "take");
}
