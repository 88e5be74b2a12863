#include "core/export/SegmentList.h"
#include "core/playback/PreviewPoints.h"
#include "platform/settings/MemorySettingsStore.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

using namespace kelbrin;

namespace {

QList<std::int32_t> Points(const QList<std::int64_t>& v) { return PreviewPointsOf(v); }

TEST(PreviewPoints, KeepsSegmentsLongerThanAMinuteAsTriples) {
    EXPECT_EQ(Points({100, -170, 300, -330}), (QList<std::int32_t>{100, 135, 170}));
    // Middle point truncated; several kept segments follow one another.
    EXPECT_EQ(Points({10, -81, 200, -400}), (QList<std::int32_t>{10, 45, 81, 200, 300, 400}));
    // Exactly 60 s is not kept; a start without an end yields nothing.
    EXPECT_TRUE(Points({100, -160, 300}).isEmpty());
    // Values before the first start and repeated starts are skipped.
    EXPECT_EQ(Points({-5, 0, 100, 120, -200}), (QList<std::int32_t>{100, 150, 200}));
}

TEST(PreviewPoints, ReadsTheListBesideTheSourceAndItsLastEntry) {
    const QString dir = test::MakeTempDir(QStringLiteral("points"));
    const QString source = dir + QStringLiteral("/show.v2.mp3");
    test::WriteFile(source, "x");
    // No final line break: the last entry still counts.
    test::WriteFile(dir + QStringLiteral("/show.v2.tim"), "\r\n100\r\n-170\r\n300\r\n-400");
    const auto points = LoadPreviewPoints(source, 0);
    ASSERT_TRUE(points);
    EXPECT_EQ(*points, (QList<std::int32_t>{100, 135, 170, 300, 350, 400}));
    // OpenType 2 reads no list.
    EXPECT_FALSE(LoadPreviewPoints(source, 2));
}

TEST(PreviewPoints, NameReplacesOnlyTheExtensionAfterTheLastDot) {
    EXPECT_EQ(SegmentListPath(QStringLiteral("/a.b/rec.mpeg")), QStringLiteral("/a.b/rec.tim"));
    EXPECT_EQ(SegmentListPath(QStringLiteral("/a.b/rec.mp3")), QStringLiteral("/a.b/rec.tim"));
    EXPECT_EQ(SegmentListPath(QStringLiteral("/a.b/rec")), QStringLiteral("/a.b/rec.tim"));
}

TEST(PreviewPoints, AListWithoutAKeptSegmentMeansNoPoints) {
    const QString dir = test::MakeTempDir(QStringLiteral("points"));
    const QString source = dir + QStringLiteral("/short.mp3");
    test::WriteFile(source, "x");
    test::WriteFile(dir + QStringLiteral("/short.tim"), "\r\n100\r\n-130\r\nrubbish");
    EXPECT_FALSE(LoadPreviewPoints(source, 0));
    EXPECT_FALSE(LoadPreviewPoints(dir + QStringLiteral("/none.mp3"), 0));
}

} // namespace
