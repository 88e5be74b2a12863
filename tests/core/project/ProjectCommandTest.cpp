// New project, and the questions that guard an open project before another
// one replaces it.
#include "ProjectTestSupport.h"
#include "support/ProgramState.h"

#include "core/project/ProjectController.h"

#include <QFile>

using namespace kelbrin;
using namespace kelbrin::test;

namespace {

class ProjectCommand : public ProjectTest {
protected:
    void SetUp() override {
        ProjectTest::SetUp();
        controller = std::make_unique<ProjectController>(window);
        addSource(MediaFile("cbr_noinfo.mp3"), 4);
        auto t = std::make_shared<cPozycjaMP3>();
        t->lngNrPozycji = 1;
        t->strFileNameSource = MediaFile("cbr_noinfo.mp3");
        window.tracks->Add(t);
        window.selected = 1;
        window.clipboard = t;
        window.autosave = true;
        window.cloneEnabled = true;
        window.checkedItem = 3;
        Program().session.NextTrackNo = 9;
        Program().session.NextFileId = 5;
    }
    bool untouched() const {
        return window.tracks->Count() == 1 && Program().session.OpenFiles->Count() == 1;
    }

    FakeProjectWindow window;
    std::unique_ptr<ProjectController> controller;
};

} // namespace

TEST_F(ProjectCommand, NewAsksFirstAndResetsEverything) {
    messages->answers.enqueue(mb::Cancel);
    controller->NewProject();
    EXPECT_EQ(shownNumbers(), QList<int>{3008});
    EXPECT_EQ(messages->shown[0].style, mb::YesNoCancel);
    EXPECT_TRUE(untouched());

    // Yes, but the save dialog is cancelled: nothing changes either.
    messages->answers.enqueue(mb::Yes);
    controller->NewProject();
    EXPECT_EQ(window.fileDialogs.size(), 1);
    EXPECT_TRUE(untouched());

    messages->answers.enqueue(mb::No);
    controller->NewProject();
    EXPECT_EQ(window.tracks->Count(), 0);
    EXPECT_EQ(Program().session.OpenFiles->Count(), 0);
    EXPECT_EQ(window.selected, 0);
    EXPECT_FALSE(window.clipboard);
    EXPECT_EQ(window.undoClears, 1);
    EXPECT_EQ(window.previewReleases, 1);
    EXPECT_EQ(window.viewClears, 1);
    EXPECT_EQ(window.treeRebuilds, 1);
    EXPECT_EQ(window.checkedItem, 0);
    EXPECT_FALSE(window.cloneEnabled);
    EXPECT_FALSE(window.autosave);
    EXPECT_EQ(Program().session.NextTrackNo, 1);
    EXPECT_EQ(Program().session.NextFileId, 1);
    EXPECT_EQ(window.date, project_format::DateValue(QDate::currentDate()));
}

TEST_F(ProjectCommand, NewSavesWhenAskedAndRefusesWhileBusyOrPlaying) {
    window.playerIdle = false;
    controller->NewProject();
    EXPECT_EQ(shownNumbers(), QList<int>{3105});
    EXPECT_TRUE(untouched());

    window.playerIdle = true;
    window.ready = false;
    controller->NewProject(); // refused, and says why
    EXPECT_EQ(shownNumbers(), (QList<int>{3105, 7180}));
    EXPECT_TRUE(untouched());

    window.ready = true;
    messages->answers.enqueue(mb::Yes);
    window.fileAnswers.enqueue({dir + "/before new", 1});
    controller->NewProject();
    EXPECT_TRUE(QFile::exists(dir + "/before new.kbe"));
    EXPECT_EQ(window.tracks->Count(), 0);

    // With no open source file nothing is asked, even with tracks.
    messages->shown.clear();
    window.tracks->Add(std::make_shared<cPozycjaMP3>());
    controller->NewProject();
    EXPECT_TRUE(messages->shown.isEmpty());
    EXPECT_EQ(window.tracks->Count(), 0);
}

TEST_F(ProjectCommand, OpeningAnotherFileAsksToSaveFirst) {
    messages->answers.enqueue(mb::Cancel);
    controller->OpenProject();
    EXPECT_EQ(shownNumbers(), QList<int>{3008});
    EXPECT_TRUE(window.fileDialogs.isEmpty());

    messages->answers.enqueue(mb::No);
    controller->OpenScript(); // the open dialog is cancelled
    EXPECT_EQ(shownNumbers(), (QList<int>{3008, 3008}));
    ASSERT_EQ(window.fileDialogs.size(), 1);
    EXPECT_TRUE(window.fileDialogs[0].filter.contains("*.kbs"));
    EXPECT_EQ(window.fileDialogs[0].filter.section(QChar(0), 0, 0), GetText(3132));
    EXPECT_FALSE(window.fileDialogs[0].save);
    EXPECT_TRUE(untouched());

    // The chosen project opens and enters the recent list.
    const QString path = dir + "/chosen.kbe";
    window.fileAnswers.enqueue({path, 1});
    window.fileAnswers.enqueue({path, 1});
    bool keepName = false;
    ASSERT_TRUE(controller->Zapisz(false, keepName, QString()));
    store->values.remove("F1");
    messages->shown.clear();
    messages->answers.enqueue(mb::No);
    controller->OpenProject();
    EXPECT_EQ(shownNumbers(), QList<int>{3008});
    EXPECT_EQ(store->values.value("F1"), path);
    EXPECT_EQ(window.tracks->Count(), 1);
}
