#include "SplitTestSupport.h"
#include "support/ProgramState.h"

#include "core/app/ProgramObjects.h"
#include "core/document/MpegHeader.h"
#include "core/export/CloneTrack.h"
#include "core/export/SplitTime.h"

using namespace kelbrin;
using kelbrin::test::SplitTest;

TEST_F(SplitTest, CloneRunsFromTheTrackEndToTheSourceEnd) {
    cPozycjaPlikow source;
    source.sngCzasTrwania = 245.5f;
    cPozycjaMP3 copy;
    SetStartTime(copy, {0, 10, 0});
    SetEndTime(copy, {1, 30, 250});
    ContinueClone(copy, &source);
    EXPECT_EQ(StartTime(copy), (TrackTime{1, 30, 250}));
    EXPECT_EQ(EndTime(copy), (TrackTime{4, 5, 500}));

    source.sngCzasTrwania = 120;
    ContinueClone(copy, &source);
    EXPECT_EQ(EndTime(copy), (TrackTime{2, 0, 0}));
}

TEST_F(SplitTest, CloneOfAFrameRangeContinuesIt) {
    HeadlessScanHost scan;
    auto file = std::make_shared<cPozycjaPlikow>();
    file->strFileName = test::MediaFile("vbr_xing.mp3");
    bool buildIndex = true;
    QString folder;
    ASSERT_FALSE(Plik_Open(scan, &Program().session, Program().settings.SourceFolder, file,
                           buildIndex, false, {}, nullptr, false, false, folder, 1)
                     .isEmpty());
    ASSERT_TRUE(file->blnLoadedFull);

    cPozycjaMP3 copy;
    copy.blnJednostka = false;
    copy.lngRamkaOd = 1;
    copy.lngRamkaDo = 100;
    ContinueClone(copy, file.get());
    EXPECT_TRUE(copy.blnJednostka);
    EXPECT_EQ(StartTime(copy), SecondsToTrackTime(FramesToSeconds(*file, 100)));
    EXPECT_EQ(EndTime(copy), SecondsToTrackTime(FramesToSeconds(*file, file->Daj_Naglowek_Ilosc())));
    EXPECT_GT(TrackTimeMilliseconds(EndTime(copy)), TrackTimeMilliseconds(StartTime(copy)));
}
