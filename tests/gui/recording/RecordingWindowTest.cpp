// The recording settings window: what it shows on first use and from stored
// values, how its controls depend on each other, its buttons, and what it
// stores when it closes.
#include "../app/ModalDriver.h"
#include "core/app/ProgramObjects.h"
#include "core/app/TextCatalog.h"
#include "core/recording/CodecFormatChoice.h"
#include "core/recording/FormatFile.h"
#include "gui/app/QtMessageService.h"
#include "gui/app/Translation.h"
#include "gui/recording/codecChooser.h"
#include "gui/recording/frmRecording.h"
#include "platform/capture/FakeCaptureDevices.h"
#include "platform/lame/FakeLameLibrary.h"
#include "support/ProgramState.h"
#include "support/ScriptedMessages.h"
#include "support/TestEnvironment.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSlider>
#include <QTest>
#include <gtest/gtest.h>

using namespace kelbrin;

namespace {

// Chooses the given format, or cancels when none is set.
class FakeChooser final : public FormatChooser {
public:
    explicit FakeChooser(std::optional<WaveFormatEx> answer) : m_answer(std::move(answer)) {}
    int choose(WaveFormatEx& format, const QString&, QString& tagText, QString& formatText) override {
        if (!m_answer)
            return 515;
        format = *m_answer;
        tagText = format.wFormatTag == 1 ? "PCM" : "MPEG Layer-3";
        formatText = "44100 Hz, stereo";
        return 0;
    }

private:
    std::optional<WaveFormatEx> m_answer;
};

class RecordingWindow : public ::testing::Test {
protected:
    void SetUp() override {
        store = test::FreshProgramState();
        Catalog().load(test::SourceDir() + "/resources/Kelbrin.ini");
        Catalog().setLanguage("ENGLISH");
        lame = new FakeLameLibrary;
        previousLame = SetLameLibrary(std::unique_ptr<LameLibrary>(lame));
        messages = new test::ScriptedMessages;
        previousMessages = SetMessageService(std::unique_ptr<MessageService>(messages));
        previousDevices = SetCaptureDevices(std::make_unique<FakeCaptureDevices>(
            QStringList{"Built-in Audio Analog Stereo", "USB Microphone"}));
        previousBrowser = frmRecording::SetFolderBrowser([this](QWidget*, const QString& title) {
            browserTitles << title;
            return folderAnswer;
        });
        formatFile = test::MakeTempDir("formatex") + "/formatex.ini";
    }
    void TearDown() override {
        if (window)
            delete window;
        frmRecording::SetFolderBrowser(std::move(previousBrowser));
        frmRecording::SetChooserFactory({});
        SetCaptureDevices(std::move(previousDevices));
        SetLameLibrary(std::move(previousLame));
        SetMessageService(std::move(previousMessages));
    }
    frmRecording* open() {
        window = frmRecording::PokazMnie(Program().recording);
        QCoreApplication::processEvents();
        return window;
    }
    void close() {
        window->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    QString stored(const char* key) { return store->values.value(QLatin1String(key)); }

    MemorySettingsStore* store = nullptr;
    FakeLameLibrary* lame = nullptr;
    test::ScriptedMessages* messages = nullptr;
    std::unique_ptr<LameLibrary> previousLame;
    std::unique_ptr<MessageService> previousMessages;
    std::unique_ptr<CaptureDevices> previousDevices;
    frmRecording::FolderBrowser previousBrowser;
    QStringList browserTitles;
    QString folderAnswer;
    QString formatFile;
    QPointer<frmRecording> window;
};

} // namespace

TEST_F(RecordingWindow, FirstUseShowsTheDefaultsOnTopWithoutOwner) {
    open();
    EXPECT_EQ(frmRecording::PokazMnie(Program().recording), window.data());
    EXPECT_EQ(window->parentWidget(), nullptr);
    EXPECT_FALSE(window->isModal());
    EXPECT_TRUE(window->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(window->windowTitle(), "Recording options");
    EXPECT_EQ(window->cmdInfo->text(), GetText(3221));
    EXPECT_TRUE(window->Option1[1]->isChecked());
    EXPECT_TRUE(window->fraEngine[1]->isEnabled());
    EXPECT_FALSE(window->fraEngine[0]->isEnabled());
    EXPECT_EQ(window->cboMPEG->currentIndex(), 0);
    EXPECT_EQ(window->cboSRate->currentText(), "44100 Hz");
    EXPECT_EQ(window->cboBRate->currentText(), "128 kbit/s");
    EXPECT_EQ(window->Combo1[0]->currentText(), "32 kbit/s");
    EXPECT_EQ(window->Combo1[1]->currentText(), "320 kbit/s");
    EXPECT_EQ(window->cboChannelMode->currentIndex(), 1);
    EXPECT_EQ(window->cboQuality->currentIndex(), 2);
    EXPECT_EQ(window->cboQuality->count(), 4);
    EXPECT_EQ(window->sldVBR->value(), 5);
    EXPECT_TRUE(window->chkPriv->isChecked() && window->chkCopy->isChecked() && window->chkOry->isChecked());
    EXPECT_TRUE(window->chkXing->isChecked());
    EXPECT_FALSE(window->chkCRC->isChecked() || window->chkPad->isChecked() || window->chkVBR->isChecked() ||
                 window->chkABR->isChecked() || window->chkSpeech->isChecked());
    EXPECT_FALSE(window->Frame3->isEnabled());
    EXPECT_EQ(window->lblLameBuf->text(), "25");
    EXPECT_EQ(window->VScroll2->value(), 25);
    EXPECT_EQ(window->lblLameBuf->toolTip(), "112 KB"); // 1152 samples x 4 bytes x 25
    EXPECT_EQ(window->lblBufor->text(), "500");
    ASSERT_EQ(window->cboDeviceIn->count(), 3);
    EXPECT_EQ(window->cboDeviceIn->itemText(0), "Wave Mapper");
    EXPECT_EQ(window->cboDeviceIn->currentIndex(), 0);
    EXPECT_EQ(window->txtPrefix->text(), "R");
    EXPECT_EQ(window->txtSek->text(), "0");
    EXPECT_EQ(window->txtMin->text(), "0");
    EXPECT_EQ(window->cmdRecord->text(), "...");
    EXPECT_EQ(window->fraEngine[1]->title(), GetText(2561));
    EXPECT_EQ(window->chkRecord->text(), GetText(2170));
}

TEST_F(RecordingWindow, ClosingUnchangedStoresWhatItShowed) {
    open();
    close();
    EXPECT_EQ(stored("LameQualHigh"), "13");
    EXPECT_EQ(stored("LameMPEGver"), "0");
    EXPECT_EQ(stored("EngineType"), "1");
    EXPECT_EQ(stored("LameBufLen"), "25");
    EXPECT_EQ(stored("RecBufor"), "500");
    EXPECT_EQ(stored("DeviceIn"), "0");
    EXPECT_EQ(Program().recording.CaptureDevice, -1);
    EXPECT_EQ(stored("RecPrefix"), "R");
    EXPECT_EQ(stored("LamePriv"), "1");
    EXPECT_EQ(stored("LameCRC"), "0");
    EXPECT_EQ(stored("LameQual"), "5");
    EXPECT_TRUE(stored("TempRecDir").endsWith('/'));
    EXPECT_EQ(frmRecording::Instance(), nullptr); // starts fresh next time
}

TEST_F(RecordingWindow, VersionChoiceRefillsTheListsAndIsStored) {
    store->values.insert("LameBitRate", "3");
    open();
    window->cboMPEG->setCurrentIndex(2);
    window->cboMPEG_Click();
    EXPECT_EQ(window->cboSRate->itemText(0), "8000 Hz");
    EXPECT_EQ(window->cboBRate->count(), 8);
    EXPECT_EQ(window->cboBRate->currentText(), "32 kbit/s"); // the stored index, read afresh
    EXPECT_EQ(window->Combo1[1]->currentText(), "64 kbit/s");
    window->cboMPEG->setCurrentIndex(1);
    window->cboMPEG_Click();
    window->cboSRate->setCurrentIndex(1); // 22050 Hz
    close();
    EXPECT_EQ(stored("LameMPEGver"), "1");
    EXPECT_EQ(stored("LameSampleRate"), "1");
    open();
    EXPECT_EQ(window->cboMPEG->currentIndex(), 1);
    EXPECT_EQ(window->cboSRate->currentText(), "22050 Hz");
}

TEST_F(RecordingWindow, ControlsFollowTheEngineVbrAndAbr) {
    open();
    window->Option1[0]->setChecked(true);
    EXPECT_TRUE(window->fraEngine[0]->isEnabled());
    EXPECT_FALSE(window->fraEngine[1]->isEnabled());
    window->Option1[1]->setChecked(true);
    window->chkVBR->setChecked(true);
    EXPECT_TRUE(window->Frame3->isEnabled());
    window->chkABR->setChecked(true);
    EXPECT_FALSE(window->sldVBR->isEnabled());
    EXPECT_FALSE(window->lblVbrQ[0]->isEnabled());
    window->VScroll1->setValue(window->VScroll1->value() + 10);
    EXPECT_EQ(window->lblBufor->text(), "510");
    window->VScroll2->setValue(1);
    EXPECT_EQ(window->lblLameBuf->text(), "1");
    EXPECT_EQ(window->lblLameBuf->toolTip(), "4 KB");
    close();
    EXPECT_EQ(stored("LameVBR"), "1");
    EXPECT_EQ(stored("LameABR"), "1");
    EXPECT_EQ(stored("RecBufor"), "510");
    EXPECT_EQ(stored("LameBufLen"), "1");
}

TEST_F(RecordingWindow, BufferBarsReachBlocksOfAFewSecondsAndPaddingIsLeftToTheEncoder) {
    store->values.insert("LameBufLen", "32767");
    store->values.insert("RecBufor", "32767");
    Program().recording.RecordFormat = WaveFormatEx::pcm(2, 44100, 16).toRecord();
    open();
    // Five seconds of 16-bit stereo at 44100 Hz: 191 chunks of 4608 bytes, 1722 units of 512.
    EXPECT_EQ(window->VScroll2->maximum(), 191);
    EXPECT_EQ(window->lblLameBuf->text(), "191");
    EXPECT_EQ(window->VScroll1->maximum(), 1722);
    EXPECT_EQ(window->lblBufor->text(), "1722");
    // The encoder sets the padding bit of each frame itself.
    EXPECT_FALSE(window->chkPad->isEnabled());
    EXPECT_EQ(window->chkPad->toolTip(), DisplayText(GetText(7000)));
    close();
    EXPECT_EQ(stored("LameBufLen"), "191");
    EXPECT_EQ(stored("RecBufor"), "1722");
}

TEST_F(RecordingWindow, TheVbrRangeStaysInOrder) {
    store->values.insert("LameVBR", "1");
    store->values.insert("LameQualLow", "13"); // stored the wrong way round before
    store->values.insert("LameQualHigh", "0");
    open();
    QComboBox* low = window->Combo1[0];
    QComboBox* high = window->Combo1[1];
    EXPECT_EQ(low->currentIndex(), 0);
    EXPECT_EQ(high->currentIndex(), 13);
    QTest::keyClick(high, Qt::Key_Up);
    QTest::keyClick(low, Qt::Key_End); // a minimum above the maximum takes the maximum along
    EXPECT_EQ(high->currentIndex(), 13);
    QTest::keyClick(high, Qt::Key_Home); // and a maximum below the minimum the minimum
    EXPECT_EQ(low->currentIndex(), 0);
    QTest::keyClick(low, Qt::Key_PageDown);
    EXPECT_LE(low->currentIndex(), high->currentIndex());
    close();
    EXPECT_LE(stored("LameQualLow").toInt(), stored("LameQualHigh").toInt());
}

TEST_F(RecordingWindow, TextBoxesAreCleanedWhenStored) {
    open();
    window->txtPrefix->setText("a:b?c");
    window->txtSek->setText("90");
    window->txtMin->setText("12a34");
    EXPECT_EQ(window->txtMin->text(), "1234"); // digits only
    close();
    EXPECT_EQ(stored("RecPrefix"), "abc");
    EXPECT_EQ(stored("AutoPauseRec"), "65");
    EXPECT_EQ(stored("NewFileRec"), "1234");
}

TEST_F(RecordingWindow, FolderButtonsTakeAChoiceAndKeepTheFolderOnCancel) {
    store->values.insert("RecDir", "/music/");
    open();
    folderAnswer = "/music/new/";
    window->cmdRecord_Click();
    EXPECT_EQ(window->lblRecord->text(), "/music/new/");
    EXPECT_EQ(window->lblRecord->toolTip(), "/music/new/");
    EXPECT_EQ(browserTitles.value(0), GetText(2169));
    folderAnswer.clear();
    window->cmdTemp_Click();
    EXPECT_EQ(browserTitles.value(1), GetText(2174));
    const QString before = window->lblTemp->text();
    EXPECT_FALSE(before.isEmpty());
    window->lblTemp->clear(); // an empty label never becomes the root folder
    close();
    EXPECT_EQ(stored("RecDir"), "/music/new/");
    EXPECT_EQ(Program().recording.RecordFolder, "/music/new/");
    EXPECT_EQ(stored("TempRecDir"), before);
}

TEST_F(RecordingWindow, DeviceListFollowsTheStoredChoice) {
    store->values.insert("DeviceIn", "2");
    open();
    EXPECT_EQ(window->cboDeviceIn->currentText(), "USB Microphone");
    window->cboDeviceIn->setCurrentIndex(1);
    close();
    EXPECT_EQ(stored("DeviceIn"), "1");
    EXPECT_EQ(Program().recording.CaptureDevice, 0);
    store->values.insert("DeviceIn", "7"); // unplugged since
    open();
    EXPECT_EQ(window->cboDeviceIn->currentIndex(), 0);
}

TEST_F(RecordingWindow, FormatButtonShowsTheChoiceAndWavFollowsTheCodec) {
    WaveFormatEx pcm;
    pcm.wFormatTag = 1;
    pcm.nChannels = 2;
    pcm.nSamplesPerSec = 44100;
    pcm.nBlockAlign = 4;
    pcm.nAvgBytesPerSec = 176400;
    pcm.wBitsPerSample = 16;
    std::optional<WaveFormatEx> answer = pcm;
    frmRecording::SetChooserFactory([&answer](QWidget*) { return std::make_unique<FakeChooser>(answer); });
    open();
    window->Option1[0]->setChecked(true);
    EXPECT_TRUE(window->chkRecord->isEnabled());
    window->cmdFormat_Click();
    EXPECT_EQ(window->lblRecordFormat->text(), "PCM 44100 Hz, stereo");
    EXPECT_TRUE(window->chkRecord->isChecked());
    EXPECT_FALSE(window->chkRecord->isEnabled());
    EXPECT_EQ(stored("DestFormat"), "PCM 44100 Hz, stereo");
    answer.reset(); // a cancel changes nothing
    window->cmdFormat_Click();
    EXPECT_EQ(window->lblRecordFormat->text(), "PCM 44100 Hz, stereo");
    close();
    EXPECT_EQ(stored("RecLast"), "1");
    open(); // a PCM format: the box is ticked and unavailable from the start
    EXPECT_TRUE(window->chkRecord->isChecked());
    EXPECT_FALSE(window->chkRecord->isEnabled());
    EXPECT_EQ(window->lblRecordFormat->text(), "PCM 44100 Hz, stereo");
}

// The window stays on top, and when the chooser closes no window is active
// until the window manager activates the options window again: a box without
// owner would open underneath it, out of the user's sight.
TEST_F(RecordingWindow, FormatNotStoredBoxOpensOverTheWindow) {
    // The format file's folder is taken by a file, so the choice cannot be stored.
    const QString folder = QFileInfo(FormatFilePath()).absolutePath();
    const QString aside = folder + ".aside";
    const bool hadFolder = QFileInfo(folder).isDir() && QDir().rename(folder, aside);
    test::WriteFile(folder, "not a folder");
    auto scripted = SetMessageService(std::make_unique<QtMessageService>());
    open();
    window->Option1[0]->click(); // the codec engine, whose frame holds the format button
    QCoreApplication::processEvents();

    test::WhenModal<codecChooser>([](codecChooser* chooser) {
        chooser->cboFormatTag->setCurrentIndex(chooser->cboFormatTag->findText("PCM"));
        chooser->cmdOK->click();
        QApplication::setActiveWindow(nullptr); // the window manager has not activated any window yet
    });
    QPointer<QWidget> owner;
    QString text;
    test::WhenModal<QMessageBox>([&](QMessageBox* box) {
        owner = box->parentWidget() ? box->parentWidget()->window() : nullptr;
        text = box->text();
        box->accept();
    });
    QTest::mouseClick(window->cmdFormat, Qt::LeftButton);

    SetMessageService(std::move(scripted));
    QFile::remove(folder);
    if (hadFolder)
        QDir().rename(aside, folder);
    EXPECT_TRUE(text.startsWith("The recording format could not be saved")) << text.toStdString();
    EXPECT_EQ(owner.data(), window.data());
}

TEST_F(RecordingWindow, InfoButtonShowsTheEncoderVersion) {
    lame->version.byDLLMajorVersion = 3;
    lame->version.byDLLMinorVersion = 100;
    open();
    window->cmdInfo_Click();
    ASSERT_EQ(messages->shown.size(), 1);
    EXPECT_TRUE(messages->shown[0].text.startsWith("Lame DLL Version 3.100"));
    EXPECT_EQ(messages->shown[0].style, 64);
}
