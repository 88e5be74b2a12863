#include "core/document/cPozycjaPlikow.h"

#include <gtest/gtest.h>
#include <stdexcept>
#include <vector>

using namespace kelbrin;

namespace {
void addFrames(cPozycjaPlikow& file, int count) {
    for (int i = 1; i <= count; ++i)
        file.Add_Naglowek(i * 1000, 0xFB, 0x90, std::uint8_t(i));
}
} // namespace

TEST(DocumentFrameIndex, GrowsInStepsOfAThousandAndTrimsToItsFrames) {
    cPozycjaPlikow file;
    EXPECT_EQ(file.Daj_Naglowek_Ilosc(), 0);
    EXPECT_EQ(file.IndexUpperBound(), 0);
    EXPECT_EQ(file.Daj_Naglowek_Offset(0), 0);
    file.Add_Naglowek(1, 0xFB, 0x90, 0x64);
    EXPECT_EQ(file.IndexUpperBound(), 1001);
    addFrames(file, 1000);
    EXPECT_EQ(file.Daj_Naglowek_Ilosc(), 1001);
    EXPECT_EQ(file.IndexUpperBound(), 2001);
    addFrames(file, 499);
    file.Wyrownaj();
    EXPECT_EQ(file.IndexUpperBound(), 1500);
    EXPECT_EQ(file.Daj_Naglowek_Offset(1500), 499 * 1000);
    EXPECT_THROW(file.Daj_Naglowek_Offset(1501), std::out_of_range);
    EXPECT_THROW(file.Daj_Naglowek_Offset(-1), std::out_of_range);
}

TEST(DocumentFrameIndex, EstimateOnlyEverGrowsTheIndex) {
    cPozycjaPlikow file;
    EXPECT_THROW(file.Oszacuj(100000), std::domain_error); // no reference length yet
    file.lngD1Ramki = 418;
    file.Oszacuj(418 * 5000 + 17);
    EXPECT_EQ(file.IndexUpperBound(), 5000);
    file.Oszacuj(418 * 10);
    EXPECT_EQ(file.IndexUpperBound(), 5000);
    addFrames(file, 3);
    EXPECT_EQ(file.IndexUpperBound(), 5000);
}

TEST(DocumentFrameIndex, HeaderBytesAreKeptOnlyOnRequest) {
    cPozycjaPlikow plain;
    plain.Add_Naglowek(1, 0xFB, 0x92, 0x64);
    EXPECT_THROW(plain.Daj_Naglowek_Header3(1), std::out_of_range);

    cPozycjaPlikow extra;
    extra.blnExtraArray = true;
    extra.Add_Naglowek(1, 0xFB, 0x92, 0x64);
    extra.Add_Naglowek(419, 0xFB, 0x90, 0x44);
    EXPECT_EQ(extra.Daj_Naglowek_Header2(2), 0xFB);
    EXPECT_EQ(extra.Daj_Naglowek_Header3(1), 0x92);
    EXPECT_EQ(extra.Daj_Naglowek_Header4(2), 0x44);

    extra.Naglowek_Przypisz(1, 1, 0x00); // not a field: nothing changes
    extra.Naglowek_Przypisz(3, 1, 0x93);
    extra.Naglowek_Przypisz(0, 2, 5'000'000'000LL);
    EXPECT_EQ(extra.Daj_Naglowek_Header2(1), 0xFB);
    EXPECT_EQ(extra.Daj_Naglowek_Header3(1), 0x93);
    EXPECT_EQ(extra.Daj_Naglowek_Offset(2), 5'000'000'000LL);
    EXPECT_THROW(extra.Naglowek_Przypisz(4, 1, 256), std::overflow_error);
    EXPECT_THROW(extra.Naglowek_Przypisz(2, 5000, 1), std::out_of_range);

    plain.blnExtraArray = true; // asked for after frames were indexed
    plain.Add_Naglowek(419, 0xFB, 0x90, 0x44);
    EXPECT_EQ(plain.Daj_Naglowek_Header4(2), 0x44);
    EXPECT_EQ(plain.Daj_Naglowek_Header3(1), 0x00); // never read
}

TEST(DocumentFrameIndex, FrameNumbersRoundHalfToEven) {
    cPozycjaPlikow file;
    addFrames(file, 4);
    EXPECT_EQ(file.Daj_Naglowek_Offset(2.5), 2000);
    EXPECT_EQ(file.Daj_Naglowek_Offset(3.5), 4000);
    EXPECT_EQ(file.Daj_Naglowek_Offset(2.6), 3000);
}

TEST(DocumentFrameIndex, MemoryFollowsTheFramesFoundNotTheEstimate) {
    cPozycjaPlikow file;
    file.lngD1Ramki = 418;
    // A 4 GiB file that turns out to hold twenty frames.
    file.Oszacuj(std::int64_t(4) << 30);
    EXPECT_EQ(file.IndexUpperBound(), (std::int64_t(4) << 30) / 418);
    EXPECT_EQ(file.Daj_Naglowek_Offset(5'000'000), 0); // reserved, never written
    addFrames(file, 20);
    file.Wyrownaj();
    EXPECT_EQ(file.IndexUpperBound(), 20);
    EXPECT_EQ(file.IndexMemoryBytes(), 21 * 8 + 3); // and the header bytes' empty slot 0
    EXPECT_EQ(file.Daj_Naglowek_Offset(20), 20000);

    // Growing past a small estimate keeps every entry.
    cPozycjaPlikow grown;
    grown.lngD1Ramki = 1000;
    grown.Oszacuj(10 * 1000);
    addFrames(grown, 300'000);
    grown.Wyrownaj();
    EXPECT_EQ(grown.Daj_Naglowek_Ilosc(), 300'000);
    for (int i : {1, 10, 11, 1024, 1025, 299'999, 300'000})
        EXPECT_EQ(grown.Daj_Naglowek_Offset(i), std::int64_t(i) * 1000) << i;
    EXPECT_EQ(grown.IndexMemoryBytes(), 300'001 * 8 + 3);
}

// A file known to vary may hold frames of any bit rate: the room reserved
// takes frames of the lowest one (32 kbit/s, 104 bytes at 44.1 kHz) without the
// index growing, where the reference's length alone (128 kbit/s) would not.
TEST(DocumentFrameIndex, AVariableFileHasRoomForItsShortestFrames) {
    cPozycjaPlikow file;
    file.lngD1Ramki = 418;
    file.btyFrame2 = 0xFB;
    file.btyFrame3 = 0x90;
    file.blnVBR = true;
    file.Oszacuj(104 * 20000);
    EXPECT_EQ(file.IndexUpperBound(), 104 * 20000 / 418);
    const std::int64_t reserved = file.IndexMemoryBytes();
    std::vector<std::int64_t> positions(20000);
    for (std::size_t i = 0; i < positions.size(); ++i)
        positions[i] = std::int64_t(i) * 104 + 1;
    for (std::size_t i = 0; i < positions.size(); i += 500)
        file.AddFramePositions(positions.data() + i, 500);
    EXPECT_EQ(file.Daj_Naglowek_Ilosc(), 20000);
    EXPECT_EQ(file.IndexMemoryBytes(), reserved);
}

TEST(DocumentFrameIndex, EntriesAheadOfTheFramesCanBeWrittenAndReadBack) {
    cPozycjaPlikow file;
    addFrames(file, 2);
    EXPECT_EQ(file.IndexUpperBound(), 1001);
    file.Naglowek_Przypisz(0, 900, 123456);
    EXPECT_EQ(file.Daj_Naglowek_Offset(900), 123456);
    EXPECT_EQ(file.Daj_Naglowek_Offset(899), 0);
    EXPECT_THROW(file.Naglowek_Przypisz(0, 1002, 1), std::out_of_range);
    file.Add_Naglowek(3000, 0xFB, 0x90, 0); // frame 3 overwrites the zero between
    EXPECT_EQ(file.Daj_Naglowek_Offset(3), 3000);
    EXPECT_EQ(file.Daj_Naglowek_Offset(900), 123456);
    const cPozycjaPlikow copy = file;
    EXPECT_EQ(copy.Daj_Naglowek_Offset(900), 123456);
    EXPECT_EQ(copy.Daj_Naglowek_Offset(2), 2000);
    file.Wyrownaj(); // trimmed to its three frames: the entry ahead goes
    EXPECT_THROW(file.Daj_Naglowek_Offset(900), std::out_of_range);
    file.Add_Naglowek(4000, 0xFB, 0x90, 0);
    EXPECT_EQ(file.Daj_Naglowek_Offset(900), 0);
    EXPECT_EQ(copy.Daj_Naglowek_Offset(3), 3000);
}

// Positions appended in bulk leave the index as appending them one by one
// does: bound, room taken, entries, whether the index was estimated, trimmed or
// written ahead first.
TEST(DocumentFrameIndex, BulkAppendMatchesOneAtATime) {
    const auto prepare = [](cPozycjaPlikow& file, int setup) {
        file.lngD1Ramki = 418;
        if (setup == 1)
            file.Oszacuj(418 * 3000);
        file.Add_Naglowek(7, 0xFB, 0x90, 0x64);
        if (setup == 2)
            file.Wyrownaj();
        if (setup == 3)
            file.Naglowek_Przypisz(0, 900, 12345); // written ahead of the frames
    };
    for (int setup = 0; setup < 4; ++setup) {
        for (const int chunk : {1, 3, 512, 999, 1000, 1001, 5000}) {
            SCOPED_TRACE(testing::Message() << "setup " << setup << " chunk " << chunk);
            cPozycjaPlikow single;
            cPozycjaPlikow bulk;
            prepare(single, setup);
            prepare(bulk, setup);
            std::vector<std::int64_t> positions;
            for (int i = 0; i < 4321; ++i)
                positions.push_back(1000 + 418 * std::int64_t(i));
            for (const std::int64_t p : positions)
                single.Add_Naglowek(p, 0, 0, 0);
            for (std::size_t i = 0; i < positions.size(); i += chunk) {
                const auto count =
                    static_cast<std::int32_t>(std::min<std::size_t>(chunk, positions.size() - i));
                bulk.AddFramePositions(positions.data() + i, count);
            }
            ASSERT_EQ(bulk.Daj_Naglowek_Ilosc(), single.Daj_Naglowek_Ilosc());
            EXPECT_EQ(bulk.IndexUpperBound(), single.IndexUpperBound());
            EXPECT_EQ(bulk.IndexMemoryBytes(), single.IndexMemoryBytes());
            for (std::int32_t i = 0; i <= single.IndexUpperBound(); ++i)
                ASSERT_EQ(bulk.Daj_Naglowek_Offset(i), single.Daj_Naglowek_Offset(i)) << i;
        }
    }
}
