#include "core/export/SplitTestSupport.h"
#include "support/ProgramState.h"

#include "core/app/PathProcedures.h"
#include "core/export/SplitSource.h"
#include "core/export/SplitTime.h"
#include "gui/export/SplitCommands.h"
#include "gui/export/SplitLauncher.h"
#include "gui/export/frmPozycje.h"
#include "gui/app/ModalDriver.h"
#include "support/TextFit.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using namespace kelbrin;

namespace {

class SplitDialogTest : public test::SplitTest {
protected:
    void TearDown() override {
        if (frmPozycje::Instance())
            delete frmPozycje::Instance();
        QLocale::setDefault(QLocale::system());
        SplitTest::TearDown();
    }
    frmPozycje* show(std::shared_ptr<cPozycjaMP3> track, bool newTrack = true) {
        SplitOpenOptions o;
        o.newTrack = newTrack;
        o.date = QDateTime(QDate(2026, 12, 8), QTime(2, 43, 37));
        return frmPozycje::PokazMnie(host, std::move(track), o);
    }
    bool closed() {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return frmPozycje::Instance() == nullptr;
    }
    void pick(frmPozycje* w, const QString& source) {
        w->cboPlikZ->setCurrentIndex(w->cboPlikZ->findText(source));
        w->cboPlikZ_Click();
    }
};

} // namespace

TEST_F(SplitDialogTest, AddTrackWithoutSourcesAsksForOneAndRemembersTheChoices) {
    QLocale::setDefault(QLocale(QLocale::Polish, QLocale::Poland));
    settings->values["LMinDiv"] = "2.5";
    const QString path = test::MakeTempDir("add") + "/first.mp3";
    ASSERT_TRUE(QFile::copy(test::MediaFile("vbr_xing.mp3"), path));
    host->dialogChoice = path;
    AddTrackThroughSplit(host, nullptr);
    frmPozycje* w = frmPozycje::Instance();
    ASSERT_TRUE(w);
    EXPECT_EQ(host->openCalls, QStringList{""}); // the open dialog, since nothing was open
    EXPECT_EQ(host->addButton, QList<bool>{false});
    EXPECT_EQ(w->cboPlikZ->currentText(), path);
    EXPECT_EQ(w->chkVBR->isChecked(), FindOpenFile(Program().session, path)->blnVBR);
    EXPECT_EQ(w->txtMin->text(), "2,5");
    EXPECT_FALSE(w->optDest[2]->isEnabled());

    w->optDest[1]->setChecked(true);
    EXPECT_TRUE(w->txtMin->isEnabled());
    EXPECT_FALSE(w->cboPlikD->isEnabled());
    w->cmdAnuluj_Click();
    EXPECT_TRUE(closed());
    EXPECT_EQ(host->addButton.last(), true);
    EXPECT_EQ(settings->values.value("OpenType"), "1");
    EXPECT_EQ(settings->values.value("LMinDiv"), "2.5");
    EXPECT_EQ(host->tracks->Count(), 0);
}

TEST_F(SplitDialogTest, ManualOkMakesTheTrackAndClosesRefusalsKeepItOpen) {
    const auto file = openCopy("cbr_noinfo.mp3", "song.mp3");
    frmPozycje* w = show(std::make_shared<cPozycjaMP3>());
    ASSERT_TRUE(w);
    EXPECT_EQ(w->cboPlikZ->currentText(), file->strFileName);
    EXPECT_EQ(w->cboPlikD->currentText(), "20261208__02_43_37.mp3");

    w->cboPlikD->setEditText("sub/dir.mp3");
    w->cmdOK_Click();
    EXPECT_EQ(shownNumbers(), QList<int>{3005});
    EXPECT_FALSE(closed());

    w->cboPlikD->setEditText("piece.MP3");
    w->cboPlikD_GotFocus();
    EXPECT_EQ(w->cboPlikD->lineEdit()->cursorPosition(), 5);
    w->cmdOK_Click();
    ASSERT_EQ(host->tracks->Count(), 1);
    const auto track = host->tracks->Item(1);
    EXPECT_EQ(track->strFileName, "piece.MP3");
    EXPECT_EQ(EndTime(*track), SecondsToTrackTime(SourceDuration(*file)));
    EXPECT_EQ(host->panel, QList<std::shared_ptr<cPozycjaMP3>>{track});
    EXPECT_EQ(host->copyEnabled, 1);
    EXPECT_EQ(host->undoSnapshots, 1);
    EXPECT_TRUE(closed());
}

TEST_F(SplitDialogTest, EveryNMinutesChecksItsNumbersBeforeCutting) {
    const auto file = openCopy("cbr_noinfo.mp3");
    frmPozycje* w = show(std::make_shared<cPozycjaMP3>());
    w->optDest[1]->setChecked(true);
    w->txtMin->setText("0");
    EXPECT_FALSE(w->txtMin_Validate());
    w->cmdOK_Click();
    w->txtMin->setText("0,05");
    EXPECT_TRUE(w->txtMin_Validate());
    w->txtOverlap->setText("5");
    w->cmdOK_Click();
    EXPECT_EQ(shownNumbers(), (QList<int>{3681, 3689}));
    EXPECT_EQ(host->tracks->Count(), 0);

    w->txtOverlap->setText("  ");
    EXPECT_TRUE(w->txtOverlap_Validate());
    EXPECT_EQ(w->txtOverlap->text(), "0");
    w->cmdOK_Click();
    EXPECT_EQ(host->tracks->Count(), 4); // 3 s pieces of a 10 s source
    EXPECT_EQ(StartTime(*host->tracks->Item(2)), EndTime(*host->tracks->Item(1)));
    EXPECT_TRUE(closed());
    EXPECT_EQ(settings->values.value("LMinDiv"), "0.05");
}

TEST_F(SplitDialogTest, TheNumberBoxesTakeAPointOrACommaAndShowTheSeparatorInUse) {
    const auto file = openCopy("cbr_noinfo.mp3");
    const auto typeInto = [](QLineEdit* box, const QString& keys) {
        box->setFocus();
        box->selectAll();
        QTest::keyClick(box, Qt::Key_Delete);
        QTest::keyClicks(box, keys);
    };
    // English: "." is the separator; a "," typed for it shows as "." too.
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    settings->values["LMinDiv"] = "2,5"; // as an older run left it
    frmPozycje* w = show(std::make_shared<cPozycjaMP3>());
    EXPECT_EQ(w->txtMin->text(), "2.5");
    w->optDest[1]->setChecked(true);
    typeInto(w->txtMin, "0.05");
    EXPECT_EQ(w->txtMin->text(), "0.05");
    typeInto(w->txtOverlap, "0,5.");
    EXPECT_EQ(w->txtOverlap->text(), "0.5");
    w->txtOverlap->setText("1.5x"); // pasted
    Q_EMIT w->txtOverlap->textEdited(w->txtOverlap->text());
    EXPECT_EQ(w->txtOverlap->text(), "1.5");
    typeInto(w->txtOverlap, "0");
    w->cmdOK_Click();
    EXPECT_EQ(host->tracks->Count(), 4); // 3 s pieces of a 10 s source
    EXPECT_TRUE(closed());
    EXPECT_EQ(settings->values.value("LMinDiv"), "0.05");

    // Polish: "," is shown, a typed "." becomes it; the setting keeps ".".
    QLocale::setDefault(QLocale(QLocale::Polish, QLocale::Poland));
    w = show(std::make_shared<cPozycjaMP3>());
    EXPECT_EQ(w->txtMin->text(), "0,05");
    w->optDest[1]->setChecked(true);
    typeInto(w->txtMin, "2.5");
    EXPECT_EQ(w->txtMin->text(), "2,5");
    w->cmdAnuluj_Click();
    EXPECT_TRUE(closed());
    EXPECT_EQ(settings->values.value("LMinDiv"), "2.5");
}

TEST_F(SplitDialogTest, SegmentListAndCueSheetBesideTheSource) {
    const auto file = openCopy("cbr_noinfo.mp3", "talk.mp3");
    const QString base = StripExtension(file->strFileName);
    test::WriteFile(base + ".tim", "\r\n2\r\n-4\r\n6\r\n-9");
    frmPozycje* w = show(std::make_shared<cPozycjaMP3>());
    EXPECT_TRUE(w->optDest[2]->isEnabled());
    w->optDest[3]->setChecked(true);
    EXPECT_EQ(w->txtCueFile->text(), base + ".cue");
    w->cmdOK_Click();
    EXPECT_EQ(shownNumbers(), QList<int>{3242}); // no sheet there yet

    test::WriteFile(base + ".cue", "TRACK 01 AUDIO\r\nINDEX 01 00:00:80\r\n");
    w->cmdOK_Click();
    EXPECT_EQ(shownNumbers(), (QList<int>{3242, 3684, 3682}));
    EXPECT_EQ(host->tracks->Count(), 0);
    EXPECT_FALSE(closed());

    test::WriteFile(base + ".cue", "TRACK 01 AUDIO\r\nTITLE A\r\nINDEX 01 00:00:00\r\n"
                                   "TRACK 02 AUDIO\r\nTITLE B\r\nINDEX 01 00:05:00");
    w->cmdOK_Click();
    ASSERT_EQ(host->tracks->Count(), 2);
    EXPECT_EQ(host->tracks->Item(1)->strLabel, "A"); // in the sheet's order
    EXPECT_EQ(host->tracks->Item(2)->strLabel, "B");
    EXPECT_TRUE(closed());

    w = show(std::make_shared<cPozycjaMP3>());
    w->optDest[2]->setChecked(true);
    w->cmdOK_Click();
    ASSERT_EQ(host->tracks->Count(), 4);
    EXPECT_EQ(StartTime(*host->tracks->Item(4)), (TrackTime{0, 6, 0}));
    EXPECT_EQ(EndTime(*host->tracks->Item(4)), (TrackTime{0, 9, 0}));
    EXPECT_EQ(settings->values.value("OpenType"), "2");
}

// Fault mended: a segment list that outlasts its source (the file was cut
// since) made tracks of audio that is not there, ending or lying wholly past
// the source's end.
TEST_F(SplitDialogTest, SegmentListPiecesStopAtTheEndOfTheSource) {
    const auto file = openCopy("cbr_noinfo.mp3", "cut.mp3"); // about 10 seconds
    test::WriteFile(StripExtension(file->strFileName) + ".tim", "\r\n2\r\n-5\r\n7\r\n-40\r\n50\r\n-60");
    frmPozycje* w = show(std::make_shared<cPozycjaMP3>());
    w->optDest[2]->setChecked(true);
    QTest::mouseClick(w->cmdOK, Qt::LeftButton);
    EXPECT_EQ(shownNumbers(), QList<int>{7344});
    EXPECT_TRUE(messages->shown.value(0).text.endsWith(": 50-60"));
    ASSERT_EQ(host->tracks->Count(), 2);
    EXPECT_EQ(StartTime(*host->tracks->Item(2)), (TrackTime{0, 7, 0}));
    EXPECT_EQ(EndTime(*host->tracks->Item(2)), SecondsToTrackTime(SourceDuration(*file)));
}

// Fault mended: a pair of the list that ends before it starts (a list edited
// by hand, or damaged) made no track and said nothing, so the user never knew
// a segment was missing. A pair within one second is only left out.
TEST_F(SplitDialogTest, SegmentListPairsThatEndBeforeTheyStartAreNamedByTheirLine) {
    const auto file = openCopy("cbr_noinfo.mp3", "edited.mp3");
    test::WriteFile(StripExtension(file->strFileName) + ".tim",
                    "\r\n2\r\n-5\r\nnoise\r\n8\r\n-6\r\n7\r\n-7\r\n6\r\n-9");
    frmPozycje* w = show(std::make_shared<cPozycjaMP3>());
    w->optDest[2]->setChecked(true);
    QTest::mouseClick(w->cmdOK, Qt::LeftButton);
    ASSERT_EQ(shownNumbers(), QList<int>{7430});
    const QString text = messages->shown.value(0).text;
    EXPECT_TRUE(text.contains("edited.tim") && text.endsWith(": 5 (8-6)")) << text.toStdString();
    ASSERT_EQ(host->tracks->Count(), 2);
    EXPECT_EQ(StartTime(*host->tracks->Item(2)), (TrackTime{0, 6, 0}));
    EXPECT_TRUE(closed());
}

// Fault mended: a sheet saved as UTF-16 behind its byte-order mark (the
// "Unicode" sheets of CD rippers) was read byte by byte and said to hold no
// track.
TEST_F(SplitDialogTest, CueSheetsBehindAByteOrderMarkAreRead) {
    const auto file = openCopy("cbr_noinfo.mp3", "album.mp3");
    const QString base = StripExtension(file->strFileName);
    const QString text = QStringLiteral("TITLE \"Płyta\"\r\nFILE \"album.mp3\" MP3\r\n"
                                        "  TRACK 01 AUDIO\r\n    TITLE \"Źródło\"\r\n    INDEX 01 00:00:00\r\n"
                                        "  TRACK 02 AUDIO\r\n    TITLE \"Koniec\"\r\n    INDEX 01 00:03:00\r\n");
    QByteArray utf16("\xFF\xFE");
    for (const QChar c : text) {
        utf16 += char(c.unicode() & 0xFF);
        utf16 += char(c.unicode() >> 8);
    }
    test::WriteFile(base + ".cue", utf16);
    frmPozycje* w = show(std::make_shared<cPozycjaMP3>());
    w->optDest[3]->setChecked(true);
    QTest::mouseClick(w->cmdOK, Qt::LeftButton);
    EXPECT_EQ(shownNumbers(), QList<int>{});
    ASSERT_EQ(host->tracks->Count(), 2);
    EXPECT_EQ(host->tracks->Item(1)->strTitle, QStringLiteral("Źródło"));
    EXPECT_EQ(StartTime(*host->tracks->Item(2)), (TrackTime{0, 3, 0}));
    EXPECT_TRUE(closed());
}

// Fault mended: a damaged sheet of a few megabytes named every one of its
// skipped blocks in one box, which took minutes to lay out while the program
// stood still.
TEST_F(SplitDialogTest, AHugeDamagedCueSheetIsReportedInAShortMessage) {
    const auto file = openCopy("cbr_noinfo.mp3", "big.mp3");
    const QString base = StripExtension(file->strFileName);
    // Enough skipped tracks that listing them all would make a box of
    // hundreds of kilobytes.
    const int blocks = 30000;
    QByteArray sheet;
    for (int i = 1; i <= blocks; ++i)
        sheet += "TRACK " + QByteArray::number(i) + " AUDIO\r\nINDEX 01 00:00:80\r\n";
    test::WriteFile(base + ".cue", sheet);
    frmPozycje* w = show(std::make_shared<cPozycjaMP3>());
    w->optDest[3]->setChecked(true);
    QTest::mouseClick(w->cmdOK, Qt::LeftButton);
    ASSERT_EQ(shownNumbers(), (QList<int>{3684, 3682}));
    const QString text = messages->shown.first().text;
    EXPECT_LT(text.size(), 1000);
    EXPECT_TRUE(text.contains("1, 2, 3, ")) << text.toStdString();
    EXPECT_TRUE(text.contains(QString::number(blocks - 30))) << text.toStdString();
    EXPECT_EQ(host->tracks->Count(), 0);
}

TEST_F(SplitDialogTest, EditModePointsATrackAtAnotherSource) {
    const auto a = openCopy("cbr_noinfo.mp3", "a.mp3");
    const auto b = openCopy("vbr_xing.mp3", "b.mp3");
    auto track = std::make_shared<cPozycjaMP3>();
    track->lngNrPozycji = 5;
    track->strFileNameSource = a->strFileName;
    track->strFileName = "old.mp3";
    host->tracks->Add(track);
    Program().session.NextTrackNo = 6;

    frmPozycje* w = show(track, false);
    EXPECT_FALSE(w->optDest[1]->isEnabled());
    EXPECT_FALSE(w->optDest[2]->isEnabled());
    EXPECT_EQ(w->cboPlikZ->currentText(), a->strFileName);
    EXPECT_EQ(w->cboPlikD->currentText(), "old.mp3");
    pick(w, b->strFileName);
    w->cboPlikD->setEditText("new.mp3");
    w->cmdOK_Click();
    EXPECT_EQ(track->strFileNameSource, b->strFileName);
    EXPECT_EQ(track->strFileName, "new.mp3");
    EXPECT_EQ(host->rowsRefreshed, QList<std::int32_t>{5});
    EXPECT_EQ(host->undoSnapshots, 1);
    EXPECT_EQ(host->tracks->Count(), 1);
    EXPECT_EQ(Program().session.NextTrackNo, 6);
    EXPECT_TRUE(closed());
    EXPECT_FALSE(settings->values.contains("OpenType"));

    w = show(track, false);
    host->tracks->Remove(1); // deleted while the dialog was open
    w->cmdOK_Click();
    EXPECT_EQ(shownNumbers(), QList<int>{3685});
    EXPECT_FALSE(closed());
}

TEST_F(SplitDialogTest, RunAtOnceReusesTheOpenSourceAndKeepsTheCallersFields) {
    const auto file = openCopy("cbr_noinfo.mp3", "long.mp3");
    openCopy("cbr_info.mp3", "later.mp3"); // the list would preselect this one
    auto cue = std::make_shared<cPozycjaMP3>();
    cue->strFileNameSource = file->strFileName;
    SetStartTime(*cue, {0, 1, 0});
    SetEndTime(*cue, {0, 3, 133});
    cue->strTitle = "Imported";
    SplitAtOnce(host, cue, true, QDateTime(QDate(2027, 1, 1), QTime(0, 0, 5)));
    EXPECT_TRUE(host->openCalls.isEmpty());
    EXPECT_EQ(Program().session.OpenFiles->Count(), 2);
    ASSERT_EQ(host->tracks->Count(), 1);
    EXPECT_EQ(EndTime(*cue), (TrackTime{0, 3, 133}));
    EXPECT_EQ(cue->strFileNameSource, file->strFileName);
    EXPECT_EQ(cue->strFileName, "20270101__00_00_05.mp3");
    EXPECT_TRUE(host->panel.isEmpty());
    EXPECT_EQ(host->undoSnapshots, 0); // the command that runs it takes the snapshot
    EXPECT_EQ(frmPozycje::Instance(), nullptr);

    auto lost = std::make_shared<cPozycjaMP3>();
    lost->strFileNameSource = test::MakeTempDir("gone") + "/gone.mp3";
    SplitAtOnce(host, lost, true, QDateTime());
    EXPECT_EQ(host->tracks->Count(), 1); // nothing cut from another file instead
    EXPECT_EQ(shownNumbers(), QList<int>{3025});
}

TEST_F(SplitDialogTest, TheRecorderHandOverCutsByTheSegmentList) {
    const auto file = openCopy("cbr_noinfo.mp3", "rec.mp3");
    test::WriteFile(StripExtension(file->strFileName) + ".tim", "\r\n1\r\n-3\r\n5\r\n-8");
    auto recording = std::make_shared<cPozycjaMP3>();
    recording->strFileNameSource = file->strFileName;
    recording->strLabel = "rec";
    recording->lngTrack = 1;
    SplitAtOnce(host, recording, true, QDateTime(), SplitMode::SegmentList);
    ASSERT_EQ(host->tracks->Count(), 2);
    EXPECT_EQ(host->tracks->Item(1), recording);
    EXPECT_EQ(EndTime(*recording), (TrackTime{0, 3, 0}));
    EXPECT_EQ(StartTime(*host->tracks->Item(2)), (TrackTime{0, 5, 0}));
}

TEST_F(SplitDialogTest, CueImportNeedsASelectedTrack) {
    ImportCueSheet(host, Program().settings, nullptr);
    EXPECT_EQ(shownNumbers(), QList<int>{3686});
}

TEST_F(SplitDialogTest, KeysActOnlyWhenTheyWentDownHere) {
    openCopy("cbr_noinfo.mp3");
    frmPozycje* w = show(std::make_shared<cPozycjaMP3>());
    w->txtMin->setEnabled(true);
    w->txtMin->setFocus();
    QApplication::setActiveWindow(w);
    QCoreApplication::processEvents();
    if (w->focusWidget() != w->txtMin)
        GTEST_SKIP() << "the platform gives no focus";
    QTest::keyClick(w->txtMin, Qt::Key_Return);
    EXPECT_EQ(host->tracks->Count(), 0);
    QTest::keyRelease(w->txtMin, Qt::Key_Escape); // went down elsewhere
    EXPECT_FALSE(closed());
    w->cboPlikD->setFocus();
    QTest::keyClick(w->cboPlikD, Qt::Key_Escape);
    EXPECT_TRUE(closed());
}

TEST_F(SplitDialogTest, PasteAsNewThroughTheEditorsSeam) {
    const auto file = openCopy("cbr_noinfo.mp3", "clip.mp3");
    QList<std::int32_t> added;
    SplitLauncher launcher([this] { return std::static_pointer_cast<SplitHost>(host); }, nullptr);
    SplitDialogRequest request;
    request.track = std::make_shared<cPozycjaMP3>();
    request.track->strFileNameSource = file->strFileName;
    request.track->strTitle = "Kept";
    request.newTrack = true;
    request.runAtOnce = true;
    request.date = 46364.5; // 8 December 2026, noon
    request.tracksAdded = [&added](const QList<std::int32_t>& numbers) { added += numbers; };
    launcher.PokazMnie(request);
    ASSERT_EQ(host->tracks->Count(), 1);
    EXPECT_EQ(added, QList<std::int32_t>{1});
    EXPECT_EQ(request.track->strTitle, "Kept");
    EXPECT_EQ(request.track->strFileName, "20261208__12_00_00.mp3");
}

TEST_F(SplitDialogTest, CueSheetChoosersShowTheirFilterText) {
    openCopy("cbr_noinfo.mp3", "sheet.mp3");
    frmPozycje* w = show(std::make_shared<cPozycjaMP3>());
    w->optDest[3]->setChecked(true);
    QStringList seen;
    auto look = [&seen] {
        test::WhenModal<QFileDialog>([&seen](QFileDialog* dialog) {
            seen << dialog->nameFilters().value(0);
            dialog->reject();
        });
    };
    look();
    w->cmdCueFile_Click();
    host->tracks->Add(std::make_shared<cPozycjaMP3>());
    host->tracks->Item(1)->lngNrPozycji = 1;
    host->selected = 1;
    look();
    ImportCueSheet(host, Program().settings, nullptr);
    ASSERT_EQ(seen.size(), 2);
    for (const QString& filter : seen)
        EXPECT_TRUE(filter.startsWith(GetText(3037) + " (*.cue")) << qPrintable(filter);
}

// Fault mended: the CUE import linked every title after the one made before
// it, from the last title back, so the chain played the album backwards.
TEST_F(SplitDialogTest, TheCueImportChainsTheTitlesInTheSheetsOrder) {
    const auto file = openCopy("cbr_noinfo.mp3", "album.mp3");
    const QString sheet = StripExtension(file->strFileName) + ".cue";
    test::WriteFile(sheet, "TRACK 01 AUDIO\r\nTITLE One\r\nINDEX 01 00:00:00\r\n"
                           "TRACK 02 AUDIO\r\nTITLE Two\r\nINDEX 01 00:03:00\r\n"
                           "TRACK 03 AUDIO\r\nTITLE Three\r\nINDEX 01 00:06:00\r\n");
    auto whole = std::make_shared<cPozycjaMP3>();
    whole->strFileNameSource = file->strFileName;
    whole->lngNrPozycji = 1;
    whole->blnJednostka = true;
    SetEndTime(*whole, SecondsToTrackTime(SourceDuration(*file)));
    host->tracks->Add(whole);
    host->selected = 1;
    Program().session.NextTrackNo = 2;
    test::WhenModal<QFileDialog>([&sheet](QFileDialog* dialog) {
        auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        ASSERT_NE(name, nullptr);
        name->setText(sheet);
        static_cast<QDialog*>(dialog)->accept();
    });
    ImportCueSheet(host, Program().settings, nullptr);
    ASSERT_EQ(host->tracks->Count(), 4) << QString::number(shownNumbers().value(0)).toStdString()
                                         << messages->shown.value(0).text.toStdString();
    std::int32_t before = 1;
    for (int i = 2; i <= 4; ++i) {
        const cPozycjaMP3& t = *host->tracks->Item(i);
        EXPECT_EQ(t.strTitle.toStdString(), (QStringList{"One", "Two", "Three"}[i - 2]).toStdString());
        EXPECT_EQ(t.lngNrPozycji, i);
        EXPECT_EQ(t.lngTrack, before);
        before = t.lngNrPozycji;
    }
}

TEST_F(SplitDialogTest, EveryCaptionFitsInBothLanguages) {
    openCopy("cbr_noinfo.mp3", "fit.mp3");
    for (const char* language : {"ENGLISH", "POLSKI"}) {
        Catalog().setLanguage(language);
        frmPozycje* w = show(std::make_shared<cPozycjaMP3>());
        ASSERT_TRUE(w);
        QApplication::processEvents();
        EXPECT_EQ(test::CutCaptions(w).join("; ").toStdString(), "") << language;
        // The output name's heading stands between its option and its box.
        EXPECT_GT(w->lblDest->x(), w->optDest[0]->geometry().right()) << language;
        EXPECT_GT(w->cboPlikD->x(), w->lblDest->geometry().right()) << language;
        EXPECT_GT(w->txtCueFile->x(), w->optDest[3]->geometry().right()) << language;
        delete w;
    }
    Catalog().setLanguage("ENGLISH");
}
