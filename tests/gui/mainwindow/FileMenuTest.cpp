// The File menu of the main window: the recent projects, reopening from them,
// the commands' wiring and the autosave.
#include "core/app/ProgramObjects.h"
#include "core/app/TextCatalog.h"
#include "core/document/cPozycjaMP3.h"
#include "core/document/cPozycjaPlikow.h"
#include "core/document/cPozycjeMP3.h"
#include "core/document/cPozycjePlikow.h"
#include "core/project/ProjectFileWriter.h"
#include "gui/document/frmFrame.h"
#include "gui/export/frmPozycje.h"
#include "gui/export/frmSave.h"
#include "gui/mainwindow/AutoSave.h"
#include "gui/mainwindow/FileMenu.h"
#include "gui/mainwindow/ProjectCommands.h"
#include "gui/mainwindow/RecentProjectsMenu.h"
#include "gui/mainwindow/frmDazudizi.h"
#include "platform/settings/MemorySettingsStore.h"
#include "platform/text/AnsiCodec.h"
#include "support/ScriptedMessages.h"
#include "support/TestEnvironment.h"
#include "support/ProgramState.h"
#include "gui/app/ModalDriver.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <gtest/gtest.h>

using namespace kelbrin;

namespace {

class FileMenuTest : public ::testing::Test {
protected:
    void SetUp() override {
        store = test::FreshProgramState();
        store->values = {{"WindowState", "0"}, {"AdvView", "0"}};
        Catalog().load(test::SourceDir() + "/resources/Kelbrin.ini");
        Catalog().setLanguage("ENGLISH");
        auto scripted = std::make_unique<test::ScriptedMessages>();
        messages = scripted.get();
        previous = SetMessageService(std::move(scripted));
        Program().settings.DestFolder = test::MakeTempDir("dest");
    }
    void TearDown() override {
        if (frmPozycje::Instance())
            delete frmPozycje::Instance();
        if (frmSave::Instance())
            delete frmSave::Instance();
        delete window;
        SetMessageService(std::move(previous));
        SetSettingsStore(nullptr);
    }
    void open() {
        window = new frmDazudizi(Program());
        window->setAttribute(Qt::WA_DeleteOnClose, false);
        window->PokazMnie();
    }
    // A project of one track, its source open.
    void fillProject() {
        auto file = std::make_shared<cPozycjaPlikow>();
        file->strFileName = test::MediaFile("cbr_noinfo.mp3");
        file->lngNrPozycji = 1;
        Program().session.OpenFiles->Add(file);
        auto t = std::make_shared<cPozycjaMP3>();
        t->lngNrPozycji = 1;
        t->strFileNameSource = file->strFileName;
        t->strLabel = "One";
        window->cPozycje()->Add(t);
        Program().session.NextTrackNo = 2;
    }
    QString saveAs(const QString& name) {
        bool keepName = true;
        EXPECT_TRUE(window->Projects().Zapisz(true, keepName, name));
        return Program().settings.DestFolder + "/" + name + ".kbe";
    }
    QAction* item(const QString& name) { return window->Menus().item(name); }
    QAction* recent(int k) { return item(QStringLiteral("mnuPlik_End(%1)").arg(k)); }
    RecentProjectsMenu& menu() { return window->Files().recent(); }
    AutoSave& autosave() { return window->Files().autosave(); }

    MemorySettingsStore* store = nullptr;
    test::ScriptedMessages* messages = nullptr;
    std::unique_ptr<MessageService> previous;
    frmDazudizi* window = nullptr;
};

} // namespace

TEST_F(FileMenuTest, TheRecentItemsFollowTheSettings) {
    open();
    EXPECT_FALSE(recent(1)->isVisible()); // nothing listed: the menu ends with Exit
    for (int k = 2; k <= 5; ++k)
        EXPECT_FALSE(recent(k)->isVisible());
    delete window;

    store->values["F1"] = "/p/one.kbe";
    store->values["F3"] = "/p/R&B.kbe";
    open();
    EXPECT_TRUE(recent(1)->isVisible());
    EXPECT_TRUE(recent(2)->isVisible());
    EXPECT_FALSE(recent(3)->isVisible());
    EXPECT_TRUE(recent(4)->isVisible());
    EXPECT_EQ(recent(4)->text(), "/p/R&&B.kbe"); // shown as written, not as a shortcut key
    EXPECT_EQ(menu().ItemPath(4), "/p/R&B.kbe");
    EXPECT_EQ(menu().ItemPath(3), "");
}

TEST_F(FileMenuTest, EverySaveShiftsTheListAndMarksTheNewest) {
    open();
    fillProject();
    const QString a = saveAs("a");
    const QString b = saveAs("b");
    saveAs("a"); // the same path may stand twice
    store->values["F4"] = "/old.kbe";
    const QString c = saveAs("c");
    EXPECT_EQ(store->values.value("F1"), c);
    EXPECT_EQ(store->values.value("F2"), a);
    EXPECT_EQ(store->values.value("F3"), b);
    EXPECT_EQ(store->values.value("F4"), a); // the oldest entry dropped out
    EXPECT_TRUE(recent(2)->isChecked());
    for (int k = 3; k <= 5; ++k)
        EXPECT_FALSE(recent(k)->isChecked());
    EXPECT_EQ(window->Projects().ProjectFile(), c);
}

TEST_F(FileMenuTest, SaveAsOverAnExistingFileAsksOnce) {
    open();
    fillProject();
    const QString existing = saveAs("old");
    for (const QString& typed : {QStringLiteral("old"), QStringLiteral("old.kbe")}) {
        messages->shown.clear();
        messages->answers.clear();
        messages->answers.enqueue(mb::Yes);
        bool dialogAsked = false;
        test::WhenModal<QFileDialog>([&](QFileDialog* dialog) {
            test::WhileOpen<QMessageBox>(dialog, [&](QMessageBox* box) {
                dialogAsked = true;
                box->button(QMessageBox::Yes)->click();
            });
            auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            ASSERT_NE(edit, nullptr);
            edit->setText(typed);
            static_cast<QDialog*>(dialog)->accept(); // its Save button
        });
        item("mnuFile_Z")->trigger();
        EXPECT_FALSE(dialogAsked) << qPrintable(typed);
        ASSERT_EQ(messages->shown.size(), 1) << qPrintable(typed);
        EXPECT_EQ(messages->shown[0].textNumber, 3011);
        EXPECT_TRUE(messages->shown[0].text.contains(existing));
        EXPECT_EQ(window->Projects().ProjectFile(), existing);
    }
}

TEST_F(FileMenuTest, ReopeningFromARecentItemKeepsTheOrderAndMovesTheMark) {
    open();
    fillProject();
    const QString a = saveAs("a");
    const QString b = saveAs("b");
    window->Projects().ResetProject();
    EXPECT_FALSE(recent(2)->isChecked());

    recent(3)->trigger(); // "a"; nothing open, so nothing to ask
    EXPECT_TRUE(messages->shown.isEmpty());
    EXPECT_EQ(window->cPozycje()->Count(), 1);
    EXPECT_EQ(store->values.value("F1"), b);
    EXPECT_EQ(store->values.value("F2"), a);
    EXPECT_TRUE(recent(3)->isChecked());
    EXPECT_FALSE(recent(2)->isChecked());
    EXPECT_EQ(window->Projects().ProjectFile(), a);
    EXPECT_EQ(window->tvwNodes()->topLevelItem(0)->text(0), "a");

    // With sources open it asks first; Cancel changes nothing.
    messages->answers.enqueue(mb::Cancel);
    recent(2)->trigger();
    ASSERT_EQ(messages->shown.size(), 1);
    EXPECT_EQ(messages->shown[0].textNumber, 3008);
    EXPECT_TRUE(recent(3)->isChecked());
    EXPECT_FALSE(recent(2)->isChecked()); // the click itself marks nothing
    EXPECT_EQ(window->Projects().ProjectFile(), a);

    // A listed file that is gone: the open fails, the project and marks stay.
    QFile::remove(b);
    messages->answers.enqueue(mb::No);
    recent(2)->trigger();
    EXPECT_TRUE(recent(3)->isChecked());
    EXPECT_FALSE(recent(2)->isChecked());
    EXPECT_EQ(window->Projects().ProjectFile(), a);
    EXPECT_EQ(window->cPozycje()->Count(), 1);
}

TEST_F(FileMenuTest, ARecentItemOpenedAfterSavingANewProjectFirstIsTheOneMarked) {
    open();
    fillProject();
    const QString a = saveAs("a");
    window->Projects().ResetProject();
    fillProject(); // a project of its own, never saved

    messages->answers.enqueue(mb::Yes); // 3008: save it first
    test::WhenModal<QFileDialog>([&](QFileDialog* dialog) {
        dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText("b");
        static_cast<QDialog*>(dialog)->accept();
    });
    recent(2)->trigger(); // "a"
    EXPECT_EQ(store->values.value("F1"), Program().settings.DestFolder + "/b.kbe");
    EXPECT_EQ(window->Projects().ProjectFile(), a);
    EXPECT_TRUE(recent(3)->isChecked()); // "a", moved down by the save
    EXPECT_FALSE(recent(2)->isChecked());
}

TEST_F(FileMenuTest, TheCommandsReachTheirWork) {
    open();
    for (const char* name : {"mnuFile_Nowy", "mnuFile_O", "mnuFile_Skrypt", "mnuFile_S", "mnuFile_Z",
                             "mnuFile_Add", "mnuFile_Save", "mnuPlik_End(0)"})
        EXPECT_TRUE(item(name)->isEnabled()) << name;

    // Export with nothing open says so; with a source open the dialog comes.
    item("mnuFile_Save")->trigger();
    ASSERT_EQ(messages->shown.size(), 1);
    EXPECT_EQ(messages->shown[0].textNumber, 3014);
    fillProject();
    window->cmdSave()->click();
    ASSERT_TRUE(frmSave::Instance());
    delete frmSave::Instance();
    // The export button follows the menu item, whatever its own state.
    item("mnuFile_Save")->setEnabled(false);
    window->cmdSave()->click();
    EXPECT_FALSE(frmSave::Instance());
    item("mnuFile_Save")->setEnabled(true);

    // Adding goes to the split dialog, which holds the add button while open.
    item("mnuFile_Add")->trigger();
    ASSERT_TRUE(frmPozycje::Instance());
    EXPECT_FALSE(window->cmdDodaj()->isEnabled());
    delete frmPozycje::Instance();

    // Nothing replaces the project while a long operation runs.
    window->SetReady(false);
    item("mnuFile_Nowy")->trigger();
    item("mnuFile_Save")->trigger();
    EXPECT_FALSE(frmSave::Instance());
    EXPECT_EQ(window->cPozycje()->Count(), 1);
    window->SetReady(true);
    messages->answers.enqueue(mb::No); // 3008: leave it unsaved
    item("mnuFile_Nowy")->trigger();
    EXPECT_EQ(window->cPozycje()->Count(), 0);
}

TEST_F(FileMenuTest, AnAutosaveThatFailsSaysSoOnceAndWaitsForTheUsersOwnSave) {
    open();
    fillProject();
    const QString path = saveAs("locked");
    store->values["AutoSave"] = "1";
    QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    const QByteArray before = [&] { QFile f(path); f.open(QIODevice::ReadOnly); return f.readAll(); }();
    messages->shown.clear();
    for (int i = 0; i < 6; ++i)
        autosave().TmrSave_Timer();
    ASSERT_EQ(messages->shown.size(), 1);
    EXPECT_EQ(messages->shown[0].textNumber, 3346);
    EXPECT_FALSE(autosave().IsEnabled());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), before);
    file.close();

    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    item("mnuFile_S")->trigger(); // Save, into the project's own file
    EXPECT_TRUE(autosave().IsEnabled());
}

TEST_F(FileMenuTest, AutosaveRunsOnlyForAProjectWithAFileAndSavesEverySecondTick) {
    open();
    fillProject();
    EXPECT_FALSE(autosave().IsEnabled());
    const QString path = saveAs("auto");
    EXPECT_TRUE(autosave().IsEnabled());

    store->values["AutoSave"] = "1";
    QFile::remove(path);
    autosave().TmrSave_Timer();
    EXPECT_FALSE(QFile::exists(path));
    autosave().TmrSave_Timer();
    EXPECT_TRUE(QFile::exists(path));
    EXPECT_EQ(store->values.value("F2"), ""); // an autosave leaves the recent list alone

    // A tick during a long operation is passed over; the save it owed follows.
    QFile::remove(path);
    autosave().TmrSave_Timer(); // first of two
    window->SetReady(false);
    autosave().TmrSave_Timer();
    EXPECT_FALSE(QFile::exists(path));
    window->SetReady(true);
    autosave().TmrSave_Timer();
    EXPECT_TRUE(QFile::exists(path));

    store->values["AutoSave"] = "0";
    QFile::remove(path);
    for (int i = 0; i < 4; ++i)
        autosave().TmrSave_Timer();
    EXPECT_FALSE(QFile::exists(path));

    // A new project has no file: the timer stops, and even a tick that came
    // would write nothing and ask nothing.
    messages->answers.enqueue(mb::No);
    window->Files().mnuFile_Nowy_Click();
    EXPECT_FALSE(autosave().IsEnabled());
    store->values["AutoSave"] = "1";
    autosave().TmrSave_Timer();
    autosave().TmrSave_Timer();
    EXPECT_EQ(messages->shown.size(), 1); // only the question before the new project
    EXPECT_FALSE(QFile::exists(path));
}

TEST_F(FileMenuTest, TheAutosaveTimerSavesOnItsOwn) {
    open();
    fillProject();
    store->values["AutoSave"] = "2";
    autosave().TmrSave->setInterval(20);
    const QString path = saveAs("timed");
    QFile::remove(path);
    EXPECT_TRUE(QTest::qWaitFor([&] { return QFile::exists(path); }, 2000));
}

TEST_F(FileMenuTest, AProjectLoadedWithTracksLeftOutIsNotAutosavedOverItsFile) {
    open();
    store->values["AutoSave"] = "1";
    autosave().TmrSave->setInterval(20);
    // One track whose source the file does not hold, one with an unusable
    // output name: the load leaves the first out and clears the name.
    cPozycjePlikow files;
    auto file = std::make_shared<cPozycjaPlikow>();
    file->strFileName = test::MediaFile("cbr_noinfo.mp3");
    files.Add(file);
    cPozycjeMP3 tracks;
    for (const auto& [number, source, name] :
         {std::tuple{1, QString("/not/open.mp3"), QString("a.mp3")},
          std::tuple{2, file->strFileName, QString("..")}}) {
        auto t = std::make_shared<cPozycjaMP3>();
        t->lngNrPozycji = number;
        t->strFileNameSource = source;
        t->strFileName = name;
        tracks.Add(t);
    }
    ProjectHeader h;
    h.nextTrackNo = 3;
    const QByteArray bytes = *BuildProjectBytes(h, files, tracks, AnsiCodec());
    const QString path = test::WriteFile(Program().settings.DestFolder + "/partial.kbe", bytes);

    ASSERT_TRUE(window->OtworzPlik(path, 1, false, false));
    ASSERT_EQ(messages->shown.size(), 2);
    EXPECT_EQ(messages->shown[0].textNumber, 3342);
    EXPECT_EQ(messages->shown[1].textNumber, 3345);
    EXPECT_FALSE(autosave().IsEnabled());
    QTest::qWait(200);
    QFile kept(path);
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), bytes);
    kept.close();

    // The user's own save writes it, and from then on the autosave runs.
    item("mnuFile_S")->trigger();
    EXPECT_TRUE(autosave().IsEnabled());
    QFile::remove(path);
    EXPECT_TRUE(QTest::qWaitFor([&] { return QFile::exists(path); }, 2000));
}

TEST_F(FileMenuTest, AnAutosaveLeavesFrameHeaderEditsToTheFrameEditorsSave) {
    open();
    fillProject();
    Program().session.NextFileId = 2; // the source took id 1
    saveAs("frames");
    store->values["AutoSave"] = "1";
    item("mnuEdytor")->trigger();
    auto* editor = window->findChild<frmFrame*>();
    ASSERT_NE(editor, nullptr);
    messages->answers.enqueue(mb::Yes); // 3098: read the source's frames
    editor->cboPlik->setCurrentIndex(0);
    editor->cboLayer->setCurrentIndex(editor->cboLayer->findData(4));
    ASSERT_TRUE(editor->cmdSave->isEnabled());

    // The project is written; the edited headers are still only in memory.
    autosave().TmrSave_Timer();
    autosave().TmrSave_Timer();
    item("mnuFile_S")->trigger();
    editor->VScroll1->setValue(0); // the next frame
    EXPECT_TRUE(editor->cmdSave->isEnabled());
}

TEST_F(FileMenuTest, AnAutosaveWaitsWhileTheUserDecidesWhetherToSave) {
    open();
    fillProject();
    Program().session.NextFileId = 2; // the source took id 1
    const QString path = saveAs("asked");
    store->values["AutoSave"] = "1";
    const auto bytes = [&] { QFile f(path); f.open(QIODevice::ReadOnly); return f.readAll(); };
    const QByteArray saved = bytes();
    window->cPozycje()->Item(1)->strLabel = "Changed";
    window->cPozycje()->Item(1)->blnZmodyfikowana = true;

    // New asks whether to save first; minutes pass before the user says No.
    messages->whileShown = [&](const MessageRequest&) {
        autosave().TmrSave_Timer();
        autosave().TmrSave_Timer();
    };
    messages->answers.enqueue(mb::No);
    item("mnuFile_Nowy")->trigger();
    ASSERT_FALSE(messages->shown.isEmpty());
    EXPECT_EQ(messages->shown.first().textNumber, 3008);
    EXPECT_EQ(bytes(), saved);
}
