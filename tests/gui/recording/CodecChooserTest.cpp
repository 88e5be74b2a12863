// The codec chooser: opened on the record's format, a choice, a cancel, and the
// format button's whole path through the dialog.
#include "../app/ModalDriver.h"
#include "core/app/ProgramObjects.h"
#include "support/ProgramState.h"
#include "core/app/TextCatalog.h"
#include "core/recording/CodecFormatChoice.h"
#include "gui/recording/codecChooser.h"
#include "platform/settings/MemorySettingsStore.h"
#include "support/ScriptedMessages.h"
#include "support/TestEnvironment.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <gtest/gtest.h>

#include "support/BasicServices.h"

using namespace kelbrin;

namespace {

class CodecChooserTest : public ::testing::Test, protected test::BasicServices {
protected:
    void SetUp() override {
        test::ResetProgramObjects();
        path = test::MakeTempDir("chooser") + "/formatex.ini";
    }
    QString path;
};

} // namespace

TEST_F(CodecChooserTest, OpensOnThePresetOfAnEmptyRecord) {
    QByteArray record(68, '\0');
    PresetEmptyRecord(record);
    codecChooser dialog(Codecs(), WaveFormatEx::fromRecord(record), GetText(2172));
    EXPECT_EQ(dialog.windowTitle(), GetText(2172));
    EXPECT_EQ(dialog.tagText(), "MPEG Layer-3");
    const WaveFormatEx f = dialog.chosenFormat();
    EXPECT_EQ(f.wFormatTag, 85);
    EXPECT_EQ(f.nChannels, 2);
    EXPECT_EQ(f.nSamplesPerSec, 44100u);
    EXPECT_EQ(f.nAvgBytesPerSec, 16000u);
    EXPECT_EQ(dialog.formatText(), "128 kbit/s, 44100 Hz, stereo");
    EXPECT_EQ(dialog.lblFormatTag->text(), GetText(6400));
    EXPECT_EQ(dialog.lblFormat->text(), GetText(6401));
}

TEST_F(CodecChooserTest, OpensOnAStoredFormatAndFollowsTheCodecList) {
    const CodecFormat stored = Codecs().formats(wave::kALaw).at(3);
    codecChooser dialog(Codecs(), stored.format, "t");
    EXPECT_EQ(dialog.tagText(), "CCITT A-Law");
    EXPECT_TRUE(dialog.chosenFormat().sameFormat(stored.format));
    EXPECT_EQ(dialog.formatText(), stored.description);
    dialog.cboFormatTag->setCurrentIndex(dialog.cboFormatTag->findText("PCM"));
    EXPECT_EQ(dialog.chosenFormat().wFormatTag, wave::kPcm);
    EXPECT_EQ(dialog.cboFormat->count(), Codecs().formats(wave::kPcm).size());
}

TEST_F(CodecChooserTest, ChoiceThroughTheDialogIsStored) {
    Program().recording.RecordFormat = QByteArray(68, '\0');
    QtFormatChooser chooser(nullptr);
    test::WhenModal<codecChooser>([](codecChooser* d) {
        d->cboFormatTag->setCurrentIndex(d->cboFormatTag->findText("IMA ADPCM"));
        d->cboFormat->setCurrentIndex(d->cboFormat->findText("22050 Hz", Qt::MatchStartsWith));
        d->cmdOK->click();
    });
    const FormatButtonOutcome outcome = ChooseAndStoreRecordFormat(Program().recording, chooser, path);
    ASSERT_TRUE(outcome.changed);
    EXPECT_TRUE(outcome.description.startsWith("IMA ADPCM 22050 Hz, 4 bit"));
    EXPECT_TRUE(outcome.recordBoxTicked);
    const WaveFormatEx f = WaveFormatEx::fromRecord(Program().recording.RecordFormat);
    EXPECT_EQ(f.wFormatTag, wave::kImaAdpcm);
    EXPECT_EQ(f.nSamplesPerSec, 22050u);
    EXPECT_EQ(f.cbSize, 2);
    EXPECT_EQ(ReadFormatFile(path).record, Program().recording.RecordFormat);
    EXPECT_EQ(store->values.value("RecLast"), "1");
}

TEST_F(CodecChooserTest, CancelLeavesFileAndSettingsButKeepsThePreset) {
    Program().recording.RecordFormat = QByteArray(68, '\0');
    QtFormatChooser chooser(nullptr);
    test::WhenModal<codecChooser>([](codecChooser* d) {
        EXPECT_EQ(d->tagText(), "MPEG Layer-3");
        d->cboFormatTag->setCurrentIndex(0);
        d->cmdCancel->click();
    });
    EXPECT_FALSE(ChooseAndStoreRecordFormat(Program().recording, chooser, path).changed);
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_FALSE(store->values.contains("DestFormat"));
    EXPECT_FALSE(store->values.contains("RecLast"));
    EXPECT_EQ(WaveFormatEx::fromRecord(Program().recording.RecordFormat).wFormatTag, 85);
    EXPECT_TRUE(messages->shown.isEmpty());
}
