// What the track list shows of a track.
#include "core/document/cPozycjaMP3.h"
#include "core/editor/TrackListRow.h"
#include "support/TestEnvironment.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace kelbrin;

TEST(TrackListRow, TimeRangesFramesAndTheRoundedLength) {
    cPozycjaMP3 t;
    t.strLabel = "Intro";
    t.strFileNameSource = "/music/live/concert.mp3";
    t.strFileName = "intro.mp3";
    t.lngPoczatek_M = 1;
    t.lngPoczatek_S = 15;
    t.lngPoczatek_SS = 600;
    t.lngKoniec_M = 3;
    t.lngKoniec_S = 2;
    t.lngKoniec_SS = 100;
    // 182.1 - 75.6 = 106.5 s: halves go to the even second, 106 = 1 : 46.
    EXPECT_EQ(TrackListRowTexts(t),
              QStringList({"Intro", "1:15:600", "3:2:100", "1 : 46", "concert.mp3", "intro.mp3"}));

    t.lngKoniec_SS = 200; // 106.6 s
    EXPECT_EQ(TrackListRowTexts(t)[3], "1 : 47");

    // A frame range shows its frames; the length still comes from the times.
    t.blnJednostka = false;
    t.lngRamkaOd = 12;
    t.lngRamkaDo = 4000;
    const QStringList frames = TrackListRowTexts(t);
    EXPECT_EQ(frames[1], "12");
    EXPECT_EQ(frames[2], "4000");
    EXPECT_EQ(frames[3], "1 : 47");

    // An hour and more stays in minutes; a range ending before it begins has no length.
    cPozycjaMP3 hour;
    hour.lngKoniec_M = 61;
    hour.lngKoniec_S = 59;
    hour.lngKoniec_SS = 500;
    EXPECT_EQ(TrackListRowTexts(hour)[3], "62 : 0");
    EXPECT_EQ(TrackListRowTexts(hour)[1], "0:0:0");
    cPozycjaMP3 backwards;
    backwards.lngPoczatek_S = 30;
    EXPECT_EQ(TrackListRowTexts(backwards)[3], "0 : 0");
}

TEST(TrackListRow, OnlyATrackWhoseSourceIsOnDiskHasARow) {
    cPozycjaMP3 t;
    EXPECT_FALSE(HasListRow(t));
    const QString folder = test::MakeTempDir("listrow");
    t.strFileNameSource = folder + "/gone.mp3";
    EXPECT_FALSE(HasListRow(t));
    t.strFileNameSource = folder;
    EXPECT_FALSE(HasListRow(t)); // a folder is no source
    t.strFileNameSource = test::WriteFile(folder + "/here.mp3", "x");
    EXPECT_TRUE(HasListRow(t));
    QFile::remove(t.strFileNameSource);
    EXPECT_FALSE(HasListRow(t));
}
