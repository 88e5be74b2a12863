// Project files of every readable version, built here byte by byte from the
// layout tables, read field by field; and the writer's bytes against the same
// hand-built version-1006 reference.
#include "ProjectTestSupport.h"

#include "core/project/ByteFields.h"
#include "core/project/ProjectFileReader.h"
#include "core/project/ProjectFileWriter.h"
#include "platform/text/AnsiCodec.h"

#include <cmath>

using namespace kelbrin;
using namespace kelbrin::test;

namespace {

const AnsiCodec kCodec(1250);

QByteArray referenceSources(int version) {
    Bytes b;
    b.str("/media/a.mp3").flag(false).i16(1).f64(60.0);
    if (version >= 1003)
        b.flag(false);
    b.str("/media/b.mp3").flag(true).i16(2).f64(120.5);
    if (version >= 1003)
        b.flag(true);
    return b.data;
}

QByteArray referenceTrack(int version, const QByteArray& name = "part1.mp3",
                          const QByteArray& label = "Intro", const QByteArray& device = "Card") {
    Bytes b;
    b.str(name).i32(1).i32(15).i32(600).i32(2).i32(30).i32(250).i32(7).i32(0).i32(0);
    b.i32(11).i32(4000).flag(false).str(label).i32(1500).i32(2500).i32(3).i32(5).i32(2);
    b.flag(true).i32(-300).i32(1200).f32(1.25f).flag(true).f64(99.5).i32(2);
    if (version == 1003)
        b.i32(-5000).i32(-6000).f32(1.5f).f32(2.5f).f32(3.5f).f32(0.75f);
    if (version >= 1004)
        b.i32(-5000).i32(-6000).f32(1.5f).f32(1.6f).f32(2.5f).f32(2.6f).f32(3.5f).f32(3.6f).f32(
            0.75f);
    if (version >= 1003)
        b.str(device).flag(true).i32(1100).i32(30000).flag(true);
    if (version >= 1005)
        b.i32(128);
    if (version >= 1006)
        b.fixed30("Title").fixed30("Artist").fixed30("Album").fixed30("Comment").u8(17).i32(1999);
    return b.data;
}

QByteArray referenceHeader(int version, std::int32_t tracks, std::int32_t sources) {
    Bytes b;
    b.i32(version).f64(37000.0).i32(tracks).i32(sources).i32(6000).i32(9).i32(3);
    b.i32(11000).i32(1).i32(120).i32(240).i32(0).i32(0);
    return b.data;
}

QByteArray referenceFile(int version) {
    return referenceHeader(version, 1, 2) + referenceSources(version) + referenceTrack(version);
}

class ProjectFormat : public ProjectTest {};

} // namespace

TEST_F(ProjectFormat, HandBuiltReferencesHaveTheRecordSizesOfEachVersion) {
    const int fixed[] = {94, 130, 142, 146, 271};
    for (int version = 1002; version <= 1006; ++version) {
        const int strings = version == 1002 ? 2 : 3;
        EXPECT_EQ(referenceTrack(version, "", "", "").size(), fixed[version - 1002] + 2 * strings)
            << version;
        EXPECT_EQ(referenceHeader(version, 0, 0).size(), 56);
    }
}

TEST_F(ProjectFormat, EveryVersionReadsFieldByField) {
    for (int version = 1002; version <= 1006; ++version) {
        SCOPED_TRACE(version);
        const ProjectReadResult r = ParseProject(referenceFile(version), kCodec);
        ASSERT_EQ(r.status, ProjectReadStatus::Ok);
        const ProjectHeader& h = r.contents.header;
        EXPECT_EQ(h.version, version);
        EXPECT_EQ(h.date, 37000.0);
        EXPECT_EQ(h.trackCount, 1);
        EXPECT_EQ(h.sourceCount, 2);
        EXPECT_EQ(h.windowHeight, 6000);
        EXPECT_EQ(h.windowWidth, 11000);
        EXPECT_EQ(h.templateLeft, 120);
        EXPECT_EQ(h.templateTop, 240);
        EXPECT_EQ(h.nextFileId, 3);
        // The stored counter is lower than a number in use: raised past it.
        EXPECT_EQ(h.nextTrackNo, 9);

        ASSERT_EQ(r.contents.sources.size(), 2);
        const StoredSource& a = r.contents.sources[0];
        const StoredSource& b = r.contents.sources[1];
        EXPECT_EQ(a.path, "/media/a.mp3");
        EXPECT_FALSE(a.vbr);
        EXPECT_EQ(a.id, 1);
        EXPECT_EQ(a.duration, 60.0);
        EXPECT_EQ(b.path, "/media/b.mp3");
        EXPECT_TRUE(b.vbr);
        EXPECT_EQ(b.id, 2);
        EXPECT_EQ(b.duration, 120.5);
        EXPECT_EQ(b.noSave, version >= 1003);

        ASSERT_EQ(r.contents.tracks.size(), 1);
        const StoredTrack& st = r.contents.tracks[0];
        const cPozycjaMP3& t = *st.track;
        EXPECT_EQ(st.sourceId, 2);
        EXPECT_EQ(st.storedDuration, 99.5);
        EXPECT_EQ(t.strFileName, "part1.mp3");
        EXPECT_EQ(t.lngPoczatek_M, 1);
        EXPECT_EQ(t.lngPoczatek_S, 15);
        EXPECT_EQ(t.lngPoczatek_SS, 600);
        EXPECT_EQ(t.lngKoniec_M, 2);
        EXPECT_EQ(t.lngKoniec_S, 30);
        EXPECT_EQ(t.lngKoniec_SS, 250);
        EXPECT_EQ(t.lngNrPozycji, 7);
        EXPECT_EQ(t.lngRamkaOd, 11);
        EXPECT_EQ(t.lngRamkaDo, 4000);
        EXPECT_FALSE(t.blnJednostka);
        EXPECT_EQ(t.strLabel, "Intro");
        EXPECT_EQ(t.lngLeft, 1500);
        EXPECT_EQ(t.lngTop, 2500);
        EXPECT_EQ(t.lngTrack, 3);
        EXPECT_EQ(t.lngLoopTrack, 5);
        EXPECT_EQ(t.lngLoopCountBackup, 2);
        EXPECT_EQ(t.lngLoopCount, 2);
        EXPECT_TRUE(t.blnZablokowany);
        EXPECT_EQ(t.lngVolume, -300);
        EXPECT_EQ(t.lngBalance, 1200);
        EXPECT_EQ(t.sngRate, 1.25f);
        EXPECT_TRUE(t.blnAwlaysTop);
        EXPECT_FALSE(t.blnZmodyfikowana);

        const bool fades = version >= 1003;
        EXPECT_EQ(t.lngVolumeStart, fades ? -5000 : -10000);
        EXPECT_EQ(t.lngVolumeEnd, fades ? -6000 : -10000);
        EXPECT_EQ(t.sngFadeInTime, fades ? 1.5f : 0.0f);
        EXPECT_EQ(t.sngFadeInOffsetTime, fades ? 2.5f : 0.0f);
        EXPECT_EQ(t.sngFadeOutTime, fades ? 3.5f : 0.0f);
        EXPECT_EQ(t.sngOvertake, fades ? 0.75f : 0.0f);
        EXPECT_EQ(t.strDevice, fades ? "Card" : "Default DirectSound Device");
        EXPECT_EQ(t.blnLabelEdited, fades);
        EXPECT_EQ(t.lngMarkerFrom, fades ? 1100 : 1000);
        EXPECT_EQ(t.lngMarkerTo, fades ? 30000 : 31767);
        EXPECT_EQ(t.blnDetails, fades);
        const bool rescaled = version >= 1004;
        EXPECT_EQ(t.sngFadeInTimeOld, rescaled ? 1.6f : 0.0f);
        EXPECT_EQ(t.sngFadeInOffsetTimeOld, rescaled ? 2.6f : 0.0f);
        EXPECT_EQ(t.sngFadeOutTimeOld, rescaled ? 3.6f : 0.0f);
        EXPECT_EQ(t.lngBPM, version >= 1005 ? 128 : 0);
        const bool tag = version >= 1006;
        EXPECT_EQ(t.strTitle, tag ? QString("Title") : QString());
        EXPECT_EQ(t.strAutor, tag ? QString("Artist") : QString());
        EXPECT_EQ(t.strAlbum, tag ? QString("Album") : QString());
        EXPECT_EQ(t.strComment, tag ? QString("Comment") : QString());
        EXPECT_EQ(t.lngGenre, tag ? 17 : 255); // older files leave a new track's "none"
        EXPECT_EQ(t.strYear, tag ? "1999" : "");
    }
}

TEST_F(ProjectFormat, WriterBytesEqualTheHandBuiltReference) {
    // In-memory ids far beyond the 16-bit field: written as positions 1 and 2.
    cPozycjePlikow files;
    auto a = std::make_shared<cPozycjaPlikow>();
    a->strFileName = "/media/a.mp3";
    a->lngNrPozycji = 70001;
    a->sngCzasTrwania = 60;
    auto b = std::make_shared<cPozycjaPlikow>();
    b->strFileName = "/media/b.mp3";
    b->lngNrPozycji = 70002;
    b->sngCzasTrwania = 120.5f;
    b->blnVBR = true;
    b->blnNoSave = true;
    files.Add(a);
    files.Add(b);

    const ProjectReadResult read = ParseProject(referenceFile(1006), kCodec);
    ASSERT_EQ(read.status, ProjectReadStatus::Ok);
    auto track = read.contents.tracks[0].track;
    track->strFileNameSource = "/media/b.mp3";
    track->dblDuration = 99.5;
    track->strTitle = "Title"; // padded on writing
    cPozycjeMP3 tracks;
    tracks.Add(track);

    ProjectHeader h;
    h.date = 37000.0;
    h.windowHeight = 6000;
    h.windowWidth = 11000;
    h.nextTrackNo = 9;
    h.nextFileId = 3;
    h.templateLeft = 120;
    h.templateTop = 240;
    const auto bytes = BuildProjectBytes(h, files, tracks, kCodec);
    ASSERT_TRUE(bytes);
    EXPECT_EQ(bytes->toHex(), referenceFile(1006).toHex());
}

TEST_F(ProjectFormat, StringsTagsYearsAndSourceIdsKeepTheirLimits) {
    cPozycjePlikow files;
    for (const char* path : {"/m/x.mp3", "/m/y.mp3", "/m/x.mp3"}) {
        auto f = std::make_shared<cPozycjaPlikow>();
        f->strFileName = path;
        f->lngNrPozycji = 5;
        files.Add(f);
    }
    cPozycjeMP3 tracks;
    auto t = std::make_shared<cPozycjaMP3>();
    t->lngNrPozycji = 1;
    t->strFileNameSource = "/m/x.mp3";
    t->strLabel = QString::fromUtf8("Łódź");
    t->strTitle = QString(35, 'T');
    t->strAlbum = "abc";
    t->strYear = "";
    t->lngGenre = 0x1FF;
    tracks.Add(t);
    auto orphan = std::make_shared<cPozycjaMP3>();
    orphan->lngNrPozycji = 2;
    orphan->strFileNameSource = "/elsewhere.mp3";
    orphan->strYear = "1987";
    orphan->lngGenre = 0; // chosen: "Blues" stays
    tracks.Add(orphan);

    const QByteArray bytes = *BuildProjectBytes(ProjectHeader{}, files, tracks, kCodec);
    EXPECT_TRUE(bytes.contains(QByteArray("\x04\x00\xA3\xF3\x64\x9F", 6))); // label in CP-1250
    const ProjectReadResult r = ParseProject(bytes, kCodec);
    ASSERT_EQ(r.status, ProjectReadStatus::Ok);
    ASSERT_EQ(r.contents.tracks.size(), 2);
    EXPECT_EQ(r.contents.tracks[0].sourceId, 3); // the last open file with the path
    EXPECT_EQ(r.contents.tracks[1].sourceId, 0); // no open file has it
    const cPozycjaMP3& back = *r.contents.tracks[0].track;
    EXPECT_EQ(back.strLabel, QString::fromUtf8("Łódź"));
    EXPECT_EQ(back.strTitle, QString(30, 'T'));
    EXPECT_EQ(back.strAlbum, "abc");
    EXPECT_EQ(back.strYear, "");
    EXPECT_EQ(back.lngGenre, 0xFF);
    EXPECT_EQ(r.contents.tracks[1].track->strYear, "1987");
    EXPECT_EQ(r.contents.tracks[1].track->lngGenre, 0);

    // The year field of an empty year holds 0, not a day count.
    const qsizetype yearAt = 56 + 3 * (2 + 8 + 2 + 2 + 8 + 2) + (271 + 2 + 2 + 4 + 2 + 26) - 4;
    EXPECT_EQ(qFromLittleEndian<std::int32_t>(bytes.constData() + yearAt), 0);

    // No sources, no tracks: the header alone.
    EXPECT_EQ(BuildProjectBytes(ProjectHeader{}, cPozycjePlikow{}, cPozycjeMP3{}, kCodec)->size(),
              56);

    // A 300-byte path is counted in two bytes.
    cPozycjePlikow one;
    auto longPath = std::make_shared<cPozycjaPlikow>();
    longPath->strFileName = "/" + QString(299, 'p');
    one.Add(longPath);
    const QByteArray withPath = *BuildProjectBytes(ProjectHeader{}, one, cPozycjeMP3{}, kCodec);
    EXPECT_EQ(withPath.mid(56, 2), QByteArray("\x2C\x01", 2));
    EXPECT_EQ(withPath.size(), 56 + 2 + 300 + 14);
}

// Fault mended: the hidden-text tool's or frame editor's own record of a
// project source was stored as a second source with the same path.
TEST_F(ProjectFormat, AToolsOwnCopyOfAProjectSourceIsStoredOnce) {
    cPozycjePlikow files;
    auto add = [&](const char* path, bool toolCopy) {
        auto f = std::make_shared<cPozycjaPlikow>();
        f->strFileName = path;
        f->blnExtraArray = toolCopy;
        files.Add(f);
    };
    add("/m/x.mp3", false);
    add("/m/tool-only.mp3", true);
    add("/m/x.mp3", true);
    cPozycjeMP3 tracks;
    auto t = std::make_shared<cPozycjaMP3>();
    t->lngNrPozycji = 1;
    t->strFileNameSource = "/m/x.mp3";
    tracks.Add(t);
    const ProjectReadResult r = ParseProject(*BuildProjectBytes(ProjectHeader{}, files, tracks, kCodec), kCodec);
    ASSERT_EQ(r.status, ProjectReadStatus::Ok);
    ASSERT_EQ(r.contents.sources.size(), 2);
    EXPECT_EQ(r.contents.sources[0].path, "/m/x.mp3");
    EXPECT_EQ(r.contents.sources[1].path, "/m/tool-only.mp3");
    ASSERT_EQ(r.contents.tracks.size(), 1);
    EXPECT_EQ(r.contents.tracks[0].sourceId, 1);
}

TEST_F(ProjectFormat, DateValuesCountDaysFromTheEndOf1899) {
    using namespace project_format;
    EXPECT_EQ(DateValue(QDate(1899, 12, 30)), 0.0);
    EXPECT_EQ(DateValue(QDate(2001, 1, 1)), 36892.0);
    EXPECT_EQ(DateFromValue(36892.75), QDate(2001, 1, 1));
    EXPECT_EQ(DateFromValue(-1.5), QDate(1899, 12, 29));
    EXPECT_FALSE(DateFromValue(std::nan("")).isValid());
    EXPECT_FALSE(DateFromValue(1e300).isValid());
}
