// The export dialog: its list and ticks, its options and settings, runs that
// hold the project and can be stopped, the script mode, and the layout.
#include "core/app/ProgramObjects.h"
#include "support/ProgramState.h"
#include "core/app/TextCatalog.h"
#include "core/document/PlikOpen.h"
#include "core/document/cPozycjaMP3.h"
#include "core/document/cPozycjaPlikow.h"
#include "core/document/cPozycjeMP3.h"
#include "core/document/cPozycjePlikow.h"
#include "core/project/ScriptExport.h"
#include "gui/editor/EditorController.h"
#include "gui/editor/TrackCommandSet.h"
#include "gui/export/SaveDialogLayout.h"
#include "gui/export/ScriptExportRun.h"
#include "gui/mainwindow/FileMenu.h"
#include "core/export/SplitTime.h"
#include "gui/export/frmPozycje.h"
#include "gui/export/frmSave.h"
#include "gui/mainwindow/frmDazudizi.h"
#include "platform/settings/MemorySettingsStore.h"
#include "platform/shell/FakeDesktopOpener.h"
#include "support/ScriptedMessages.h"
#include "support/TestEnvironment.h"
#include "support/TextFit.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QRadioButton>
#include <QDeadlineTimer>
#include <QTimer>
#include <QImage>
#include <gtest/gtest.h>

using namespace kelbrin;

namespace {

class SaveDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::ResetProgramObjects();
        store = new MemorySettingsStore;
        store->values = {{"WindowState", "0"}};
        SetSettingsStore(std::unique_ptr<SettingsStore>(store));
        auto scripted = std::make_unique<test::ScriptedMessages>();
        messages = scripted.get();
        SetMessageService(std::move(scripted));
        SetDesktopOpener(std::make_unique<FakeDesktopOpener>());
        Catalog().load(test::SourceDir() + "/resources/Kelbrin.ini");
        Catalog().setLanguage("ENGLISH");
        Program().session.OpenFiles = std::make_shared<cPozycjePlikow>();
        main = new frmDazudizi(Program());
        main->setAttribute(Qt::WA_DeleteOnClose, false);
        main->PokazMnie();
        dest = test::MakeTempDir("dest");
        store->values.insert("DestPath", dest);
    }
    void TearDown() override {
        if (frmSave::Instance())
            delete frmSave::Instance();
        delete main;
        QDir(dest).removeRecursively();
        SetDesktopOpener(nullptr);
        SetMessageService(nullptr);
        SetSettingsStore(nullptr);
    }
    std::shared_ptr<cPozycjaPlikow> openSource(const QString& name) {
        auto file = std::make_shared<cPozycjaPlikow>();
        file->strFileName = test::MediaFile(name);
        bool build = true;
        QString folder;
        HeadlessScanHost host;
        Plik_Open(host, &Program().session, Program().settings.SourceFolder, file, build, false,
                  QString(), nullptr, true, false, folder, 1);
        file->lngNrPozycji = Program().session.NextFileId++;
        Program().session.OpenFiles->Add(file);
        return file;
    }
    std::shared_ptr<cPozycjaMP3> addTrack(const QString& source, const QString& label, bool ticked,
                                          int from = 0, int to = 2) {
        auto t = std::make_shared<cPozycjaMP3>();
        t->strFileNameSource = source;
        t->strLabel = label;
        t->strFileName = label + ".mp3";
        t->blnAwlaysTop = ticked;
        t->lngPoczatek_S = from;
        t->lngKoniec_S = to;
        main->cPozycje()->Add(t);
        return t;
    }
    QList<int> shown() const {
        QList<int> n;
        for (const auto& m : messages->shown)
            n.append(m.textNumber);
        return n;
    }

    MemorySettingsStore* store = nullptr;
    test::ScriptedMessages* messages = nullptr;
    frmDazudizi* main = nullptr;
    QString dest;
};

} // namespace

TEST_F(SaveDialogTest, WithoutAnOpenSourceItSaysSoAndStaysAway) {
    EXPECT_EQ(frmSave::PokazMnie(*main), nullptr);
    EXPECT_EQ(shown(), QList<int>{3014});
    EXPECT_EQ(frmSave::Instance(), nullptr);
}

TEST_F(SaveDialogTest, TheListMirrorsTheTicksAndMovesItemsWithTheirMarks) {
    const auto source = openSource("cbr_noinfo.mp3");
    auto locked = openSource("cbr_info.mp3");
    locked->blnNoSave = true;
    auto a = addTrack(source->strFileName, "A", true);
    addTrack(locked->strFileName, "Locked", true);
    auto c = addTrack(source->strFileName, "C", false);
    frmSave* d = frmSave::PokazMnie(*main);
    ASSERT_TRUE(d);
    ASSERT_EQ(d->lstSource->count(), 2);
    EXPECT_EQ(d->lstSource->item(1)->data(Qt::UserRole).toInt(), 3);
    EXPECT_EQ(d->lstSource->item(0)->checkState(), Qt::Checked);
    EXPECT_EQ(d->lstSource->item(1)->checkState(), Qt::Unchecked);

    d->lstSource->setCurrentRow(0);
    d->txtWGore_Click(); // already first
    d->txtWDol_Click();
    EXPECT_EQ(d->lstSource->item(1)->text(), "A");
    EXPECT_EQ(d->lstSource->item(1)->checkState(), Qt::Checked);
    EXPECT_EQ(d->lstSource->item(1)->data(Qt::UserRole).toInt(), 1);
    EXPECT_EQ(d->lstSource->currentRow(), 1);
    EXPECT_TRUE(a->blnAwlaysTop);
    EXPECT_FALSE(c->blnAwlaysTop);

    d->lstSource->item(1)->setCheckState(Qt::Unchecked); // the user's click
    d->lstSource->item(0)->setCheckState(Qt::Checked);
    EXPECT_FALSE(a->blnAwlaysTop);
    EXPECT_TRUE(c->blnAwlaysTop);
    const SaveRequest r = d->BuildRequest(false);
    ASSERT_EQ(r.pieces.size(), 1);
    EXPECT_EQ(r.pieces[0].label, "C");
}

TEST_F(SaveDialogTest, ATickChangedInTheListIsOfferedForSavingOnClose) {
    const auto source = openSource("cbr_noinfo.mp3");
    addTrack(source->strFileName, "A", true)->blnZmodyfikowana = false;
    frmSave* d = frmSave::PokazMnie(*main);
    ASSERT_TRUE(d);
    d->lstSource->item(0)->setCheckState(Qt::Unchecked); // the user's click
    d->close();
    messages->answers.enqueue(mb::Cancel);
    EXPECT_FALSE(main->close());
    EXPECT_EQ(shown(), QList<int>{3023});
}

TEST_F(SaveDialogTest, OptionsComeFromTheSettingsAndExcludeEachOther) {
    openSource("cbr_noinfo.mp3");
    for (int i = 0; i < 4; ++i)
        addTrack(Program().session.OpenFiles->Item(1)->strFileName, QString::number(i), false);
    store->values.insert("Turbo", "1");
    store->values.insert("ExactSave", "1");
    store->values.insert("FileNaming", "2");
    store->values.insert("T_Set", "7");
    frmSave* d = frmSave::PokazMnie(*main);
    ASSERT_TRUE(d);
    EXPECT_TRUE(d->chkTurbo->isChecked());
    EXPECT_FALSE(d->chkDetails->isChecked());
    EXPECT_TRUE(d->fraTurbo->isVisible());
    EXPECT_TRUE(d->optTurbo[2]->isChecked());
    EXPECT_EQ(d->txtFileName->text(), "5.mp3");
    EXPECT_EQ(d->txtSave->text(), dest);
    d->chkDetails->setChecked(true);
    EXPECT_FALSE(d->chkTurbo->isChecked());
    EXPECT_FALSE(d->fraTurbo->isVisible());

    d->optSave[0]->setChecked(true);
    EXPECT_TRUE(d->txtFileName->isEnabled());
    EXPECT_FALSE(d->chkNazwy->isEnabled());
    d->txtFileName->setText("a:b?c.mp3");
    EXPECT_EQ(d->txtFileName->text(), "abc.mp3");
    EXPECT_EQ(d->txtFileName->cursorPosition(), 7);
    d->close();
    EXPECT_EQ(store->values.value("ExactSave"), "1");
    EXPECT_EQ(store->values.value("Turbo"), "0");
    EXPECT_EQ(store->values.value("FileNameSave"), "1");
    EXPECT_EQ(store->values.value("T_Set"), "2");
}

TEST_F(SaveDialogTest, ARunHoldsTheProjectAndClosesTheDialogWhenDone) {
    const auto source = openSource("cbr_noinfo.mp3");
    addTrack(source->strFileName, "one", true, 0, 3);
    addTrack(source->strFileName, "two", true, 3, 6);
    frmSave* d = frmSave::PokazMnie(*main);
    ASSERT_TRUE(d);
    bool heldDuringRun = false;
    QTimer::singleShot(0, [&] { heldDuringRun = !main->CanChangeProject() && d->IsBusy(); });
    QPointer<frmSave> guard(d);
    d->cmdWytnij[1]->click();
    EXPECT_TRUE(heldDuringRun);
    EXPECT_TRUE(main->CanChangeProject());
    EXPECT_EQ(frmSave::LastOutcome().status, SaveStatus::Finished);
    EXPECT_TRUE(QFileInfo::exists(dest + "/one.mp3"));
    EXPECT_TRUE(QFileInfo::exists(dest + "/two.mp3"));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(guard.isNull());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(SaveDialogTest, CancelAnsweredYesStopsTheRunAndLeavesNothing) {
    const auto source = openSource("cbr_noinfo.mp3");
    addTrack(source->strFileName, "one", true, 0, 9);
    frmSave* d = frmSave::PokazMnie(*main);
    ASSERT_TRUE(d);
    messages->answers << mb::Yes;
    QTimer::singleShot(0, [&] { d->cmdOK->click(); });
    d->cmdWytnij[1]->click();
    EXPECT_EQ(shown(), QList<int>{3151});
    EXPECT_EQ(frmSave::LastOutcome().status, SaveStatus::Cancelled);
    EXPECT_TRUE(QDir(dest).entryList(QDir::Files | QDir::Hidden).isEmpty());
    EXPECT_TRUE(main->CanChangeProject());
}

// Fault mended: two ticked tracks bound for one file (files named after the
// labels, two tracks of the same title) made the second ask to replace the
// file the first had just written, and a Yes lost the first track.
TEST_F(SaveDialogTest, TracksBoundForOneFileKeepTheFirstAndNameTheOthers) {
    const auto source = openSource("cbr_noinfo.mp3");
    addTrack(source->strFileName, "Intro", true, 0, 3)->strTitle = "first";
    addTrack(source->strFileName, "Intro", true, 3, 6)->strTitle = "second";
    // A name that leads to the same file, as "INTRO.mp3" does on a case-blind
    // file system, is judged by the file, not by its spelling.
    addTrack(source->strFileName, "INTRO", true, 6, 9)->strTitle = "third";
    ASSERT_TRUE(QFile::link(dest + "/Intro.mp3", dest + "/INTRO.mp3"));
    frmSave* d = frmSave::PokazMnie(*main);
    ASSERT_TRUE(d);
    d->chkNazwy->click();
    ASSERT_TRUE(d->chkNazwy->isChecked());
    messages->answers << mb::Yes;
    d->cmdWytnij[1]->click();
    EXPECT_EQ(shown(), QList<int>{7341});
    EXPECT_TRUE(messages->shown.value(0).text.contains("Intro (Intro.mp3), INTRO (INTRO.mp3)"));
    EXPECT_EQ(frmSave::LastOutcome().written, QStringList{dest + "/Intro.mp3"});
    QFile out(dest + "/Intro.mp3");
    ASSERT_TRUE(out.open(QIODevice::ReadOnly));
    EXPECT_TRUE(out.readAll().right(128).mid(3, 5) == "first");
}

// Fault mended: when the destination folder was removed during an export of
// many tracks, every track left asked whether to skip it and go on; one
// answer now does for them all, and the box at the end names them.
TEST_F(SaveDialogTest, AFolderRemovedDuringTheExportAsksOnceAndNamesTheTracksLeft) {
    const auto source = openSource("cbr_noinfo.mp3");
    for (const char* name : {"one", "two", "three", "four"})
        addTrack(source->strFileName, name, true, 0, 2);
    test::WriteFile(dest + "/one.mp3", "old");
    frmSave* d = frmSave::PokazMnie(*main);
    ASSERT_TRUE(d);
    messages->whileShown = [&](const MessageRequest&) {
        if (messages->shown.size() == 1) // the question whether to replace one.mp3
            QDir(dest).removeRecursively();
    };
    messages->answers << mb::Yes << mb::Yes;
    d->cmdWytnij[1]->click();
    const QList<int> numbers = shown();
    ASSERT_EQ(numbers.count(3024), 1) << numbers.size();
    EXPECT_EQ(numbers.last(), 7431);
    EXPECT_TRUE(messages->shown.last().text.endsWith(": two, three, four"))
        << messages->shown.last().text.toStdString();
    EXPECT_EQ(frmSave::LastOutcome().unwritten, (QStringList{"one", "two", "three", "four"}));
}

// Fault mended: a joined file that could not be created asked, once per
// ticked track, whether to skip it and go on with the next track, though every
// track goes into that one file; the dialog then closed as after a save.
TEST_F(SaveDialogTest, AJoinedFileThatCannotBeCreatedStopsTheRunAtOnce) {
    const auto source = openSource("cbr_noinfo.mp3");
    addTrack(source->strFileName, "one", true, 0, 3);
    addTrack(source->strFileName, "two", true, 3, 6);
    frmSave* d = frmSave::PokazMnie(*main);
    ASSERT_TRUE(d);
    d->optSave[0]->click();
    const QString name(d->txtFileName->maxLength() - 3, QLatin1Char('n')); // ".mp3" makes it too long
    d->txtFileName->setText(name);
    messages->answers << mb::Yes << mb::Yes;
    d->cmdWytnij[1]->click();
    EXPECT_EQ(shown(), QList<int>{7342});
    EXPECT_EQ(frmSave::LastOutcome().status, SaveStatus::Failed);
    EXPECT_TRUE(QDir(dest).entryList(QDir::Files | QDir::Hidden).isEmpty());
    EXPECT_EQ(frmSave::Instance(), d);
    EXPECT_TRUE(d->cmdWytnij[1]->isEnabled());
}

// Fault mended: a track without an output name (never given, or cleared when
// a project's name named no file) asked to replace the destination folder
// itself, then said the folder could not be created.
TEST_F(SaveDialogTest, ATrackWithoutAnOutputNameIsNamedAndTheOthersWritten) {
    const auto source = openSource("cbr_noinfo.mp3");
    addTrack(source->strFileName, "nameless", true, 0, 3)->strFileName.clear();
    addTrack(source->strFileName, "two", true, 3, 6);
    frmSave* d = frmSave::PokazMnie(*main);
    ASSERT_TRUE(d);
    messages->answers << mb::Yes << mb::Yes;
    d->cmdWytnij[1]->click();
    EXPECT_EQ(shown(), QList<int>{7343});
    EXPECT_TRUE(messages->shown.value(0).text.endsWith("\rnameless"));
    EXPECT_EQ(frmSave::LastOutcome().written, QStringList{dest + "/two.mp3"});
}

TEST_F(SaveDialogTest, AScriptRunWritesOneFilePerTrackUnseen) {
    const auto source = openSource("cbr_noinfo.mp3");
    addTrack(source->strFileName, "one", true, 0, 3);
    store->values.insert("Turbo", "1");
    store->values.insert("FileNameSave", "1");
    EXPECT_EQ(frmSave::PokazMnie(*main, true), nullptr);
    EXPECT_TRUE(QFileInfo::exists(dest + "/one.mp3"));
    EXPECT_EQ(store->values.value("ExactSave"), "1");
    EXPECT_EQ(store->values.value("Turbo"), "0");
    EXPECT_EQ(store->values.value("FileNameSave"), "0");
    EXPECT_EQ(store->values.value("FileNameSame"), "0");
}

TEST_F(SaveDialogTest, WhileItIsOpenNoCommandRemovesOrReplacesTracks) {
    const auto source = openSource("cbr_noinfo.mp3");
    addTrack(source->strFileName, "one", true)->lngNrPozycji = 1;
    addTrack(source->strFileName, "two", true)->lngNrPozycji = 2;
    frmSave* d = frmSave::PokazMnie(*main);
    ASSERT_TRUE(d);
    main->Editor().editor().lngSelectedTrack = 1;
    main->Commands().mnuTrack_Wytnij_Click();
    main->Commands().DeleteTrack(2);
    main->Editor().cmdUndo_Click();
    main->Files().mnuFile_Nowy_Click();
    main->Files().mnuFile_O_Click();
    main->Files().mnuFile_Skrypt_Click();
    EXPECT_FALSE(main->OtworzPlik(dest + "/other.kbe", 0, false, false));
    EXPECT_EQ(shown(), QList<int>(7, 6002));
    EXPECT_EQ(main->cPozycje()->Count(), 2);
    EXPECT_FALSE(main->CpozSchowek()); // nothing was cut to the clipboard either

    d->close();
    messages->shown.clear();
    main->Commands().DeleteTrack(2);
    EXPECT_TRUE(shown().isEmpty());
    EXPECT_EQ(main->cPozycje()->Count(), 1);
}

TEST_F(SaveDialogTest, AScriptsExportShowsItsProgressAndStopsOnEsc) {
    // A long source, so the copy yields several times.
    QByteArray bytes;
    const QByteArray piece = [] {
        QFile f(test::MediaFile("cbr_noinfo.mp3"));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }();
    for (int i = 0; i < 30; ++i)
        bytes += piece;
    const QString folder = test::MakeTempDir("long");
    const QString path = test::WriteFile(folder + "/long.mp3", bytes);
    auto file = std::make_shared<cPozycjaPlikow>();
    file->strFileName = path;
    bool build = true;
    QString dialogFolder;
    HeadlessScanHost scan;
    ASSERT_FALSE(Plik_Open(scan, &Program().session, Program().settings.SourceFolder, file, build,
                           false, QString(), nullptr, true, false, dialogFolder, 1)
                     .isEmpty());
    file->lngNrPozycji = 1;
    Program().session.OpenFiles->Add(file);
    auto tracks = std::make_shared<cPozycjeMP3>();
    auto t = std::make_shared<cPozycjaMP3>();
    t->strFileNameSource = path;
    t->strFileName = "long.mp3";
    t->strLabel = "long";
    t->blnAwlaysTop = true;
    t->lngKoniec_M = 5;
    tracks->Add(t);
    ScriptExportRequest request;
    request.tracks = tracks;
    request.files = Program().session.OpenFiles;

    auto* run = dynamic_cast<ScriptExportRun*>(&main->ScriptExporter());
    ASSERT_TRUE(run) << "the main window runs a script's export itself";
    double maximumSeen = 0;
    QTimer::singleShot(0, [&] {
        maximumSeen = main->ProgressMaximum();
        QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(main, &esc);
    });
    run->Run(request);
    EXPECT_GT(maximumSeen, 1e6);
    EXPECT_EQ(run->LastOutcome().status, SaveStatus::Cancelled);
    EXPECT_TRUE(QDir(dest).entryList(QDir::Files | QDir::Hidden).isEmpty());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    // Left alone, the same run writes the file.
    run->Run(request);
    EXPECT_EQ(run->LastOutcome().status, SaveStatus::Finished);
    EXPECT_TRUE(QFileInfo::exists(dest + "/long.mp3"));
    QDir(folder).removeRecursively();
}

TEST(SaveDialogLayout, TheListGrowsAndTheButtonsKeepToTheBottomRight) {
    SaveDialogLayout l = DesignSaveDialogLayout();
    l.innerWidth = l.outerWidth = 12000;
    l.innerHeight = l.outerHeight = 9000;
    l.minInnerWidth = 6615;
    ReflowSaveDialog(l);
    // 1 / 2.4 of the smallest width, and three quarters of the rest.
    EXPECT_DOUBLE_EQ(l.lstSource.width, 6615 / 2.4 + (12000 - 6615) * 0.75);
    EXPECT_DOUBLE_EQ(l.lstSource.height, 9000 - 240 - 45);
    EXPECT_DOUBLE_EQ(l.txtWGore.left, 60 + l.lstSource.width + 50);
    EXPECT_DOUBLE_EQ(l.txtWDol.top + l.txtWDol.height, 9000);
    EXPECT_DOUBLE_EQ(l.cmdDir.left + l.cmdDir.width, 12000 - 200);
    EXPECT_DOUBLE_EQ(l.cmdOK.left + l.cmdOK.width, 12000);
    EXPECT_DOUBLE_EQ(l.txtSave.left + l.txtSave.width, l.cmdDir.left);
    EXPECT_DOUBLE_EQ(l.chkNazwy.left, l.optSave1.left + 500);
    EXPECT_DOUBLE_EQ(l.fraTurbo.top, l.chkCue.top + l.chkCue.height + 10);
    EXPECT_DOUBLE_EQ(l.optSave0.top, 375); // the option column keeps its places
}

TEST_F(SaveDialogTest, TheWindowSnapsBackToItsSmallestSizeAndTheListTakesTheRoomBeyond) {
    const auto file = openSource("cbr_noinfo.mp3");
    addTrack(file->strFileName, QStringLiteral("Poranek w \u0141odzi \u2014 audycja poranna z go\u015b\u0107mi i pogod\u0105 (ca\u0142o\u015b\u0107)"), true);
    frmSave* d = frmSave::PokazMnie(*main);
    ASSERT_TRUE(d);
    d->resize(100, 100);
    QApplication::processEvents();
    EXPECT_GE(d->frameGeometry().width(), TwipsToPx(kSaveDialogMinOuterWidth));
    EXPECT_GE(d->frameGeometry().height(), TwipsToPx(kSaveDialogMinOuterHeight));
    const int smallest = d->width();
    EXPECT_NEAR(d->lstSource->width(), smallest / 2.4, 1.5);
    // Widened, the list of names takes most of the new room and every
    // option still shows whole beside it.
    d->resize(TwipsToPx(12000), TwipsToPx(9000));
    QApplication::processEvents();
    EXPECT_EQ(d->cmdOK->geometry().right() + 1, d->width());
    EXPECT_NEAR(d->lstSource->width(), smallest / 2.4 + (d->width() - smallest) * 0.75, 1.5);
    EXPECT_EQ(test::CutCaptions(d), QStringList());
    // The long name shows whole in a dialog enlarged as far as the user would.
    d->resize(900, 640);
    QApplication::processEvents();
    EXPECT_FALSE(d->lstSource->horizontalScrollBar()->isVisible());
}

TEST_F(SaveDialogTest, TheTurboFrameStaysAboveTheButtonsWithALargerFont) {
    openSource("cbr_noinfo.mp3");
    const QFont previous = QApplication::font();
    QFont large = previous;
    large.setPointSizeF(previous.pointSizeF() * 1.5);
    QApplication::setFont(large);
    for (const char* language : {"ENGLISH", "POLSKI"}) {
        Catalog().setLanguage(language);
        frmSave* d = frmSave::PokazMnie(*main);
        ASSERT_TRUE(d);
        d->chkTurbo->setChecked(true);
        QApplication::processEvents(); // the size it opens at
        EXPECT_LT(d->fraTurbo->geometry().bottom(), d->cmdWytnij[0]->geometry().top()) << language;
        d->resize(100, 100); // and the smallest
        QApplication::processEvents();
        EXPECT_LT(d->fraTurbo->geometry().bottom(), d->cmdWytnij[0]->geometry().top()) << language;
        EXPECT_LE(d->cmdOK->geometry().bottom(), d->height()) << language;
        delete d;
    }
    QApplication::setFont(previous);
}

// Fault mended: the Preview and Save buttons kept a height of 17 pixels at
// any size, half what their captions need.
TEST_F(SaveDialogTest, TheButtonsAreAsTallAsTheirCaptionsAtAnySize) {
    openSource("cbr_noinfo.mp3");
    for (const char* language : {"ENGLISH", "POLSKI"}) {
        Catalog().setLanguage(language);
        frmSave* d = frmSave::PokazMnie(*main);
        ASSERT_TRUE(d);
        d->chkTurbo->setChecked(true);
        for (const QSize size : {QSize(100, 100), QSize(TwipsToPx(14000), TwipsToPx(10000))}) {
            d->resize(size);
            QApplication::processEvents();
            SCOPED_TRACE(std::string(language) + " " + std::to_string(d->width()) + "x" + std::to_string(d->height()));
            QPushButton* preview = d->cmdWytnij[0];
            QPushButton* save = d->cmdWytnij[1];
            for (QPushButton* b : {preview, save, d->cmdOK})
                EXPECT_GE(b->height(), b->sizeHint().height()) << b->text().toStdString();
            EXPECT_LT(preview->geometry().bottom(), save->geometry().top());
            EXPECT_FALSE(d->cmdOK->geometry().intersects(preview->geometry()));
            EXPECT_LE(d->cmdOK->geometry().bottom(), d->height());
            EXPECT_LT(d->fraTurbo->geometry().bottom(), preview->geometry().top());
        }
        delete d;
    }
}

// Fault mended: a long export folder showed its last letters, not its start.
TEST_F(SaveDialogTest, ALongFolderShowsFromItsStart) {
    openSource("cbr_noinfo.mp3");
    const QString deep = dest + "/a rather long folder name/and another one below it/and a third";
    ASSERT_TRUE(QDir().mkpath(deep));
    store->values.insert("DestPath", deep);
    frmSave* d = frmSave::PokazMnie(*main);
    ASSERT_TRUE(d);
    QApplication::processEvents();
    ASSERT_EQ(d->txtSave->text(), deep);
    ASSERT_LT(d->txtSave->width(), d->txtSave->fontMetrics().horizontalAdvance(deep));
    EXPECT_EQ(d->txtSave->cursorPosition(), 0);
}

TEST_F(SaveDialogTest, EveryCaptionFitsAtTheSmallestSizeInBothLanguages) {
    openSource("cbr_noinfo.mp3");
    for (const char* language : {"ENGLISH", "POLSKI"}) {
        Catalog().setLanguage(language);
        frmSave* d = frmSave::PokazMnie(*main);
        ASSERT_TRUE(d);
        d->chkTurbo->setChecked(true); // the Turbo frame shows too
        d->resize(100, 100);
        QApplication::processEvents();
        // Fault mended: the Polish dialog's Cancel button read "Anuluj"; the
        // button keeps its caption in every language.
        EXPECT_EQ(d->cmdOK->text().toStdString(), "Cancel") << language;
        EXPECT_EQ(test::CutCaptions(d).join("; ").toStdString(), "") << language;
        // The one-file option is the longest caption of the column.
        EXPECT_LE(d->optSave[0]->geometry().right(), d->width()) << language;
        delete d;
    }
    Catalog().setLanguage("POLSKI");
    frmSave* d = frmSave::PokazMnie(*main);
    EXPECT_EQ(d->cmdOK->text().toStdString(), "Cancel");
    EXPECT_EQ(d->optSave[0]->text(), "Połącz zaznaczone utwory w jeden plik:");
}

// Fault mended: a CUE-sheet split made its pieces from the last entry back
// and numbered and linked them in that order, so the chain played the album
// backwards and the export listed the last title as track 1.
TEST_F(SaveDialogTest, ACueSheetSplitPlaysAndExportsTheAlbumInTheSheetsOrder) {
    const auto source = openSource("cbr_noinfo.mp3");
    const QString sheet = dest + "/../album.cue";
    test::WriteFile(sheet, "TRACK 01 AUDIO\r\nTITLE One\r\nINDEX 01 00:00:00\r\n"
                           "TRACK 02 AUDIO\r\nTITLE Two\r\nINDEX 01 00:03:00\r\n"
                           "TRACK 03 AUDIO\r\nTITLE Three\r\nINDEX 01 00:06:00\r\n");
    main->cmdDodaj()->click();
    frmPozycje* split = frmPozycje::Instance();
    ASSERT_TRUE(split);
    split->optDest[3]->click();
    split->txtCueFile->setText(sheet);
    split->cmdOK->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_EQ(frmPozycje::Instance(), nullptr) << shown().size();

    const auto& tracks = *main->cPozycje();
    ASSERT_EQ(tracks.Count(), 3);
    const QStringList titles{"One", "Two", "Three"};
    for (int i = 1; i <= 3; ++i) {
        const cPozycjaMP3& t = *tracks.Item(i);
        EXPECT_EQ(t.strTitle.toStdString(), titles[i - 1].toStdString());
        // The chain: the first title follows the start, each next one the title before it.
        const std::int32_t before = i == 1 ? 0 : tracks.Item(i - 1)->lngNrPozycji;
        EXPECT_EQ(t.lngTrack, before) << i;
        if (i > 1) {
            EXPECT_GT(t.lngNrPozycji, before);
            EXPECT_EQ(tracks.Item(i - 1)->colNastepnik, QList<std::int32_t>{i});
        }
    }
    EXPECT_EQ(StartTime(*tracks.Item(2)), (TrackTime{0, 3, 0}));

    store->values.insert("CreateCue", "1");
    frmSave* d = frmSave::PokazMnie(*main);
    ASSERT_TRUE(d);
    ASSERT_TRUE(d->chkCue->isChecked());
    d->cmdWytnij[1]->click();
    ASSERT_EQ(frmSave::LastOutcome().status, SaveStatus::Finished);
    ASSERT_EQ(frmSave::LastOutcome().written.size(), 3);
    QFile cueFile(dest + "/cdr.cue");
    ASSERT_TRUE(cueFile.open(QIODevice::ReadOnly));
    const QString cue = QString::fromUtf8(cueFile.readAll());
    QStringList listed; // "number title" of every track the sheet lists
    for (const QString& line : cue.split("\r\n")) {
        if (line.trimmed().startsWith("TRACK "))
            listed << line.trimmed().mid(6, 2);
        else if (line.trimmed().startsWith("TITLE ") && !listed.isEmpty())
            listed.last() += " " + line.trimmed().mid(6).remove('"');
    }
    EXPECT_EQ(listed.join(", ").toStdString(), "01 One, 02 Two, 03 Three") << cue.toStdString();
}

// Fault mended: "Create a playlist and play it" said nothing when no player
// could be started for the playlist; the opener's complaint went only to its
// standard error.
TEST_F(SaveDialogTest, APlaylistNoPlayerCanOpenIsSaidSo) {
    const auto source = openSource("cbr_noinfo.mp3");
    addTrack(source->strFileName, "one", true, 0, 2);
    const QString bin = test::MakeTempDir("bin");
    const QByteArray path = qgetenv("PATH");
    const auto exportWithPlaylist = [&](int playerStartedAfterMs = XdgDesktopOpener::kPlayerStartedAfterMs) {
        QFile::remove(dest + "/one.mp3"); // nothing to ask about
        // The dialog the last export closed goes, as it does before the user can open it again.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        SetDesktopOpener(std::make_unique<XdgDesktopOpener>(playerStartedAfterMs)); // the desktop's own
        frmSave* d = frmSave::PokazMnie(*main);
        ASSERT_TRUE(d);
        d->chkWinamp->setChecked(true);
        d->cmdWytnij[1]->click();
        ASSERT_EQ(frmSave::LastOutcome().status, SaveStatus::Finished);
    };
    const auto shownWithin = [&](int ms) {
        for (QDeadlineTimer left(ms); !shown().contains(7443) && !left.hasExpired();)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        return shown().contains(7443);
    };
    // No opener on the path at all.
    qputenv("PATH", bin.toUtf8());
    exportWithPlaylist();
    EXPECT_TRUE(shownWithin(10000));
    EXPECT_TRUE(messages->shown.value(0).text.contains(frmSave::LastOutcome().playlist));

    // An opener that finds no player, as xdg-open does on a desktop without one.
    messages->shown.clear();
    test::WriteFile(bin + "/xdg-open", "#!/bin/sh\necho \"no method available for opening $1\" >&2\nexit 3\n");
    QFile::setPermissions(bin + "/xdg-open", QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    exportWithPlaylist();
    EXPECT_TRUE(shownWithin(10000));

    // A player that starts: no word.
    messages->shown.clear();
    test::WriteFile(bin + "/xdg-open", "#!/bin/sh\necho \"$1\" > \"$0.done\"\n");
    exportWithPlaylist();
    for (QDeadlineTimer left(10000); !QFileInfo::exists(bin + "/xdg-open.done") && !left.hasExpired();)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_FALSE(shownWithin(500));

    // Without a desktop of its own, xdg-open runs the player in the
    // foreground and ends with its status when the user closes it.
    messages->shown.clear();
    test::WriteFile(bin + "/xdg-open", "#!/bin/sh\n/bin/sleep 1.5\nexit 3\n");
    exportWithPlaylist(500);
    EXPECT_FALSE(shownWithin(3000)) << "a player that ran is no failure to start one";
    qputenv("PATH", path);
    QFile done(bin + "/xdg-open.done");
    ASSERT_TRUE(done.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(done.readAll()).trimmed(), frmSave::LastOutcome().playlist);
}

TEST(SaveDialogLayout, TheSmallestWidthMakesRoomForTheWidestOption) {
    // The design's column (3660) fits the design's smallest window.
    EXPECT_DOUBLE_EQ(SaveDialogMinOuterWidth(3660, 105), kSaveDialogMinOuterWidth);
    const double wider = SaveDialogMinOuterWidth(5000, 105);
    EXPECT_GT(wider, kSaveDialogMinOuterWidth);
    // At that width the column ends inside the client area.
    SaveDialogLayout l = DesignSaveDialogLayout();
    l.innerWidth = wider - 105;
    l.outerWidth = wider;
    ReflowSaveDialog(l);
    EXPECT_LE(l.optSave0.left + 5000, l.innerWidth - 60 + 1e-6);
}
