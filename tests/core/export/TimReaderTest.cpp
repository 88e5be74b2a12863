#include "SplitTestSupport.h"

#include "core/export/SegmentList.h"

using namespace kelbrin;
using kelbrin::test::SplitTest;

using Pieces = QList<std::pair<double, double>>;

TEST_F(SplitTest, SegmentListsReadWithEitherLineEnd) {
    const QString dir = test::MakeTempDir("tim");
    // As the recorder writes it: CR LF before each entry, nothing after the last.
    const QString crlf = test::WriteFile(dir + "/a.tim", "\r\n5\r\n-20\r\n40\r\n-70");
    const QString lf = test::WriteFile(dir + "/b.tim", "\n5\n-20\n\n40\n-70\n");
    for (const QString& path : {crlf, lf}) {
        const auto values = ReadSegmentList(path);
        ASSERT_TRUE(values);
        EXPECT_EQ(SegmentPieces(*values), (Pieces{{5, 20}, {40, 70}}));
    }
    EXPECT_FALSE(ReadSegmentList(dir + "/missing.tim"));
    EXPECT_EQ(shownNumbers(), QList<int>{3301});
}

TEST(SegmentList, PairsStartAtTheFirstPositiveValue) {
    EXPECT_EQ(SegmentPieces(ParseSegmentList("\r\n-3\r\n10\r\n-25")), (Pieces{{10, 25}}));
    // A start without an end, and a pair that does not move forward, make nothing.
    EXPECT_EQ(SegmentPieces(ParseSegmentList("\r\n12\r\n-30\r\n50")), (Pieces{{12, 30}}));
    EXPECT_EQ(SegmentPieces(ParseSegmentList("\r\n30\r\n-30\r\n40\r\n-45")), (Pieces{{40, 45}}));
    // A stray text line cannot shift the pairs.
    EXPECT_EQ(SegmentPieces(ParseSegmentList("\r\n12\r\nnoise\r\n-30")), (Pieces{{12, 30}}));
    EXPECT_TRUE(SegmentPieces(ParseSegmentList("\r\n-4\r\n0")).isEmpty());
}

TEST(SegmentList, NameReplacesTheExtensionAfterTheLastDot) {
    EXPECT_EQ(SegmentListPath("/rec/x.mp3"), "/rec/x.tim");
    EXPECT_EQ(SegmentListPath("/rec/take.2.wav"), "/rec/take.2.tim");
    EXPECT_EQ(SegmentListPath("/rec.d/x"), "/rec.d/x.tim");
    EXPECT_EQ(SegmentListPath(""), "");
}

TEST(SegmentList, ValuesOutOfRangeAreMalformedLines) {
    // Neither becomes a time: no INT64_MIN to take the absolute value of, no
    // minutes past what a track can hold.
    EXPECT_EQ(ParseSegmentList("\r\n-9999999999999999999\r\n5\r\n1000000000000\r\n-20"),
              (QList<std::int64_t>{5, -20}));
    EXPECT_EQ(SegmentPieces(ParseSegmentList("\r\n9999999999999999999\r\n5\r\n-20")),
              (Pieces{{5, 20}}));
    EXPECT_EQ(ParseSegmentList("\r\n2147483647\r\n-2147483647\r\n2147483648"),
              (QList<std::int64_t>{2147483647, -2147483647}));
}
