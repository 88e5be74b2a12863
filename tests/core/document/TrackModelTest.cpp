#include "DocumentTestSupport.h"

#include "core/app/TextCatalog.h"
#include "core/document/cPozycjaMP3.h"
#include "core/document/cPozycjeMP3.h"
#include "core/document/cPozycjePlikow.h"
#include "platform/settings/MemorySettingsStore.h"

#include <stdexcept>

using namespace kelbrin;
using kelbrin::test::DocumentTest;

using DocumentTrackModel = DocumentTest;

TEST_F(DocumentTrackModel, NewTrackStartsWithItsDefaults) {
    cPozycjaMP3 track;
    EXPECT_EQ(track.lngLoopTrack, -1);
    EXPECT_FLOAT_EQ(track.sngOverTaking, -100000.0f);
    EXPECT_FLOAT_EQ(track.sngRate, 1.0f);
    EXPECT_EQ(track.lngVolumeStart, -10000);
    EXPECT_EQ(track.lngVolumeEnd, -10000);
    EXPECT_EQ(track.lngMarkerFrom, 1000);
    EXPECT_EQ(track.lngMarkerTo, 31767);
    EXPECT_TRUE(track.blnJednostka);
    EXPECT_TRUE(track.colNastepnik.isEmpty());
    EXPECT_EQ(track.strLabel, GetText(3097));
    EXPECT_FALSE(track.strLabel.isEmpty());
    EXPECT_EQ(track.strDevice, "Default DirectSound Device");
    EXPECT_EQ(track.lngRamkaOd, 0);
    EXPECT_EQ(track.MediaControl, nullptr);
}

TEST_F(DocumentTrackModel, NewTrackTakesTheLabelLanguageAndDeviceOfTheMoment) {
    settings->values.insert("DefSoundCard", "USB Speakers");
    Catalog().setLanguage("POLSKI");
    cPozycjaMP3 track;
    EXPECT_EQ(track.strDevice, "USB Speakers");
    EXPECT_EQ(track.strLabel, QString::fromUtf8("Utwór"));
}

TEST_F(DocumentTrackModel, TrackCollectionKeepsNumbersWhilePositionsShift) {
    cPozycjeMP3 tracks;
    for (int n : {7, 8, 9}) {
        auto t = std::make_shared<cPozycjaMP3>();
        t->lngNrPozycji = n;
        tracks.Add(t);
    }
    EXPECT_EQ(tracks.Item(0), nullptr);
    EXPECT_EQ(tracks.Item(-5), nullptr);
    EXPECT_THROW(tracks.Item(4), std::out_of_range);
    tracks.Remove(4); // past the end: nothing
    EXPECT_EQ(tracks.Count(), 3);
    EXPECT_THROW(tracks.Remove(0), std::out_of_range);

    tracks.Remove(2);
    ASSERT_EQ(tracks.Count(), 2);
    EXPECT_EQ(tracks.Item(1)->lngNrPozycji, 7);
    EXPECT_EQ(tracks.Item(2)->lngNrPozycji, 9);
}

TEST_F(DocumentTrackModel, OpenFilesCollectionFollowsTheSameRules) {
    cPozycjePlikow files;
    auto a = std::make_shared<cPozycjaPlikow>();
    auto b = std::make_shared<cPozycjaPlikow>();
    files.Add(a);
    files.Add(b);
    EXPECT_EQ(files.Item(0), nullptr);
    EXPECT_EQ(files.Item(2), b);
    EXPECT_THROW(files.Item(3), std::out_of_range);
    files.Remove(3);
    EXPECT_THROW(files.Remove(-1), std::out_of_range);
    files.Remove(1);
    EXPECT_EQ(files.Count(), 1);
    EXPECT_EQ(files.Item(1), b);
}

TEST_F(DocumentTrackModel, EveryTextTheDocumentModelShowsExistsInBothLanguages) {
    for (int nr : {3025, 3026, 3037, 3038, 3097, 3140, 3159, 3160, 3178, 3301}) {
        for (const char* language : {"ENGLISH", "POLSKI"}) {
            Catalog().setLanguage(language);
            EXPECT_FALSE(CatalogText(nr).isEmpty()) << nr << " " << language;
        }
    }
}

TEST_F(DocumentTrackModel, NumberLookupFollowsAddsRemovalsAndNumbersChangedInPlace) {
    cPozycjeMP3 tracks;
    for (int n : {7, 8, 9, 8}) {
        auto t = std::make_shared<cPozycjaMP3>();
        t->lngNrPozycji = n;
        tracks.Add(t);
    }
    EXPECT_EQ(tracks.PositionOf(7), 1);
    EXPECT_EQ(tracks.PositionOf(8), 2); // the first of two with the same number
    EXPECT_EQ(tracks.PositionOf(9), 3);
    EXPECT_EQ(tracks.PositionOf(5), 0);
    EXPECT_EQ(tracks.PositionOf(0), 0);
    EXPECT_EQ(tracks.PositionOf(-8), 0);

    tracks.Remove(1);
    EXPECT_EQ(tracks.PositionOf(7), 0);
    EXPECT_EQ(tracks.PositionOf(8), 1);
    EXPECT_EQ(tracks.PositionOf(9), 2);
    tracks.Remove(1); // the second 8 is found now
    EXPECT_EQ(tracks.PositionOf(8), 2);
    tracks.Remove(9); // past the end: nothing changes
    EXPECT_EQ(tracks.PositionOf(9), 1);

    // A number written straight into a track already held.
    tracks.Item(1)->lngNrPozycji = 42;
    EXPECT_EQ(tracks.PositionOf(9), 0);
    EXPECT_EQ(tracks.PositionOf(42), 1);
    tracks.Item(2)->lngNrPozycji = 42; // a later duplicate does not hide the first
    EXPECT_EQ(tracks.PositionOf(42), 1);

    // A track added before it has a number is found once it has one.
    auto late = std::make_shared<cPozycjaMP3>();
    tracks.Add(late);
    late->lngNrPozycji = 11;
    EXPECT_EQ(tracks.PositionOf(11), 3);
    // The item is the collection's own pointer, not a copy of it.
    EXPECT_EQ(&tracks.Item(3), &tracks.Item(3));
    EXPECT_EQ(tracks.Item(3).use_count(), 2);
}
