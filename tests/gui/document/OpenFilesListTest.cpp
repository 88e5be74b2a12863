#include "core/app/MessageService.h"
#include "core/app/ProgramObjects.h"
#include "support/ProgramState.h"
#include "core/app/TextCatalog.h"
#include "core/document/cPozycjaMP3.h"
#include "core/document/cPozycjeMP3.h"
#include "core/document/cPozycjePlikow.h"
#include "gui/app/ModalDriver.h"
#include "gui/app/QtMessageService.h"
#include "gui/document/frmPliki.h"
#include "platform/settings/MemorySettingsStore.h"
#include "support/ScriptedMessages.h"
#include "support/TestEnvironment.h"

#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include "support/BasicServices.h"

using namespace kelbrin;

namespace {

// The project's owner as the test keeps it: its tracks, the undo clears and
// the files given to the tag editor.
struct OwnerState {
    std::shared_ptr<cPozycjeMP3> tracks;
    int undoClears = 0;
    QStringList tagged;
    bool idle = true;
};

class FakeOpenFilesOwner final : public OpenFilesOwner {
public:
    explicit FakeOpenFilesOwner(OwnerState& state) : m_state(state) {}
    EditorSession& session() const override { return Program().session; }
    std::shared_ptr<cPozycjeMP3> tracks() const override { return m_state.tracks; }
    void clearUndoHistory() override { ++m_state.undoClears; }
    bool canOpenTagEditor() const override { return true; }
    void openTagEditor(std::shared_ptr<cPozycjaPlikow> f) override { m_state.tagged << f->strFileName; }
    bool canChangeFiles() const override { return m_state.idle; }

private:
    OwnerState& m_state;
};

class OpenFilesListTest : public ::testing::Test, protected test::BasicServices {
protected:
    void SetUp() override {
        test::ResetProgramObjects();
        Program().session.OpenFiles = std::make_shared<cPozycjePlikow>();
        owner.tracks = std::make_shared<cPozycjeMP3>();
    }
    void TearDown() override {
        delete window.data();
    }
    void open(const char* path, bool noSave = false) {
        auto f = std::make_shared<cPozycjaPlikow>();
        f->strFileName = path;
        f->blnNoSave = noSave;
        Program().session.OpenFiles->Add(f);
    }
    QStringList listed() const {
        QStringList texts;
        for (int i = 0; i < window->lstFile->count(); ++i)
            texts << window->lstFile->item(i)->text();
        return texts;
    }

    std::unique_ptr<OpenFilesOwner> services() { return std::make_unique<FakeOpenFilesOwner>(owner); }

    OwnerState owner;
    std::shared_ptr<cPozycjeMP3>& tracks = owner.tracks;
    int& undoClears = owner.undoClears;
    QStringList& tagged = owner.tagged;
    QPointer<frmPliki> window;
};

} // namespace

TEST_F(OpenFilesListTest, WithoutOpenFilesItOnlySaysSo) {
    EXPECT_EQ(frmPliki::PokazMnie(services()), nullptr);
    ASSERT_EQ(messages->shown.size(), 1);
    EXPECT_EQ(messages->shown[0].textNumber, 3014);
}

TEST_F(OpenFilesListTest, ListsFilesAndFollowsTheSelectionForTheTagButton) {
    open("/A.mp3");
    open("/B.wma", true);
    open("/C.mp3");
    window = frmPliki::PokazMnie(services());
    ASSERT_TRUE(window);
    EXPECT_EQ(listed(), (QStringList{"/A.mp3", "/B.wma", "/C.mp3"}));
    EXPECT_EQ(window->lstFile->currentRow(), 0);
    EXPECT_TRUE(window->cmdTAG->isEnabled());
    window->lstFile->setCurrentRow(1);
    EXPECT_FALSE(window->cmdTAG->isEnabled());
    window->lstFile_DblClick();
    EXPECT_TRUE(tagged.isEmpty());
    window->lstFile->setCurrentRow(2);
    window->lstFile_DblClick();
    EXPECT_EQ(tagged, QStringList{"/C.mp3"});
    EXPECT_EQ(frmPliki::PokazMnie(services()), window.data()); // one window only
}

TEST_F(OpenFilesListTest, ClosesOnlyFilesThatNoTrackUses) {
    open("/A.mp3");
    open("/B.mp3");
    open("/C.mp3");
    auto track = std::make_shared<cPozycjaMP3>();
    track->strFileNameSource = "/C.mp3";
    tracks->Add(track);
    window = frmPliki::PokazMnie(services());

    window->lstFile->setCurrentRow(1);
    messages->answers.enqueue(mb::No);
    window->cmdUsun_Click();
    EXPECT_EQ(Program().session.OpenFiles->Count(), 3);

    messages->answers.enqueue(mb::Yes);
    window->cmdUsun_Click();
    EXPECT_EQ(Program().session.OpenFiles->Count(), 2);
    EXPECT_EQ(Program().session.OpenFiles->Item(2)->strFileName, "/C.mp3");
    EXPECT_EQ(listed(), (QStringList{"/A.mp3", "/C.mp3"}));
    EXPECT_EQ(undoClears, 1);

    window->lstFile->setCurrentRow(1);
    messages->answers.enqueue(mb::Yes);
    window->cmdUsun_Click();
    EXPECT_EQ(messages->shown.last().textNumber, 3099);
    EXPECT_EQ(Program().session.OpenFiles->Count(), 2);
    EXPECT_EQ(undoClears, 1);
}

TEST_F(OpenFilesListTest, EnterClosesTheWindow) {
    open("/A.mp3");
    window = frmPliki::PokazMnie(services());
    window->lstFile->setFocus();
    QTest::keyClick(window->lstFile, Qt::Key_Return);
    QCoreApplication::processEvents();
    EXPECT_TRUE(!window || !window->isVisible());
}

// Fault mended: Enter pressed to answer a box closed the box on its press and
// this window on its release.
TEST_F(OpenFilesListTest, TheReleaseOfAnEnterThatAnsweredABoxLeavesTheWindowOpen) {
    open("/A.mp3");
    open("/B.mp3");
    auto scripted = SetMessageService(std::make_unique<QtMessageService>());
    window = frmPliki::PokazMnie(services());
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    test::WhenModal<QMessageBox>([](QMessageBox* box) { QTest::keyPress(box, Qt::Key_Return); });
    QTest::mouseClick(window->cmdUsun, Qt::LeftButton); // asks whether to close the file
    EXPECT_EQ(Program().session.OpenFiles->Count(), 1); // Enter said yes
    test::ExpectOnlyItsOwnKeyCloses(window.data(), Qt::Key_Return);
    SetMessageService(std::move(scripted));
}

TEST_F(OpenFilesListTest, NoFileIsClosedWhileALongOperationRuns) {
    open("/A.mp3");
    bool& idle = owner.idle;
    idle = false;
    window = frmPliki::PokazMnie(services());
    window->cmdUsun_Click();
    EXPECT_EQ(Program().session.OpenFiles->Count(), 1);
    ASSERT_EQ(messages->shown.size(), 1); // says why, asks nothing
    EXPECT_EQ(messages->shown[0].textNumber, 7180);
    messages->shown.clear();
    idle = true;
    messages->answers.enqueue(mb::Yes);
    window->cmdUsun_Click();
    EXPECT_EQ(Program().session.OpenFiles->Count(), 0);
}

TEST_F(OpenFilesListTest, DraggedToItsSmallestItKeepsRowsAndItsButtonsWholeAndApart) {
    open("/music/first.mp3");
    open("/music/second.mp3");
    window = frmPliki::PokazMnie(services());
    window->resize(40, 40);
    QCoreApplication::processEvents();
    const QRect inside = window->rect();
    QWidget* parts[] = {window->lstFile, window->cmdUsun, window->cmdTAG, window->cmdOK};
    for (QWidget* w : parts) {
        EXPECT_TRUE(inside.contains(w->geometry())) << w->objectName().toStdString();
        for (QWidget* other : parts) {
            if (other != w) {
                EXPECT_FALSE(w->geometry().intersects(other->geometry()))
                    << w->objectName().toStdString() << " over " << other->objectName().toStdString();
            }
        }
    }
    EXPECT_GE(window->lstFile->viewport()->height(), 2 * window->lstFile->sizeHintForRow(0));
}
