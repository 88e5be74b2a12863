// Frame header edits made in the frame header editor and not yet written into
// the file: closing the main window, New project and Open project first let
// the user write them, throw them away or go back. The editor's list of files
// follows the open files through New, Open and a source closed.
#include "core/app/ProgramObjects.h"
#include "core/app/TextNumbers.h"
#include "core/document/cPozycjaMP3.h"
#include "core/document/cPozycjaPlikow.h"
#include "core/document/cPozycjeMP3.h"
#include "core/document/cPozycjePlikow.h"
#include "core/project/ProjectFileWriter.h"
#include "gui/app/ModalDriver.h"
#include "gui/document/frmFrame.h"
#include "gui/document/frmHidden.h"
#include "gui/document/frmPliki.h"
#include "gui/mainwindow/FakeProgramEnd.h"
#include "gui/mainwindow/MainClose.h"
#include "gui/mainwindow/MainMenus.h"
#include "gui/mainwindow/ProjectCommands.h"
#include "gui/mainwindow/frmDazudizi.h"
#include "platform/text/AnsiCodec.h"
#include "support/BasicServices.h"
#include "support/ProgramState.h"
#include "support/ScriptedMessages.h"
#include "support/TestEnvironment.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

using namespace kelbrin;

namespace {

class UnwrittenFrameEdits : public ::testing::Test {
protected:
    void SetUp() override {
        test::ResetProgramObjects();
        Program().session.OpenFiles = std::make_shared<cPozycjePlikow>();
        services = std::make_unique<test::BasicServices>(
            QMap<QString, QString>{{"WindowState", "0"}, {"AdvView", "0"}});
        messages = services->messages;
        Program().settings.DestFolder = test::MakeTempDir("dest");
        window = new frmDazudizi(Program());
        window->setAttribute(Qt::WA_DeleteOnClose, false);
        window->PokazMnie();
        end = test::CountProgramEnd(*window);

        // A project of one track, its source a copy that may be written.
        source = test::MakeTempDir("src") + "/source.mp3";
        QFile::copy(test::MediaFile("cbr_noinfo.mp3"), source);
        auto file = std::make_shared<cPozycjaPlikow>();
        file->strFileName = source;
        file->lngNrPozycji = 1;
        Program().session.OpenFiles->Add(file);
        Program().session.NextFileId = 2;
        auto t = std::make_shared<cPozycjaMP3>();
        t->lngNrPozycji = 1;
        t->strFileNameSource = source;
        window->cPozycje()->Add(t);
        Program().session.NextTrackNo = 2;
        original = bytes();

        // The user flips the copyright bit of frame 1 in the frame header editor.
        window->Menus().item("mnuEdytor")->trigger();
        editor = window->findChild<frmFrame*>();
        ASSERT_NE(editor, nullptr);
        messages->answers.enqueue(mb::Yes); // 3098: read the source's frames
        editor->cboPlik->setCurrentIndex(0);
        editor->cboCopyrights->setCurrentIndex(editor->cboCopyrights->currentIndex() == 0 ? 1 : 0);
        ASSERT_TRUE(editor->cmdSave->isEnabled());
        messages->shown.clear();
    }
    void TearDown() override {
        delete window;
        services.reset();
    }
    QByteArray bytes() const {
        QFile f(source);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    QList<int> asked() {
        QList<int> numbers;
        for (const MessageRequest& r : messages->shown)
            numbers << r.textNumber;
        messages->shown.clear();
        return numbers;
    }
    // Another project whose one source, another copy, has the id the first
    // project's source had; the copy's path.
    QString writeOtherProject() {
        const QString other = test::MakeTempDir("other") + "/other.mp3";
        QFile::copy(test::MediaFile("cbr_noinfo.mp3"), other);
        cPozycjePlikow files;
        auto file = std::make_shared<cPozycjaPlikow>();
        file->strFileName = other;
        file->lngNrPozycji = 1;
        files.Add(file);
        cPozycjeMP3 tracks;
        auto t = std::make_shared<cPozycjaMP3>();
        t->lngNrPozycji = 1;
        t->strFileNameSource = other;
        tracks.Add(t);
        ProjectHeader h;
        h.nextTrackNo = 2;
        h.nextFileId = 2;
        otherProject = test::WriteFile(Program().settings.DestFolder + "/other.kbe",
                                       *BuildProjectBytes(h, files, tracks, AnsiCodec()));
        return other;
    }
    // File > Open on that project.
    void openOtherProject() {
        test::WhenModal<QFileDialog>([&](QFileDialog* dialog) {
            dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(otherProject);
            static_cast<QDialog*>(dialog)->accept();
        });
        choose("mnuFile_O", {});
        ASSERT_EQ(window->Projects().ProjectFile(), otherProject);
        messages->shown.clear();
    }
    // Answers in order, then the menu item.
    void choose(const char* item, std::initializer_list<int> answers) {
        for (int a : answers)
            messages->answers.enqueue(a);
        window->Menus().item(QLatin1String(item))->trigger();
    }

    test::ScriptedMessages* messages = nullptr;
    std::unique_ptr<test::BasicServices> services;
    frmDazudizi* window = nullptr;
    test::FakeProgramEnd* end = nullptr;
    QPointer<frmFrame> editor;
    QString otherProject;
    QString source;
    QByteArray original;
};

TEST_F(UnwrittenFrameEdits, TheHiddenTextWindowWritesNoFileThatTookAnOldNumber) {
    window->Menus().item("mnuHidden")->trigger();
    QPointer<frmHidden> hidden = window->findChild<frmHidden*>();
    ASSERT_TRUE(hidden);
    messages->answers.enqueue(mb::Yes); // 3098, should the frames be read again
    hidden->cboPlik->setCurrentIndex(0);
    const QString other = writeOtherProject();
    choose("mnuFile_Nowy", {mb::No, mb::No});
    ASSERT_NO_FATAL_FAILURE(openOtherProject());
    QFile f(other);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray before = f.readAll();
    f.close();

    ASSERT_TRUE(hidden);
    messages->answers.enqueue(mb::Yes); // 3098, should the file be scanned
    hidden->cmdRefresh->click();
    hidden->cmdEdit->click();
    QTest::keyClicks(hidden->txtTekst, QStringLiteral("hi"));
    messages->answers.enqueue(mb::Yes); // 3029: write
    hidden->cmdHidden->click();
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), before) << "the entry named the first project's source";
    EXPECT_EQ(hidden->cboPlik->currentIndex(), -1);
}

} // namespace

TEST_F(UnwrittenFrameEdits, ClosingAsksFirstAndNoAnswerLosesAnEditBeforeTheCloseGoesOn) {
    // Cancel: nothing else is asked, the window and the edit stay.
    messages->answers.enqueue(mb::Cancel);
    EXPECT_FALSE(window->close());
    ASSERT_EQ(asked(), QList<int>{texts::kHeaderEditsUnwritten});
    EXPECT_TRUE(window->isVisible());

    // No, then Cancel to the project's question: the edit is still there.
    messages->answers.enqueue(mb::No);
    messages->answers.enqueue(mb::Cancel);
    EXPECT_FALSE(window->close());
    EXPECT_EQ(asked(), (QList<int>{texts::kHeaderEditsUnwritten, 3023}));
    EXPECT_EQ(bytes(), original);

    // A write that fails keeps the window open, its message shown.
    QFile::rename(source, source + ".away");
    messages->answers.enqueue(mb::Yes);
    EXPECT_FALSE(window->close());
    EXPECT_EQ(asked(), (QList<int>{texts::kHeaderEditsUnwritten, 6500}));
    EXPECT_EQ(end->ended, 0);
    QFile::rename(source + ".away", source);

    // Yes writes frame 1's header into the file, then the project is asked.
    messages->answers.enqueue(mb::Yes);
    messages->answers.enqueue(mb::No);
    EXPECT_TRUE(window->close());
    EXPECT_EQ(asked(), (QList<int>{texts::kHeaderEditsUnwritten, 3023}));
    const QByteArray written = bytes();
    ASSERT_EQ(written.size(), original.size());
    qsizetype changed = 0;
    for (qsizetype i = 0; i < written.size(); ++i)
        changed += written.at(i) != original.at(i);
    EXPECT_EQ(changed, 1);
    EXPECT_EQ(end->ended, 1);
}

TEST_F(UnwrittenFrameEdits, NewAndOpenProjectAskFirstAndAWrittenEditIsNotAskedAgain) {
    // Cancel keeps the project as it was, its own question unasked.
    choose("mnuFile_Nowy", {mb::Cancel});
    EXPECT_EQ(asked(), QList<int>{texts::kHeaderEditsUnwritten});
    EXPECT_EQ(window->cPozycje()->Count(), 1);
    choose("mnuFile_O", {mb::Cancel});
    EXPECT_EQ(asked(), QList<int>{texts::kHeaderEditsUnwritten});

    // Yes writes the edit; the project's Cancel then stops the opening.
    choose("mnuFile_O", {mb::Yes, mb::Cancel});
    EXPECT_EQ(asked(), (QList<int>{texts::kHeaderEditsUnwritten, 3008}));
    EXPECT_NE(bytes(), original);

    // Written, the edit is no longer in question: New asks only the project's.
    choose("mnuFile_Nowy", {mb::No});
    EXPECT_EQ(asked(), QList<int>{3008});
    EXPECT_EQ(window->cPozycje()->Count(), 0);
}

TEST_F(UnwrittenFrameEdits, AfterNewAndOpenTheEditorListsOnlyTheOpenFilesAndSavesOnlyTheOneNamed) {
    const QString other = writeOtherProject();

    // New, the edit thrown away and the project not saved: nothing is open.
    choose("mnuFile_Nowy", {mb::No, mb::No});
    ASSERT_TRUE(editor);
    EXPECT_EQ(editor->cboPlik->count(), 0);
    EXPECT_FALSE(editor->cmdSave->isEnabled());
    ASSERT_NO_FATAL_FAILURE(openOtherProject());

    QStringList listed, open;
    for (int i = 0; i < editor->cboPlik->count(); ++i)
        listed << editor->cboPlik->itemText(i);
    for (std::int32_t i = 1; i <= Program().session.OpenFiles->Count(); ++i)
        open << Program().session.OpenFiles->Item(i)->strFileName;
    EXPECT_EQ(listed.join('\n'), open.join('\n'));
    ASSERT_EQ(open, QStringList{other});

    // Whatever entry the user picks, Save writes the file it names and no other.
    const QString paths[] = {source, other};
    for (int i = 0; i < editor->cboPlik->count(); ++i) {
        QList<QByteArray> before;
        for (const QString& path : paths) {
            QFile f(path);
            before << (f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray());
        }
        messages->answers.enqueue(mb::Yes); // 3098: read the file's frames
        editor->cboPlik->setCurrentIndex(i);
        editor->cboCopyrights->setCurrentIndex(editor->cboCopyrights->currentIndex() == 0 ? 1 : 0);
        messages->answers.enqueue(mb::Yes); // 3029: write
        editor->cmdSave->click();
        for (int k = 0; k < 2; ++k) {
            QFile f(paths[k]);
            ASSERT_TRUE(f.open(QIODevice::ReadOnly));
            const bool named = paths[k] == editor->cboPlik->itemText(i);
            EXPECT_EQ(f.readAll() != before[k], named) << qPrintable(editor->cboPlik->itemText(i));
        }
    }
}

TEST_F(UnwrittenFrameEdits, ASourceClosedInTheOpenFilesWindowLeavesTheEditorsList) {
    // A second source, without tracks, listed by the editor opened anew.
    const QString other = test::MakeTempDir("other") + "/other.mp3";
    QFile::copy(test::MediaFile("cbr_noinfo.mp3"), other);
    auto file = std::make_shared<cPozycjaPlikow>();
    file->strFileName = other;
    file->lngNrPozycji = Program().session.NextFileId++;
    Program().session.OpenFiles->Add(file);
    editor->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    window->Menus().item("mnuEdytor")->trigger();
    editor = window->findChild<frmFrame*>();
    ASSERT_TRUE(editor);
    ASSERT_EQ(editor->cboPlik->count(), 2);

    // File > list of open files, Remove, Yes.
    messages->answers.enqueue(mb::Yes);
    window->Menus().item("mnuFile_Lista")->trigger();
    auto* files = window->findChild<frmPliki*>();
    ASSERT_TRUE(files);
    const auto rows = files->lstFile->findItems(other, Qt::MatchExactly);
    ASSERT_EQ(rows.size(), 1);
    files->lstFile->setCurrentItem(rows[0]);
    QTest::mouseClick(files->cmdUsun, Qt::LeftButton);
    files->close();

    ASSERT_EQ(editor->cboPlik->count(), 1);
    EXPECT_EQ(editor->cboPlik->itemText(0), source);
}
