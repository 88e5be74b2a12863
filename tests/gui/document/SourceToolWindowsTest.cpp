#include "ToolTestHost.h"
#include "core/app/MessageService.h"
#include "core/app/ProgramObjects.h"
#include "support/ProgramState.h"
#include "core/app/TextCatalog.h"
#include "core/document/HiddenText.h"
#include "core/document/Id3v1Tag.h"
#include "core/document/PlayerGraphs.h"
#include "core/document/cPozycjePlikow.h"
#include "gui/document/frmFrame.h"
#include "gui/document/frmHidden.h"
#include "gui/app/ModalDriver.h"
#include "gui/app/QtMessageService.h"
#include "gui/document/frmTAG.h"
#include "platform/settings/MemorySettingsStore.h"
#include "platform/text/AnsiCodec.h"
#include "support/ScriptedMessages.h"
#include "support/TestEnvironment.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>

#include "support/BasicServices.h"

using namespace kelbrin;

namespace {

QByteArray ReadAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QString CopyMedia(const QString& name) {
    return test::WriteFile(test::MakeTempDir(QStringLiteral("tools")) + QLatin1Char('/') + name,
                           ReadAll(test::MediaFile(name)));
}

class CountingPlayers final : public PlayerGraphs {
public:
    explicit CountingPlayers(int& count) : m_count(count) {}
    void ReleaseGraphsBeforeTagWrite() override { ++m_count; }

private:
    int& m_count;
};

class SourceToolWindowsTest : public ::testing::Test, protected test::BasicServices {
protected:
    void SetUp() override {
        test::ResetProgramObjects();
        Program().session.OpenFiles = std::make_shared<cPozycjePlikow>();
        host.players = &players;
    }
    void TearDown() override {
        QList<QPointer<QWidget>> windows;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (!w->parent())
                windows.append(w);
        for (const QPointer<QWidget>& w : windows)
            delete w.data();
        test::ResetProgramObjects();
    }
    // An open file that keeps header bytes, scanned.
    std::shared_ptr<cPozycjaPlikow> openScanned(const QString& path) {
        QString opened;
        auto file = host.openScanned(path, &opened);
        EXPECT_EQ(opened, path);
        return file;
    }
    QList<int> shownNumbers() const {
        QList<int> numbers;
        for (const auto& m : messages->shown)
            numbers.append(m.textNumber);
        return numbers;
    }

    test::ToolTestHost host;
    int releases = 0;
    CountingPlayers players{releases};
};

} // namespace

TEST_F(SourceToolWindowsTest, TagEditorShowsTheBlockLimitsItsFieldsAndSavesInPlace) {
    const QString path = CopyMedia(QStringLiteral("id3v1.mp3"));
    auto file = std::make_shared<cPozycjaPlikow>();
    file->strFileName = path;
    // The caption is the catalogue's, in each language.
    Catalog().setLanguage("POLSKI");
    QPointer<frmTAG> w = frmTAG::PokazMnie(file, players);
    ASSERT_TRUE(w);
    EXPECT_EQ(w->windowTitle(), QString::fromUtf8("Informacje o utworze"));
    w->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    Catalog().setLanguage("ENGLISH");
    w = frmTAG::PokazMnie(file, players);
    ASSERT_TRUE(w);
    EXPECT_EQ(w->windowTitle(), "Track Info");
    EXPECT_EQ(w->txtTitle->text(), "Test Title");
    EXPECT_EQ(w->txtArtist->text(), "Test Artist");
    EXPECT_EQ(w->txtYear->text(), "2024");
    EXPECT_EQ(w->cboGenre->count(), 149);
    EXPECT_EQ(w->Label[1]->text(), CatalogText(2142));
    EXPECT_FALSE(w->txtTrack->isEnabled());

    w->txtComment->setText(QString(30, 'c'));
    w->chkID3->setChecked(true);
    EXPECT_EQ(w->txtComment->text(), QString(28, 'c'));
    EXPECT_TRUE(w->txtTrack->isEnabled());
    w->txtTrack->setText("300");
    EXPECT_EQ(w->txtTrack->text(), "255");
    w->txtTitle->setText(QString(40, 't'));
    EXPECT_EQ(w->txtTitle->text().size(), 30);
    w->cboGenre->setCurrentIndex(w->cboGenre->findData(255));

    const QByteArray before = ReadAll(path);
    w->cmdSave_Click();
    EXPECT_EQ(releases, 1);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(w); // closed after a successful save
    const QByteArray after = ReadAll(path);
    ASSERT_EQ(after.size(), before.size());
    EXPECT_EQ(after.left(after.size() - 128), before.left(before.size() - 128));
    const Id3v1Tag tag = *ReadId3v1(path, AnsiCodec()).tag;
    EXPECT_EQ(tag.track, 255);
    EXPECT_EQ(tag.genre, 255);
    EXPECT_EQ(tag.comment, QString(28, 'c'));
}

// Fault mended: Escape pressed to dismiss a box closed the box on its press
// and the tag editor, with the user's edits, on its release.
TEST_F(SourceToolWindowsTest, TheReleaseOfAnEscapeThatDismissedABoxLeavesTheTagEditorOpen) {
    const QString path = CopyMedia(QStringLiteral("id3v1.mp3"));
    auto file = std::make_shared<cPozycjaPlikow>();
    file->strFileName = path;
    auto scripted = SetMessageService(std::make_unique<QtMessageService>());
    QPointer<frmTAG> w = frmTAG::PokazMnie(file, players);
    ASSERT_TRUE(w);
    ASSERT_TRUE(QTest::qWaitForWindowActive(w));
    w->txtTitle->setText("Typed, not saved");
    QFile::remove(path); // the save fails and says so
    test::WhenModal<QMessageBox>([](QMessageBox* box) { QTest::keyPress(box, Qt::Key_Escape); });
    QTest::mouseClick(w->cmdSave, Qt::LeftButton);
    test::ExpectOnlyItsOwnKeyCloses(w.data(), Qt::Key_Escape);
    SetMessageService(std::move(scripted));
}

TEST_F(SourceToolWindowsTest, TagEditorKeepsANamelessGenreAndStaysOpenWhenTheFileIsGone) {
    QByteArray bytes(500, 'a');
    Id3v1Tag odd;
    odd.genre = 200;
    bytes += *BuildId3v1(odd, AnsiCodec());
    const QString path = test::WriteFile(test::MakeTempDir("tag") + "/odd.mp3", bytes);
    auto file = std::make_shared<cPozycjaPlikow>();
    file->strFileName = path;
    QPointer<frmTAG> w = frmTAG::PokazMnie(file, players);
    ASSERT_TRUE(w);
    EXPECT_EQ(w->cboGenre->count(), 150);
    EXPECT_EQ(w->cboGenre->currentText(), "(200)");
    w->cmdSave_Click();
    EXPECT_EQ(static_cast<std::uint8_t>(ReadAll(path).at(627)), 200);

    w = frmTAG::PokazMnie(file, players);
    QFile::remove(path);
    w->cmdSave_Click();
    EXPECT_TRUE(w && w->isVisible());
    EXPECT_EQ(shownNumbers(), QList<int>{6500});
    EXPECT_FALSE(QFileInfo::exists(path));

    file->strFileName = path + ".none";
    EXPECT_EQ(frmTAG::PokazMnie(file, players), nullptr); // nothing shown, nothing said
    EXPECT_EQ(shownNumbers(), QList<int>{6500});
}

TEST_F(SourceToolWindowsTest, HiddenTextWindowReadsWritesAndRefusesUnmappableText) {
    const QString path = CopyMedia(QStringLiteral("cbr_noinfo.mp3"));
    auto file = openScanned(path);
    QPointer<frmHidden> w = frmHidden::PokazMnie(host);
    ASSERT_EQ(w->cboPlik->count(), 1);
    EXPECT_EQ(w->cboPlik->currentIndex(), -1);
    EXPECT_FALSE(w->cmdHidden->isEnabled());
    w->cboPlik->setCurrentIndex(0);
    EXPECT_EQ(w->lblTekst->text(), QString());

    w->cmdEdit_Click();
    EXPECT_TRUE(w->txtTekst->isVisible());
    w->txtTekst->setPlainText("Secret");
    EXPECT_TRUE(w->cmdHidden->isEnabled());
    messages->answers.enqueue(mb::No);
    w->cmdHidden_Click();
    EXPECT_EQ(ReadAll(path), ReadAll(test::MediaFile("cbr_noinfo.mp3")));

    messages->answers.enqueue(mb::Yes);
    w->cmdHidden_Click();
    EXPECT_GT(host.steps, 0);
    EXPECT_FALSE(host.busy);
    w->cmdRefresh_Click();
    EXPECT_FALSE(w->txtTekst->isVisible());
    EXPECT_EQ(w->lblTekst->text(), "Secret");

    // A character the code page cannot hold: refused before anything is written.
    const QByteArray written = ReadAll(path);
    w->txtTekst->setPlainText(QStringLiteral("日本"));
    messages->answers.enqueue(mb::Yes);
    w->cmdHidden_Click();
    EXPECT_EQ(shownNumbers().last(), 6503);
    EXPECT_EQ(ReadAll(path), written);

    // Another long operation holds the program: nothing is written.
    w->txtTekst->setPlainText("Other");
    host.busy = true;
    messages->answers.enqueue(mb::Yes);
    w->cmdHidden_Click();
    EXPECT_EQ(ReadAll(path), written);
    host.busy = false;
}

// Fault mended: a text longer than the file's frames hold was written cut
// short (its last character with only some of its bits) and the window said
// nothing, so the user believed the whole text hidden.
TEST_F(SourceToolWindowsTest, HiddenTextWindowRefusesATextTheFramesCannotHold) {
    const QString path = CopyMedia(QStringLiteral("cbr_noinfo.mp3"));
    auto file = openScanned(path);
    const int fits = file->Daj_Naglowek_Ilosc() / 8;
    ASSERT_GT(fits, 10);
    QPointer<frmHidden> w = frmHidden::PokazMnie(host);
    w->cboPlik->setCurrentIndex(0);
    w->cmdEdit_Click();
    const QByteArray before = ReadAll(path);

    w->txtTekst->setPlainText(QString(fits + 1, QLatin1Char('x')));
    messages->answers.enqueue(mb::Yes);
    QTest::mouseClick(w->cmdHidden, Qt::LeftButton);
    ASSERT_FALSE(shownNumbers().isEmpty());
    EXPECT_EQ(shownNumbers().last(), 7325);
    EXPECT_EQ(ReadAll(path), before);

    // A text that fills every character the frames hold is written whole.
    const QString full = QString(fits - 1, QLatin1Char('y')) + QLatin1Char('z');
    w->txtTekst->setPlainText(full);
    messages->answers.enqueue(mb::Yes);
    QTest::mouseClick(w->cmdHidden, Qt::LeftButton);
    w->cmdRefresh_Click();
    EXPECT_EQ(w->lblTekst->text(), full);
}

// Fault mended: the hidden-text window listed only files opened by the tools,
// so with the project's sources open (the tag editor lists them) its list was
// empty.
TEST_F(SourceToolWindowsTest, HiddenTextWindowListsTheProjectsSourcesAndReadsThemThroughItsOwnCopy) {
    const QString path = CopyMedia(QStringLiteral("cbr_noinfo.mp3"));
    auto source = std::make_shared<cPozycjaPlikow>();
    source->strFileName = path;
    source->lngNrPozycji = Program().session.NextFileId++;
    Program().session.OpenFiles->Add(source);
    QPointer<frmHidden> w = frmHidden::PokazMnie(host);
    ASSERT_EQ(w->cboPlik->count(), 1);
    EXPECT_EQ(w->cboPlik->itemText(0), path);
    EXPECT_EQ(w->cboPlik->currentIndex(), -1);

    // Chosen with the keyboard: the tools' own record of the file is scanned.
    messages->answers.enqueue(mb::Yes);
    w->cboPlik->setFocus();
    QTest::keyClick(w->cboPlik, Qt::Key_Down);
    EXPECT_EQ(shownNumbers(), QList<int>{3098});
    ASSERT_EQ(Program().session.OpenFiles->Count(), 2);
    const auto copy = Program().session.OpenFiles->Item(2);
    EXPECT_TRUE(copy->blnExtraArray);
    EXPECT_EQ(copy->strFileName, path);
    EXPECT_GT(copy->Daj_Naglowek_Ilosc(), 0);
    EXPECT_FALSE(source->blnExtraArray);
    EXPECT_EQ(w->lblTekst->text(), QString());

    // Written and read back through that copy; listed once when shown again.
    w->cmdEdit->click();
    QTest::keyClicks(w->txtTekst, QStringLiteral("Secret"));
    messages->answers.enqueue(mb::Yes);
    w->cmdHidden->click();
    w->cmdRefresh->click();
    EXPECT_EQ(w->lblTekst->text(), "Secret");
    frmHidden::PokazMnie(host);
    EXPECT_EQ(w->cboPlik->count(), 1);
}

TEST_F(SourceToolWindowsTest, ClosingTheHiddenTextWindowDuringAWriteAsksAndStopsCleanly) {
    const QString path = CopyMedia(QStringLiteral("cbr_noinfo.mp3"));
    auto file = openScanned(path);
    QPointer<frmHidden> w = frmHidden::PokazMnie(host);
    w->cboPlik->setCurrentIndex(0);
    w->txtTekst->setPlainText(QString(40, 'x'));
    int closeAttempts = 0;
    host.onProgress = [&](std::int64_t value) {
        if (value == 50 && closeAttempts++ == 0) {
            messages->answers.enqueue(mb::No); // keep writing
            w->close();
            EXPECT_TRUE(w->isVisible());
        } else if (value == 100) {
            messages->answers.enqueue(mb::Yes); // stop
            w->close();
        }
    };
    messages->answers.enqueue(mb::Yes);
    w->cmdHidden_Click();
    EXPECT_EQ(shownNumbers().count(6507), 2);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(w); // closed once the write stopped
    EXPECT_FALSE(host.busy);
    // Frames 1-99 were written, the rest not.
    const QByteArray codes(40, 'x');
    for (std::int32_t k = 1; k <= 120; ++k)
        EXPECT_EQ(file->Daj_Naglowek_Header3(k) & 1, k < 100 && HiddenTextBit(codes, k) ? 1 : 0)
            << k;
}

TEST_F(SourceToolWindowsTest, FrameEditorShowsAnMpeg25FrameAsItIs) {
    // lame at 8 kHz and 16 kbit/s: MPEG 2.5 Layer III, ten seconds.
    const QString path = CopyMedia(QStringLiteral("mpeg25_l3.mp3"));
    auto file = openScanned(path);
    QPointer<frmFrame> w = frmFrame::PokazMnie(host);
    w->cboPlik->setCurrentIndex(0);
    w->txtRamka->setText("2");
    EXPECT_EQ(w->cboVersion->currentData().toInt(), 0x00);
    EXPECT_EQ(w->cboSamplingRate->currentText(), "8 kHz");
    EXPECT_EQ(w->cboBiteRate->currentText(), "16");
    // Its last byte is the one before the next frame, the whole file is indexed.
    EXPECT_EQ(w->lblInfo[3]->text(), QString::number(file->Daj_Naglowek_Offset(3) - 1));
    EXPECT_NEAR(w->lblInfo[2]->text().toDouble(), 10.0, 0.2);
}

TEST_F(SourceToolWindowsTest, FrameEditorShowsFramesRefillsListsAndWritesBackOnlyEdits) {
    const QString path = CopyMedia(QStringLiteral("mpeg2_l3.mp3"));
    auto file = openScanned(path);
    QPointer<frmFrame> w = frmFrame::PokazMnie(host);
    EXPECT_EQ(w->txtRamka->text(), "1");
    EXPECT_EQ(w->cboVersion->currentIndex(), 3);
    EXPECT_EQ(w->cboBiteRate->count(), 15); // MPEG-1 Layer III
    EXPECT_EQ(w->cboBiteRate->currentIndex(), 0);
    EXPECT_FALSE(w->cboExtension->isEnabled());
    EXPECT_FALSE(w->cmdSave->isEnabled());

    w->cboPlik->setCurrentIndex(0);
    EXPECT_EQ(w->cboVersion->currentData().toInt(), 0x10);
    EXPECT_EQ(w->cboLayer->currentData().toInt(), 0x02);
    EXPECT_EQ(w->cboBiteRate->currentText(), "64");
    EXPECT_EQ(w->lblInfo[8]->text(), QString::number(file->Daj_Naglowek_Ilosc()));
    EXPECT_EQ(w->txtOffset->text(), QString::number(file->Daj_Naglowek_Offset(1)));
    EXPECT_TRUE(w->cmdTAG->isEnabled());
    EXPECT_FALSE(w->cmdSave->isEnabled());
    w->cmdTAG_Click(); // the tag editor for the same file
    bool tagEditorShown = false;
    for (QWidget* top : QApplication::topLevelWidgets())
        tagEditorShown = tagEditorShown || (qobject_cast<frmTAG*>(top) && top->isVisible());
    EXPECT_TRUE(tagEditorShown);

    // Moving about never marks a frame.
    w->VScroll1->setValue(0); // the upper arrow: the next frame
    EXPECT_EQ(w->txtRamka->text(), "2");
    w->VScroll1->setValue(2);
    EXPECT_EQ(w->txtRamka->text(), "1");
    w->txtRamka->setText("999999");
    w->txtRamka->setText("3");
    for (std::int32_t k = 1; k <= file->Daj_Naglowek_Ilosc(); ++k)
        ASSERT_TRUE(file->Daj_Naglowek_Header2(k) & 0x40) << k;
    EXPECT_FALSE(w->cmdSave->isEnabled());

    // Layer II on an MPEG-2 frame at 64 kbit/s keeps the entry "64".
    const std::uint8_t b4 = file->Daj_Naglowek_Header4(3);
    w->cboLayer->setCurrentIndex(w->cboLayer->findData(4));
    EXPECT_EQ(w->cboBiteRate->currentText(), "64");
    EXPECT_EQ(w->cboBiteRate->count(), 15);
    EXPECT_EQ(file->Daj_Naglowek_Header2(3) & 0x06, 0x04);
    EXPECT_EQ(file->Daj_Naglowek_Header2(3) & 0x40, 0);
    EXPECT_EQ(file->Daj_Naglowek_Header4(3), b4 & ~0x30);
    EXPECT_TRUE(w->cmdSave->isEnabled());
    EXPECT_TRUE(file->blnZmodyfikowana);
    EXPECT_TRUE(file->Daj_Naglowek_Header2(4) & 0x40);
    w->cboChannelMode->setCurrentIndex(w->cboChannelMode->findData(0x40));
    EXPECT_TRUE(w->cboExtension->isEnabled());

    // The offset box takes only offsets inside the file.
    const QString offset = w->txtOffset->text();
    w->txtOffset->setText("999999999");
    emit w->txtOffset->textEdited(w->txtOffset->text());
    EXPECT_EQ(w->txtOffset->text(), offset);

    const QByteArray before = ReadAll(path);
    messages->answers.enqueue(mb::Yes);
    w->cmdSave_Click();
    EXPECT_FALSE(w->cmdSave->isEnabled());
    const QByteArray after = ReadAll(path);
    const std::int64_t start = file->Daj_Naglowek_Offset(3) - 1;
    for (qsizetype i = 0; i < after.size(); ++i)
        if (after.at(i) != before.at(i)) {
            EXPECT_TRUE(i > start && i < start + 4) << i;
        }
    EXPECT_EQ(static_cast<std::uint8_t>(after.at(start + 1)) & 0x06, 0x04);
    EXPECT_EQ(static_cast<std::uint8_t>(after.at(start + 1)) & 0x40, 0x40);
}

TEST_F(SourceToolWindowsTest, FrameEditorClosingDuringAWriteStopsIt) {
    const QString path = CopyMedia(QStringLiteral("cbr_noinfo.mp3"));
    auto file = openScanned(path);
    for (std::int32_t k = 1; k <= file->Daj_Naglowek_Ilosc(); ++k)
        file->Naglowek_Przypisz(2, k, file->Daj_Naglowek_Header2(k) & ~0x40);
    file->Naglowek_Przypisz(4, 200, file->Daj_Naglowek_Header4(200) ^ 0x08);
    QPointer<frmFrame> w = frmFrame::PokazMnie(host);
    w->cboPlik->setCurrentIndex(0);
    host.onProgress = [&](std::int64_t value) {
        if (value == 100) {
            messages->answers.enqueue(mb::Yes);
            w->close();
        }
    };
    const QByteArray before = ReadAll(path);
    messages->answers.enqueue(mb::Yes);
    w->cmdSave_Click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(w);
    EXPECT_EQ(ReadAll(path), before); // frame 200 was never reached
    EXPECT_FALSE(host.busy);
}

// Fault mended: a number past the file's end, refused at its fifth digit, left
// the frame at offset 9999, and an emptied box at the last digit kept: Save
// wrote the header into the middle of the audio.
TEST_F(SourceToolWindowsTest, FrameEditorRefusedOrEmptiedOffsetKeepsTheFrameWhereItWas) {
    const QString path = CopyMedia(QStringLiteral("mpeg2_l3.mp3"));
    auto file = openScanned(path);
    QPointer<frmFrame> w = frmFrame::PokazMnie(host);
    w->cboPlik->setCurrentIndex(0);
    QApplication::setActiveWindow(w);
    w->txtRamka->setFocus();
    QCoreApplication::processEvents(); // the box selects its text on focus
    QTest::keyClicks(w->txtRamka, "3");
    ASSERT_EQ(w->txtRamka->text(), "3");
    const QString offset = QString::number(file->Daj_Naglowek_Offset(3));
    ASSERT_EQ(w->txtOffset->text(), offset);

    w->txtOffset->setFocus();
    QTest::keyClick(w->txtOffset, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(w->txtOffset, "99999999"); // the file holds 80 kB
    EXPECT_EQ(w->txtOffset->text(), offset);
    EXPECT_EQ(QString::number(file->Daj_Naglowek_Offset(3)), offset);

    QTest::keyClick(w->txtOffset, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(w->txtOffset, "12");
    QTest::keyClick(w->txtOffset, Qt::Key_Backspace);
    QTest::keyClick(w->txtOffset, Qt::Key_Backspace);
    QTest::keyClick(w->txtOffset, Qt::Key_Tab);
    EXPECT_EQ(w->txtOffset->text(), offset);
    EXPECT_EQ(QString::number(file->Daj_Naglowek_Offset(3)), offset);

    const QByteArray before = ReadAll(path);
    messages->answers.enqueue(mb::Yes);
    w->cmdSave->click();
    EXPECT_EQ(ReadAll(path), before);
}

// Fault mended: a file that another program retagged after it was scanned had
// its frames elsewhere, and Save wrote the edited header at the old place, into
// the middle of the audio.
TEST_F(SourceToolWindowsTest, FrameEditorWritesNothingIntoAFileWhoseFramesMovedSinceTheScan) {
    const QString path = CopyMedia(QStringLiteral("mpeg2_l3.mp3"));
    auto file = openScanned(path);
    QPointer<frmFrame> w = frmFrame::PokazMnie(host);
    w->cboPlik->setCurrentIndex(0);
    w->txtRamka->setText("3");
    w->cboCopyrights->setCurrentIndex(w->cboCopyrights->currentIndex() == 0 ? 1 : 0);
    ASSERT_TRUE(w->cmdSave->isEnabled());

    // A tag put in front of the audio meanwhile.
    QByteArray tag("ID3\x03\x00\x00\x00\x00\x03\x17", 10);
    tag.append(QByteArray(3 * 128 + 23, '\0'));
    const QByteArray retagged = tag + ReadAll(path);
    test::WriteFile(path, retagged);

    messages->answers.enqueue(mb::Yes);
    w->cmdSave->click();
    EXPECT_EQ(ReadAll(path), retagged);
    EXPECT_TRUE(shownNumbers().contains(7345)) << shownNumbers().size();
    EXPECT_TRUE(w->cmdSave->isEnabled());
}
