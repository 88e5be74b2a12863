// Damaged and hostile project files: truncated and corrupted copies of a saved
// project, and headers that announce more than the file holds. Each is either
// read or refused; none may crash, hang or allocate beyond the file's size.
#include "ProjectTestSupport.h"

#include "core/project/ProjectFileReader.h"
#include "core/project/ProjectFileWriter.h"
#include "platform/text/AnsiCodec.h"

#include <random>

using namespace kelbrin;
using namespace kelbrin::test;

namespace {

const AnsiCodec kCodec(1252);

QByteArray savedProject() {
    cPozycjePlikow files;
    for (int i = 1; i <= 3; ++i) {
        auto f = std::make_shared<cPozycjaPlikow>();
        f->strFileName = QStringLiteral("/music/source%1.mp3").arg(i);
        f->lngNrPozycji = i;
        files.Add(f);
    }
    cPozycjeMP3 tracks;
    for (int i = 1; i <= 6; ++i) {
        auto t = std::make_shared<cPozycjaMP3>();
        t->lngNrPozycji = i;
        t->lngTrack = i - 1;
        t->strFileName = QStringLiteral("out%1.mp3").arg(i);
        t->strFileNameSource = QStringLiteral("/music/source%1.mp3").arg(1 + i % 3);
        t->strTitle = QStringLiteral("Title %1").arg(i);
        tracks.Add(t);
    }
    return *BuildProjectBytes(ProjectHeader{}, files, tracks, kCodec);
}

void setLong(QByteArray& bytes, qsizetype at, std::int32_t value) {
    qToLittleEndian(value, bytes.data() + at);
}

class ProjectFuzz : public ProjectTest {};

} // namespace

TEST_F(ProjectFuzz, TruncatedAndCorruptedCopiesAreReadOrRefused) {
    const QByteArray original = savedProject();
    ASSERT_EQ(ParseProject(original, kCodec).status, ProjectReadStatus::Ok);

    for (qsizetype length = 0; length < original.size(); ++length) {
        const ProjectReadResult r = ParseProject(original.left(length), kCodec);
        ASSERT_EQ(r.status, ProjectReadStatus::Damaged) << length;
    }

    std::mt19937 random(20240611);
    std::uniform_int_distribution<qsizetype> position(0, original.size() - 1);
    std::uniform_int_distribution<int> byteValue(0, 255);
    int read = 0;
    for (int round = 0; round < 3000; ++round) {
        QByteArray copy = original;
        const int flips = 1 + round % 8;
        for (int i = 0; i < flips; ++i)
            copy[position(random)] = static_cast<char>(byteValue(random));
        const ProjectReadResult r = ParseProject(copy, kCodec);
        if (r.status != ProjectReadStatus::Ok)
            continue;
        ++read;
        // Whatever was read is usable: unique positive numbers, counters past them.
        QSet<std::int32_t> numbers;
        for (const StoredTrack& t : r.contents.tracks) {
            ASSERT_GT(t.track->lngNrPozycji, 0);
            ASSERT_FALSE(numbers.contains(t.track->lngNrPozycji));
            numbers.insert(t.track->lngNrPozycji);
            ASSERT_LT(t.track->lngNrPozycji, r.contents.header.nextTrackNo);
        }
        ASSERT_LE(r.contents.tracks.size() + r.contents.sources.size(), copy.size());
    }
    EXPECT_GT(read, 0);
}

TEST_F(ProjectFuzz, CountsThatTheBytesCannotHoldAreRefusedBeforeAnyRecordIsRead) {
    const QByteArray original = savedProject();
    for (const std::int32_t count : {-1, std::numeric_limits<std::int32_t>::min(), 7, 100000000,
                                     std::numeric_limits<std::int32_t>::max()}) {
        QByteArray tracks = original;
        setLong(tracks, 12, count);
        EXPECT_EQ(ParseProject(tracks, kCodec).status, ProjectReadStatus::Damaged) << count;
        QByteArray sources = original;
        setLong(sources, 16, count);
        EXPECT_EQ(ParseProject(sources, kCodec).status, ProjectReadStatus::Damaged) << count;
    }
    // Versions: 1001 is too old, others unknown; a file too short for a version is damaged.
    QByteArray old = original;
    setLong(old, 0, 1001);
    EXPECT_EQ(ParseProject(old, kCodec).status, ProjectReadStatus::TooOld);
    for (const std::int32_t version : {0, 1000, 1007, -1006}) {
        QByteArray other = original;
        setLong(other, 0, version);
        EXPECT_EQ(ParseProject(other, kCodec).status, ProjectReadStatus::UnknownVersion);
    }
    EXPECT_EQ(ParseProject(QByteArray("\xEE\x03", 2), kCodec).status, ProjectReadStatus::Damaged);
}
