// How far the index is built: track-driven partial builds, resumed builds,
// bit-rate changes found on the way, and the durations that follow.
#include "DocumentTestSupport.h"
#include "support/SyntheticMpeg.h"
#include "support/TestEnvironment.h"

#include "core/document/MpegHeader.h"
#include "core/document/cPozycjaMP3.h"

using namespace kelbrin;
using namespace kelbrin::test;

namespace {

class DocumentIndexBuild : public DocumentTest {
protected:
    static cPozycjaMP3 framesTrack(std::int32_t from, std::int32_t to) {
        cPozycjaMP3 track;
        track.blnJednostka = false;
        track.lngRamkaOd = from;
        track.lngRamkaDo = to;
        return track;
    }
    static cPozycjaMP3 timeTrack(std::int32_t startSeconds, std::int32_t endSeconds) {
        cPozycjaMP3 track;
        track.lngPoczatek_S = startSeconds;
        track.lngKoniec_S = endSeconds;
        return track;
    }
    static bool strictlyRising(const QList<std::int64_t>& positions) {
        for (qsizetype i = 1; i < positions.size(); ++i)
            if (positions[i] <= positions[i - 1])
                return false;
        return true;
    }
};

} // namespace

TEST_F(DocumentIndexBuild, ATrackDrivenBuildStopsWhenItsRangeIsCoveredAndResumesWithoutDuplicates) {
    const QString path = MediaFile("cbr_noinfo.mp3");
    const QList<std::int64_t> full = IndexPositions(*open(path, true).file);
    ASSERT_EQ(full.size(), 384);

    Opened plain = open(path); // as the split dialog does first
    ASSERT_EQ(plain.file->Daj_Naglowek_Ilosc(), 0);
    const auto file = plain.file;
    const float duration = file->sngCzasTrwania;

    const cPozycjaMP3 first = framesTrack(10, 50);
    open(path, true, &first, file);
    EXPECT_EQ(IndexPositions(*file), full.mid(0, 51)); // frame 51 bounds frame 50
    EXPECT_FALSE(file->blnLoadedFull);
    EXPECT_EQ(file->lngMaxFrameLoaded, 51);
    EXPECT_EQ(file->dblMaxOffsetLoaded, full[51]);
    EXPECT_FLOAT_EQ(file->sngCzasTrwania, duration);

    const cPozycjaMP3 smaller = framesTrack(0, 0);
    open(path, true, &smaller, file); // already covered: nothing added
    EXPECT_EQ(file->Daj_Naglowek_Ilosc(), 51);

    const cPozycjaMP3 later = framesTrack(200, 100);
    open(path, true, &later, file);
    EXPECT_EQ(IndexPositions(*file), full.mid(0, 201));

    open(path, true, nullptr, file); // the rest, without a track
    EXPECT_EQ(IndexPositions(*file), full);
    EXPECT_TRUE(file->blnLoadedFull);
    EXPECT_EQ(file->IndexUpperBound(), 384);

    open(path, true, &later, file); // a complete index stays as it is
    EXPECT_EQ(IndexPositions(*file), full);
    EXPECT_TRUE(file->blnLoadedFull);
}

TEST_F(DocumentIndexBuild, ATimeRangeBehindALargeTagStillGetsItsFrames) {
    const QString path = MediaFile("id3v2_100k.mp3");
    const auto file = open(path).file;
    ASSERT_GT(file->sngCzasTrwania, 9.0f);
    const cPozycjaMP3 track = timeTrack(0, 2);
    open(path, true, &track, file);
    const std::int32_t neededFrame = static_cast<std::int32_t>(2.0 * 44100 / 1152);
    EXPECT_GT(file->Daj_Naglowek_Ilosc(), neededFrame);
    EXPECT_LT(file->Daj_Naglowek_Ilosc(), 200);
    EXPECT_EQ(file->Daj_Naglowek_Offset(1), 102410 + 1);
}

TEST_F(DocumentIndexBuild, ATimeRangeOnAFileWithoutDurationYetNeedsNoDivision) {
    const QString path = MediaFile("cbr_noinfo.mp3");
    const cPozycjaMP3 track = timeTrack(1, 3);
    const Opened opened = open(path, true, &track);
    EXPECT_EQ(opened.path, path);
    EXPECT_GT(opened.file->Daj_Naglowek_Ilosc(), static_cast<std::int32_t>(3.0 * 44100 / 1152));
    EXPECT_FALSE(opened.file->blnLoadedFull);
    EXPECT_NEAR(opened.file->sngCzasTrwania, 384 * 1152 / 44100.0, 0.03); // not left at 0
}

TEST_F(DocumentIndexBuild, ABitRateChangeFoundWhileIndexingRestartsWithoutDuplicates) {
    SyntheticMpeg stream;
    stream.constantRate(30, kMpeg1Layer3, 0x90).constantRate(30, kMpeg1Layer3, 0xA0);
    const QString path = WriteTempFile("change.mp3", stream.bytes());

    const Opened indexed = open(path, true);
    EXPECT_EQ(IndexPositions(*indexed.file), stream.positions());
    EXPECT_TRUE(indexed.file->blnVBR);
    EXPECT_TRUE(indexed.file->blnLoadedFull);
    EXPECT_NEAR(indexed.file->sngCzasTrwania, 60 * 1152 / 44100.0, 1e-4);

    // The check of the first frames misses a change at frame 31, frames
    // sampled across the file do not.
    const Opened plain = open(path);
    EXPECT_TRUE(plain.file->blnVBR);
    EXPECT_TRUE(plain.buildIndex);
    EXPECT_EQ(IndexPositions(*plain.file), stream.positions());

    // A record a project load left (never scanned) gets its change from a
    // track-driven build that walks past it.
    auto loaded = std::make_shared<cPozycjaPlikow>();
    const cPozycjaMP3 track = framesTrack(1, 40);
    open(path, true, &track, loaded);
    EXPECT_TRUE(loaded->blnVBR);
    EXPECT_TRUE(strictlyRising(IndexPositions(*loaded)));
    EXPECT_EQ(IndexPositions(*loaded), stream.positions().mid(0, 41));
    open(path, true, nullptr, loaded);
    EXPECT_EQ(IndexPositions(*loaded), stream.positions());
}

TEST_F(DocumentIndexBuild, AnEarlyBitRateChangeTurnsTheCheckIntoAFullIndex) {
    SyntheticMpeg stream;
    stream.constantRate(5, kMpeg1Layer3, 0x90).constantRate(40, kMpeg1Layer3, 0xA0);
    const QString path = WriteTempFile("vbr.mp3", stream.bytes());
    const Opened opened = open(path);
    EXPECT_TRUE(opened.buildIndex);
    EXPECT_TRUE(opened.file->blnVBR);
    EXPECT_EQ(IndexPositions(*opened.file), stream.positions());
    EXPECT_NEAR(opened.file->sngCzasTrwania, FramesToSeconds(*opened.file, 45), 1e-5);

    // A file known to vary is indexed whatever the caller asks for.
    auto known = std::make_shared<cPozycjaPlikow>();
    known->blnVBR = true;
    const Opened again = open(path, false, nullptr, known);
    EXPECT_TRUE(again.buildIndex);
    EXPECT_EQ(IndexPositions(*known), stream.positions());
    EXPECT_TRUE(known->blnLoadedFull);
}

TEST_F(DocumentIndexBuild, ConstantRateDurationHoldsOverALongFile) {
    // Five minutes at 128 kbit/s: frames of 417 and 418 bytes, 417.96 on average.
    SyntheticMpeg stream;
    stream.constantRate(11484, kMpeg1Layer3, 0x90);
    const QString path = WriteTempFile("long.mp3", stream.bytes());
    const Opened plain = open(path);
    EXPECT_EQ(plain.file->Daj_Naglowek_Ilosc(), 0);
    const double frame = 1152 / 44100.0;
    EXPECT_NEAR(plain.file->sngCzasTrwania, 11484 * frame, frame);
}

TEST_F(DocumentIndexBuild, HeaderBytesAreIndexedAsRead) {
    const auto file = std::make_shared<cPozycjaPlikow>();
    file->blnExtraArray = true;
    const Opened opened = open(MediaFile("crc.mp3"), true, nullptr, file);
    ASSERT_GT(file->Daj_Naglowek_Ilosc(), 100);
    for (std::int32_t i = 1; i <= file->Daj_Naglowek_Ilosc(); ++i) {
        EXPECT_EQ(file->Daj_Naglowek_Header2(i), 0xFA); // CRC: protection bit clear
        EXPECT_EQ(file->Daj_Naglowek_Header3(i) & 0xFC, 0x90);
    }
    EXPECT_EQ(file->btyFrame2, 0xFA);
    EXPECT_EQ(file->lngD1Ramki, 418);
    (void)opened;
}

TEST_F(DocumentIndexBuild, ProgressFollowsTheScan) {
    SyntheticMpeg stream;
    stream.constantRate(3000, kMpeg1Layer3, 0x90);
    const QString path = WriteTempFile("progress.mp3", stream.bytes());
    open(path, true);
    ASSERT_EQ(host.maxima, QList<std::int64_t>{stream.bytes().size()});
    ASSERT_GE(host.values.size(), 4);
    EXPECT_EQ(host.values.first(), 0);
    EXPECT_TRUE(strictlyRising(host.values.mid(1)));
    EXPECT_LE(host.values.last(), stream.bytes().size());
    EXPECT_GE(host.resets, 1);
}
