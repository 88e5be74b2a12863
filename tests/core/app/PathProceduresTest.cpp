#include "core/app/PathProcedures.h"
#include "core/app/ProgramObjects.h"
#include "support/ProgramState.h"

#include <gtest/gtest.h>

using namespace kelbrin;

TEST(PathProcedures, ExtensionAndFileName) {
    EXPECT_EQ(StripExtension("a.b.mp3"), "a.b");
    EXPECT_EQ(StripExtension("/music/song"), "/music/song");
    EXPECT_EQ(StripExtension("/music/v1.2/song"), "/music/v1.2/song");
    EXPECT_EQ(StripExtension("/music/v1.2/song.mp3"), "/music/v1.2/song");
    EXPECT_EQ(FileNameFromPath("/music/live/a.kbe"), "a.kbe");
    EXPECT_EQ(FileNameFromPath("a.kbe"), "a.kbe");
    EXPECT_EQ(FileNameFromPath("/music/"), "");
}

TEST(PathProcedures, FileChoiceAnswersGiveFullPathsEvenInTheRoot) {
    const QChar nul(0);
    QString folder;
    EXPECT_EQ(PathsFromFileChoice("/music/a.mp3", &folder), QStringList({"/music/a.mp3"}));
    EXPECT_EQ(folder, "/music");
    const QString several = QString("/music") + nul + "a.mp3" + nul + "b.mp3" + nul + nul;
    EXPECT_EQ(PathsFromFileChoice(several, &folder), QStringList({"/music/a.mp3", "/music/b.mp3"}));
    EXPECT_EQ(folder, "/music");
    // Chosen in the root folder: no "//" in the paths.
    const QString inRoot = QString("/") + nul + "a.mp3" + nul + "b.mp3" + nul + nul;
    EXPECT_EQ(PathsFromFileChoice(inRoot, &folder), QStringList({"/a.mp3", "/b.mp3"}));
    EXPECT_EQ(folder, "/");
    EXPECT_EQ(PathsFromFileChoice("/a.mp3", &folder), QStringList({"/a.mp3"}));
    EXPECT_EQ(folder, "/");
    EXPECT_TRUE(PathsFromFileChoice(QString()).isEmpty());
}

TEST(PathProcedures, UniqueTrackNameNumbersOnlyTrailingCounters) {
    test::ResetProgramObjects();
    EXPECT_EQ(UniqueTrackName("Song", 0), "Song");
    EXPECT_EQ(UniqueTrackName("Song", 1), "Song(2)");
    EXPECT_EQ(UniqueTrackName("Song", 2), "Song(3)");
    EXPECT_EQ(UniqueTrackName("Intro(2)", 2), "Intro(3)");
    EXPECT_EQ(UniqueTrackName("Intro(2)", 0), "Intro(2)");
    EXPECT_EQ(UniqueTrackName("Song (live)", 0), "Song (live)");
    EXPECT_EQ(UniqueTrackName("Song (live)", 1), "Song (live)(2)");
    EXPECT_EQ(UniqueTrackName("A (b) (4)", 1), "A (b) (2)");
}

TEST(PathProcedures, RescalingBetweenTrackAndPlayerTime) {
    EXPECT_DOUBLE_EQ(RescaleToPlayerTime(30, 60, 61, false), 30.5);
    EXPECT_DOUBLE_EQ(RescaleFromPlayerTime(30.5, 60, 61, false), 30);
    EXPECT_DOUBLE_EQ(RescaleToPlayerTime(30, 0, 61, false), 0);
    EXPECT_DOUBLE_EQ(RescaleFromPlayerTime(30, 60, -1, false), 0);
    EXPECT_DOUBLE_EQ(RescaleToPlayerTime(30, 0, 61, true), 30);
    EXPECT_DOUBLE_EQ(RescaleFromPlayerTime(30, 60, 61, true), 30);
}
