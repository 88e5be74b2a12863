#include "core/export/SplitTestSupport.h"
#include "support/ProgramState.h"

#include "core/editor/GraphEditor.h"
#include "core/export/SplitTime.h"
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
