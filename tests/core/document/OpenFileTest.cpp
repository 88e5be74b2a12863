// Plik_Open's handling of files that are not plain MPEG sources, of the open
// dialog and of the open-files collection.
#include "DocumentTestSupport.h"
#include "support/ProgramState.h"
#include "support/SyntheticMpeg.h"
#include "support/TestEnvironment.h"

#include "core/app/ProgramObjects.h"
#include "core/app/TextCatalog.h"
#include "core/document/PlikOpen.h"
#include "core/document/cPozycjePlikow.h"
#include "platform/media/FakeMediaDuration.h"
#include "platform/media/GstMediaDuration.h"
#include "platform/settings/MemorySettingsStore.h"

#include <QDir>

using namespace kelbrin;
using namespace kelbrin::test;

using DocumentOpenFile = DocumentTest;

TEST_F(DocumentOpenFile, NewRecordJoinsTheOpenFilesWithTheNextId) {
    Program().session.NextFileId = 4;
    const Opened opened = openAsNew(MediaFile("cbr_noinfo.mp3"));
    EXPECT_EQ(opened.path, MediaFile("cbr_noinfo.mp3"));
    ASSERT_EQ(Program().session.OpenFiles->Count(), 1);
    EXPECT_EQ(Program().session.OpenFiles->Item(1), opened.file);
    EXPECT_EQ(opened.file->lngNrPozycji, 4);
    EXPECT_EQ(opened.file->strFileName, opened.path);
    EXPECT_EQ(Program().session.NextFileId, 5);
    EXPECT_TRUE(host.blnScanFailed); // set again when Plik_Open returns
    EXPECT_EQ(host.busyChanges, (QList<bool>{true, false}));
    EXPECT_EQ(host.colours.last(), FrameScanHost::kFrameColour);
}

TEST_F(DocumentOpenFile, EmptyTextMissingAndUnreadableFilesAreRefusedWithTheirTexts) {
    const QString empty = WriteTempFile("empty.mp3", QByteArray());
    const QString text =
        WriteTempFile("notes.mp3", QByteArray("Just some text, no audio.\n").repeated(200));
    const QString tiny = WriteTempFile("tiny.mp3", QByteArray("\xFF\xFB\x90", 3));
    const QString folder = MakeTempDir("folder");
    Program().session.NextFileId = 1;

    EXPECT_EQ(openAsNew(empty).path, "");
    EXPECT_EQ(openAsNew(text).path, "");
    EXPECT_EQ(openAsNew(tiny).path, "");
    EXPECT_EQ(openAsNew(folder).path, "");
    EXPECT_EQ(messageNumbers(), (QList<int>{3140, 3026, 3026, 3301}));
    EXPECT_EQ(Program().session.OpenFiles->Count(), 0);
    EXPECT_EQ(Program().session.NextFileId, 1);
    EXPECT_TRUE(host.blnScanFailed);

    host.busyChanges.clear();
    EXPECT_EQ(open(folder + "/missing.mp3").path, "");
    EXPECT_EQ(messageNumbers().last(), 3025);
    EXPECT_TRUE(host.busyChanges.isEmpty()); // nothing else happens
}

TEST_F(DocumentOpenFile, MessagesNameTheFile) {
    const QString text = WriteTempFile("notes.txt", QByteArray(5000, 'x'));
    open(text);
    open(text + ".missing");
    ASSERT_EQ(messages().size(), 2);
    EXPECT_EQ(messages()[0].text, GetText(3026) + '\r' + text);
    EXPECT_EQ(messages()[0].style, mb::Information);
    EXPECT_TRUE(messages()[0].title.isEmpty());
    EXPECT_TRUE(messages()[1].text.contains(text + ".missing"));
}

TEST_F(DocumentOpenFile, TheFileBeingRecordedIsRefused) {
    const QString path = MediaFile("cbr_noinfo.mp3");
    settings->values.insert("RecFilePath", path);
    host.recording = true;
    EXPECT_EQ(openAsNew(path).path, "");
    EXPECT_EQ(messageNumbers(), QList<int>{3178});
    EXPECT_EQ(Program().session.OpenFiles->Count(), 0);

    // A name without a folder is taken in the recording folder.
    settings->values.insert("RecFilePath", "cbr_noinfo.mp3");
    settings->values.insert("RecDir", MediaDir() + "/");
    EXPECT_EQ(open(path).path, "");
    EXPECT_EQ(messageNumbers().size(), 2);

    host.recording = false; // the same file once the recording has ended
    EXPECT_EQ(open(path).path, path);
}

TEST_F(DocumentOpenFile, MediaFilesKeepTheirFrameworkDurationAndCannotBeSaved) {
    const QString wav = MediaFile("tone.wav");
    media->durations.insert(wav, 3.25);
    const Opened opened = openAsNew(wav, false, source_filter::Media);
    EXPECT_EQ(opened.path, wav);
    EXPECT_EQ(messageNumbers(), QList<int>{3159});
    EXPECT_TRUE(opened.file->blnNoSave);
    EXPECT_FLOAT_EQ(opened.file->sngCzasTrwania, 3.25f);
    EXPECT_EQ(opened.file->Daj_Naglowek_Ilosc(), 0);
    EXPECT_EQ(Program().session.OpenFiles->Count(), 1);

    // One the framework cannot render stays, with no length.
    const Opened unknown = openAsNew(MediaFile("source.wav"), false, source_filter::Media);
    EXPECT_EQ(unknown.path, MediaFile("source.wav"));
    EXPECT_FLOAT_EQ(unknown.file->sngCzasTrwania, 0.0f);
    EXPECT_EQ(Program().session.OpenFiles->Count(), 2);
}

TEST_F(DocumentOpenFile, GStreamerMeasuresAWaveFile) {
    GstMediaDurationReader reader;
    const auto seconds = reader.durationSeconds(MediaFile("tone.wav"));
    ASSERT_TRUE(seconds.has_value());
    EXPECT_NEAR(*seconds, 3.0, 0.01);
    EXPECT_FALSE(reader.durationSeconds(MediaDir() + "/no-such-file.wav").has_value());
    const QString text = WriteTempFile("notes.wav", QByteArray(3000, 'x'));
    EXPECT_FALSE(reader.durationSeconds(text).has_value());
}

TEST_F(DocumentOpenFile, TheDialogStartsOnTheStoredFilterAndStoresTheChosenOne) {
    auto ask = [&](const QString& stored, bool offerMedia) {
        settings->values.insert("TypPliku", stored);
        auto file = std::make_shared<cPozycjaPlikow>();
        bool build = false;
        QString folder;
        Plik_Open(host, &Program().session, Program().settings.SourceFolder, file, build, false,
                  "Title", nullptr, false, offerMedia, folder, 1);
        return host.dialogs.last();
    };
    EXPECT_EQ(ask("0", false).initialFilter, 1);
    EXPECT_EQ(ask("7", false).initialFilter, 1);
    EXPECT_EQ(ask("2", false).initialFilter, 2);
    EXPECT_EQ(ask("3", true).initialFilter, 3);
    EXPECT_EQ(ask("3", false).filters.size(), 2);
    const SourceFileDialog last = ask("1", true);
    ASSERT_EQ(last.filters.size(), 3);
    EXPECT_EQ(last.filters[0].first, 3037);
    EXPECT_EQ(last.filters[1].second, "*.wav");
    EXPECT_EQ(last.filters[2].first, 3160);
    EXPECT_EQ(last.title, "Title");
    EXPECT_EQ(settings->values.value("TypPliku"), "1"); // cancelled: nothing stored

    Program().settings.SourceFolder = MediaDir();
    host.choice =
        SourceFileChoice{{MediaFile("cbr_noinfo.mp3"), MediaFile("layer2.mp2")}, 2, MediaDir()};
    auto file = std::make_shared<cPozycjaPlikow>();
    bool build = false;
    QString folder;
    const QString last2 = Plik_Open(host, &Program().session, Program().settings.SourceFolder, file,
                                    build, true, QString(), nullptr, false, false, folder, 1);
    EXPECT_EQ(host.dialogs.last().folder, MediaDir());
    EXPECT_TRUE(host.dialogs.last().multipleChoice);
    EXPECT_EQ(last2, MediaFile("layer2.mp2"));
    EXPECT_EQ(folder, MediaDir());
    EXPECT_EQ(settings->values.value("TypPliku"), "2");
    ASSERT_EQ(Program().session.OpenFiles->Count(), 2);
    EXPECT_EQ(Program().session.OpenFiles->Item(1)->strFileName, MediaFile("cbr_noinfo.mp3"));
    EXPECT_EQ(file, Program().session.OpenFiles->Item(2));
}

TEST_F(DocumentOpenFile, AStopRequestedDuringTheScanOpensNothing) {
    SyntheticMpeg stream;
    stream.constantRate(5000, kMpeg1Layer3, 0x90);
    const QString path = WriteTempFile("long.mp3", stream.bytes());
    host.onProgress = [](RecordingHost& h) {
        if (h.values.size() > 3) // a few turns of the event loop into the scan
            h.blnScanFailed = true;
    };
    const Opened opened = openAsNew(path, true);
    EXPECT_EQ(opened.path, "");
    EXPECT_EQ(Program().session.OpenFiles->Count(), 0);
    EXPECT_TRUE(messageNumbers().isEmpty());
}
