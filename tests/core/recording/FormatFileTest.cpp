// "formatex.ini" written and read back, damaged files refused, and the format
// button's work with a scripted chooser.
#include "RecordingTestTools.h"
#include "core/app/ProgramObjects.h"
#include "support/ProgramState.h"
#include "core/app/TextCatalog.h"
#include "core/recording/CodecFormatChoice.h"
#include "core/recording/FormatFile.h"
#include "platform/codecs/CodecLibrary.h"
#include "platform/settings/MemorySettingsStore.h"
#include "support/ScriptedMessages.h"
#include "support/TestEnvironment.h"

#include <QFile>
#include <QFileInfo>
#include <QtEndian>
#include <gtest/gtest.h>

#include "support/BasicServices.h"

using namespace kelbrin;

namespace {

WaveFormatEx ImaStereo() { return test::ImaAdpcm22050(2); }

class ScriptedChooser : public FormatChooser {
public:
    int choose(WaveFormatEx& format, const QString& title, QString& tagText, QString& formatText) override {
        opened.append(format);
        titles.append(title);
        if (result == 0) {
            format = answer;
            tagText = QString::fromUtf8("IMA ADPCM\0\0", 11);
            formatText = "22050 Hz, 4 bit, stereo";
        }
        return result;
    }
    int result = 0;
    WaveFormatEx answer = ImaStereo();
    QList<WaveFormatEx> opened;
    QStringList titles;
};

class FormatFileTest : public ::testing::Test, protected test::BasicServices {
protected:
    void SetUp() override {
        test::ResetProgramObjects();
        dir = test::MakeTempDir("format");
        path = dir + "/formatex.ini";
    }
    QString dir;
    QString path;
};

} // namespace

TEST_F(FormatFileTest, RecordRoundTripsThroughTheFile) {
    const QByteArray record = ImaStereo().toRecord();
    ASSERT_TRUE(SaveFormatFile(path, record));
    EXPECT_EQ(QFileInfo(path).size(), 68);
    const FormatFileResult read = ReadFormatFile(path);
    ASSERT_TRUE(read.ok());
    EXPECT_EQ(read.record, record);
    EXPECT_TRUE(WaveFormatEx::fromRecord(read.record).sameFormat(ImaStereo()));
    EXPECT_EQ(read.record.mid(18, 2), QByteArray("\xf9\x03", 2));
    EXPECT_EQ(read.record.mid(20), QByteArray(48, '\0'));
    EXPECT_TRUE(FormatFilePath().endsWith("/Pelorin/formatex.ini"));
}

TEST_F(FormatFileTest, DamagedFilesAreRefusedWithTheirReason) {
    const QByteArray good = ImaStereo().toRecord();
    auto damaged = [&](QByteArray bytes, int reason) {
        test::WriteFile(path, bytes);
        const FormatFileResult r = ReadFormatFile(path);
        EXPECT_EQ(r.status, FormatFileStatus::Damaged);
        EXPECT_EQ(r.problemText, reason);
        EXPECT_TRUE(r.record.isEmpty());
    };
    auto with = [&](int offset, int width, std::uint32_t value) {
        QByteArray b = good;
        if (width == 2)
            qToLittleEndian<quint16>(static_cast<quint16>(value), b.data() + offset);
        else
            qToLittleEndian<quint32>(value, b.data() + offset);
        return b;
    };
    damaged(good.left(40), 6405);
    damaged(good + QByteArray(1, '\0'), 6405);
    damaged(QByteArray(100000, 'x'), 6405);
    damaged(QByteArray(), 6405);
    damaged(with(0, 2, 0), 6406);
    damaged(with(2, 2, 0), 6407);
    damaged(with(2, 2, 7), 6407);
    damaged(with(4, 4, 0), 6408);
    damaged(with(4, 4, 10000000), 6408);
    damaged(with(12, 2, 0), 6409);
    damaged(with(8, 4, 0), 6409);
    damaged(with(16, 2, 51), 6410);

    QByteArray record;
    test::WriteFile(path, with(16, 2, 0xFFFF));
    EXPECT_FALSE(LoadFormatFile(path, &record));
    ASSERT_EQ(messages->shown.size(), 1);
    EXPECT_EQ(messages->shown[0].textNumber, 6402);
    EXPECT_TRUE(messages->shown[0].text.contains("too many codec bytes"));
    EXPECT_TRUE(record.isEmpty());

    QFile::remove(path);
    EXPECT_FALSE(LoadFormatFile(path, &record)); // missing: silent
    EXPECT_EQ(messages->shown.size(), 1);
}

TEST_F(FormatFileTest, EmptyRecordOpensOnTheMp3PresetAndACancelKeepsIt) {
    ScriptedChooser chooser;
    chooser.result = codec::kCanceled;
    QByteArray record(68, '\0');
    record[30] = 'k'; // codec bytes survive the preset
    QString description;
    EXPECT_FALSE(ChooseCodecFormat(chooser, record, description));
    ASSERT_EQ(chooser.opened.size(), 1);
    const WaveFormatEx preset = chooser.opened[0];
    EXPECT_EQ(preset.wFormatTag, 85);
    EXPECT_EQ(preset.nChannels, 2);
    EXPECT_EQ(preset.nSamplesPerSec, 44100u);
    EXPECT_EQ(preset.nAvgBytesPerSec, 16000u);
    EXPECT_EQ(preset.nBlockAlign, 1);
    EXPECT_EQ(preset.wBitsPerSample, 0);
    EXPECT_EQ(preset.cbSize, 12);
    EXPECT_EQ(chooser.titles[0], GetText(2172));
    EXPECT_EQ(WaveFormatEx::fromRecord(record).wFormatTag, 85);
    EXPECT_EQ(record[30], 'k');
    EXPECT_TRUE(description.isEmpty());
    EXPECT_TRUE(messages->shown.isEmpty());
    EXPECT_FALSE(store->values.contains("RecLast"));
}

TEST_F(FormatFileTest, ChooserFailureIsReported) {
    ScriptedChooser chooser;
    chooser.result = 512;
    QByteArray record = ImaStereo().toRecord();
    QString description;
    EXPECT_FALSE(ChooseCodecFormat(chooser, record, description));
    ASSERT_EQ(messages->shown.size(), 1);
    EXPECT_EQ(messages->shown[0].text, "acmFormatChoose Error nr. 512");
    EXPECT_EQ(messages->shown[0].style, mb::Information);
    EXPECT_EQ(chooser.opened[0].wFormatTag, wave::kImaAdpcm); // opened on the record's own format
}

TEST_F(FormatFileTest, FormatButtonStoresAChoice) {
    ScriptedChooser chooser;
    const FormatButtonOutcome outcome = ChooseAndStoreRecordFormat(Program().recording, chooser, path);
    ASSERT_TRUE(outcome.changed);
    EXPECT_EQ(outcome.description, "IMA ADPCM 22050 Hz, 4 bit, stereo");
    EXPECT_FALSE(outcome.recordBoxEnabled);
    EXPECT_TRUE(outcome.recordBoxTicked);
    EXPECT_EQ(store->values.value("RecLast"), "1");
    EXPECT_EQ(store->values.value("DestFormat"), outcome.description);
    EXPECT_GE(store->syncs, 1);
    EXPECT_EQ(Program().recording.RecordFormat, ImaStereo().toRecord());
    const FormatFileResult read = ReadFormatFile(path);
    ASSERT_TRUE(read.ok());
    EXPECT_EQ(read.record, Program().recording.RecordFormat);

    // An MPEG Layer-3 choice leaves RecLast alone and frees the box.
    store->values["RecLast"] = "0";
    chooser.answer = WaveFormatEx::fromRecord(QByteArray("\x55\x00\x01\x00\x44\xac\x00\x00\x00\x3e\x00\x00\x01\x00\x00\x00\x0c\x00", 18));
    const FormatButtonOutcome mp3 = ChooseAndStoreRecordFormat(Program().recording, chooser, path);
    ASSERT_TRUE(mp3.changed);
    EXPECT_TRUE(mp3.recordBoxEnabled);
    EXPECT_FALSE(mp3.recordBoxTicked);
    EXPECT_EQ(store->values.value("RecLast"), "0");
}

TEST_F(FormatFileTest, CancelChangesNeitherFileNorSettings) {
    const QByteArray old = ImaStereo().toRecord();
    ASSERT_TRUE(SaveFormatFile(path, old));
    Program().recording.RecordFormat = old;
    store->values["DestFormat"] = "before";
    ScriptedChooser chooser;
    chooser.result = codec::kCanceled;
    EXPECT_FALSE(ChooseAndStoreRecordFormat(Program().recording, chooser, path).changed);
    EXPECT_EQ(ReadFormatFile(path).record, old);
    EXPECT_EQ(store->values.value("DestFormat"), "before");
    EXPECT_EQ(Program().recording.RecordFormat, old);
}

TEST_F(FormatFileTest, UnwritableFileKeepsTheOldFormatEverywhere) {
    const QString blocked = dir + "/not-a-folder";
    test::WriteFile(blocked, "x");
    Program().recording.RecordFormat = QByteArray(68, '\0');
    store->values.insert("RecLast", "0"); // MP3 output, as the MPEG Layer-3 format had it
    ScriptedChooser chooser;
    EXPECT_FALSE(ChooseAndStoreRecordFormat(Program().recording, chooser, blocked + "/formatex.ini").changed);
    ASSERT_EQ(messages->shown.size(), 1);
    EXPECT_EQ(messages->shown[0].textNumber, 6403);
    EXPECT_EQ(Program().recording.RecordFormat, QByteArray(68, '\0'));
    EXPECT_FALSE(store->values.contains("DestFormat"));
    EXPECT_EQ(store->values.value("RecLast"), "0");
}
