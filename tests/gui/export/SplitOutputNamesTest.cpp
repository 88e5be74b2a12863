// Tracks made through the split dialog and then exported one file per track:
// every track gets a file of its own, whether the tracks were made in the same
// second or are the pieces of one split.
#include "core/app/ProgramObjects.h"
#include "support/ProgramState.h"
#include "core/export/SplitTestSupport.h"

#include "core/export/SaveEngine.h"
#include "core/export/SaveRequest.h"
#include "core/app/PathProcedures.h"
#include "gui/export/frmPozycje.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QRadioButton>

using namespace kelbrin;

namespace {

class SplitOutputNamesTest : public test::SplitTest {
protected:
    void TearDown() override {
        if (frmPozycje::Instance())
            delete frmPozycje::Instance();
        SplitTest::TearDown();
    }
    // The dialog for a new track, opened at the same moment every time.
    frmPozycje* show() {
        SplitOpenOptions o;
        o.newTrack = true;
        o.date = QDateTime(QDate(2026, 12, 8), QTime(2, 43, 37));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); // the last one
        return frmPozycje::PokazMnie(host, std::make_shared<cPozycjaMP3>(), o);
    }
    QStringList names() const {
        QStringList list;
        for (std::int32_t i = 1; i <= host->tracks->Count(); ++i)
            list << host->tracks->Item(i)->strFileName;
        return list;
    }
    // Every track saved as a file of its own; the replace question is answered No.
    QStringList exportAll() {
        SaveRequest r;
        r.openFiles = Program().session.OpenFiles;
        r.destFolder = test::MakeTempDir("names-out");
        for (std::int32_t i = 1; i <= host->tracks->Count(); ++i)
            r.pieces.append(ExportPieceFromTrack(*host->tracks->Item(i)));
        for (int i = 0; i < r.pieces.size(); ++i)
            messages->answers << mb::No;
        messages->shown.clear();
        EXPECT_EQ(RunExport(r).status, SaveStatus::Finished);
        EXPECT_TRUE(shownNumbers().isEmpty()) << "asked to replace an output of the same run";
        return QDir(r.destFolder).entryList(QDir::Files);
    }
};

} // namespace

TEST_F(SplitOutputNamesTest, TracksMadeInOneSecondAndPiecesOfOneSplitEachWriteTheirOwnFile) {
    const auto file = openCopy("cbr_noinfo.mp3", "talk.mp3");
    // Three tracks made within one second: the dialog proposes the same stamp.
    for (int i = 0; i < 3; ++i) {
        frmPozycje* w = show();
        ASSERT_TRUE(w);
        w->cmdOK_Click();
    }
    EXPECT_EQ(names(), (QStringList{"20261208__02_43_37.mp3", "20261208__02_43_37-2.mp3",
                                    "20261208__02_43_37-3.mp3"}));

    // A segment list split with a typed name: the first piece keeps it, the
    // others are counted on, past the names the project already has.
    test::WriteFile(StripExtension(file->strFileName) + ".tim", "\r\n1\r\n-3\r\n4\r\n-6\r\n7\r\n-9");
    frmPozycje* w = show();
    ASSERT_TRUE(w);
    w->cboPlikD->setEditText("Talk.mp3");
    w->optDest[2]->setChecked(true);
    host->tracks->Item(1)->strFileName = "talk-2.mp3";
    w->cmdOK_Click();
    ASSERT_EQ(host->tracks->Count(), 6);
    EXPECT_EQ(names().mid(3), (QStringList{"Talk.mp3", "Talk-3.mp3", "Talk-4.mp3"}));
    EXPECT_EQ(host->tracks->Item(5)->strTitle, "Talk-3");

    const QStringList written = exportAll();
    EXPECT_EQ(written.size(), 6) << written.join(' ').toStdString();
}
