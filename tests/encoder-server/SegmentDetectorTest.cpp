// The segment detector: windows, crossings, periods and segment changes, the
// sample formats of the buffer file, and blocks read strictly inside.
#include "SpeechSignals.h"
#include "encoder-server/speech/SegmentDetector.h"

#include <gtest/gtest.h>

using namespace kelbrin;
using namespace kelbrin::test;

namespace {

const PcmLayout kStereo16{16, 2, 44100};
const PcmLayout kMono16{16, 1, 44100};
const PcmLayout kMono8{8, 1, 8000};

// Parameters with no automatic period, so a test ends periods itself.
SpeechParameters Manual(int windowLength, int jump, int level, int threshold = 12000) {
    SpeechParameters p;
    p.windowLength = windowLength;
    p.minimumJump = jump;
    p.crossingLevel = level;
    p.threshold = threshold;
    p.periodMs = 0;
    return p;
}

// A block whose examined values (every other sample) are `values`; the
// samples in between hold `between`.
QByteArray Examined(const PcmLayout& layout, const QList<int>& values, int between = 0) {
    QByteArray out;
    for (int v : values) {
        AppendSample(out, layout, v);
        AppendSample(out, layout, between);
    }
    return out;
}

QList<int> Repeat(int value, int count) { return QList<int>(count, value); }

} // namespace

TEST(SegmentDetector, WindowHoldsWindowLengthPlusOneValuesAndRunsAcrossBlocks) {
    SegmentDetector d(kStereo16, Manual(2000, 16000, 5000));
    // 2001 loud values fill the first window; it is judged when the next value comes.
    d.examineBlock(Examined(kStereo16, Repeat(20000, 1500)));
    d.examineBlock(Examined(kStereo16, Repeat(20000, 501)));
    EXPECT_EQ(d.crossingsThisPeriod(), 0);
    d.examineBlock(Examined(kStereo16, {0}));
    EXPECT_EQ(d.crossingsThisPeriod(), 1);
}

TEST(SegmentDetector, CrossingNeedsTheJumpAndTheLevelBetweenTheMaxima) {
    SegmentDetector d(kStereo16, Manual(0, 16000, 5000));
    // P = 0, M = 20000: counted; P becomes 20000.
    d.examineBlock(Examined(kStereo16, {20000, 20000}));
    EXPECT_EQ(d.crossingsThisPeriod(), 1);
    // 20000 -> 19000: no crossing of L; 20000 -> 6000: L not between; 20000 -> 4500: jump too small.
    d.examineBlock(Examined(kStereo16, {19000, 6000, 4500, 20000}));
    EXPECT_EQ(d.crossingsThisPeriod(), 1);
    // 20000 -> 100: counted; 100 -> 20000: counted.
    d.examineBlock(Examined(kStereo16, {100, 20000, 0}));
    EXPECT_EQ(d.crossingsThisPeriod(), 3);
}

TEST(SegmentDetector, PeriodsFoldCrossingsIntoTheCoefficient) {
    SegmentDetector d(kStereo16, Manual(0, 16000, 5000));
    QList<SpeechPeriod> periods;
    d.onPeriod = [&](const SpeechPeriod& p) { periods.append(p); };

    // First period of a new detector: the quiet minimum is 0, so the depth is L.
    d.examineBlock(Examined(kStereo16, {20000, 100, 20000, 100, 0}));
    d.endPeriod();
    ASSERT_EQ(periods.size(), 1);
    EXPECT_EQ(periods[0].crossings, 4);
    EXPECT_EQ(periods[0].depth, 5000);
    EXPECT_EQ(periods[0].coefficient, (0 + 5000 * 4) / 2);

    // Later periods measure how deep the quiet maxima fell: 5000 - 100.
    d.examineBlock(Examined(kStereo16, {20000, 100, 0}));
    d.endPeriod();
    EXPECT_EQ(periods[1].crossings, 2);
    EXPECT_EQ(periods[1].depth, 4900);
    EXPECT_EQ(periods[1].coefficient, (10000 + 4900 * 2) / 2);

    // Without crossings the depth is 0 and the coefficient halves, toward zero.
    d.endPeriod();
    d.endPeriod();
    EXPECT_EQ(periods[2].depth, 0);
    EXPECT_EQ(periods[2].coefficient, 9900 / 2);
    EXPECT_EQ(periods[3].coefficient, 4950 / 2);
}

TEST(SegmentDetector, BarClipsWhileTheCoefficientShowsUnclipped) {
    SegmentDetector d(kStereo16, Manual(0, 1000, 5000));
    QList<int> talk;
    for (int i = 0; i < 40; ++i)
        talk << 20000 << 0;
    d.examineBlock(Examined(kStereo16, talk));
    d.endPeriod();
    EXPECT_GT(d.coefficient(), SegmentDetector::kBarMax);
    EXPECT_EQ(d.bar(), SegmentDetector::kBarMax);
    // The next period smooths from the clipped bar.
    const qint64 unclipped = d.coefficient();
    d.endPeriod();
    EXPECT_EQ(d.coefficient(), SegmentDetector::kBarMax / 2);
    EXPECT_NE(d.coefficient(), unclipped / 2);
}

TEST(SegmentDetector, SegmentOpensBelowTheThresholdAndClosesAtIt) {
    SegmentDetector d(kStereo16, Manual(0, 1000, 5000, 12000));
    // Coefficient 0 < threshold: the first block opens a segment at its end.
    const QByteArray quiet = Examined(kStereo16, Repeat(0, 10));
    EXPECT_EQ(d.examineBlock(quiet), (QList<SegmentChange>{{true, 10}}));
    EXPECT_TRUE(d.segmentOpen());
    EXPECT_TRUE(d.examineBlock(quiet).isEmpty());

    QList<int> talk;
    for (int i = 0; i < 6; ++i)
        talk << 20000 << 0;
    d.examineBlock(Examined(kStereo16, talk));
    d.endPeriod(); // 11 crossings x 5000 / 2 = 27500
    EXPECT_EQ(d.examineBlock(quiet), (QList<SegmentChange>{{false, 10}}));

    // The threshold moved above the coefficient while it stays: the next block opens one.
    SpeechParameters p = d.parameters();
    p.threshold = int(d.coefficient()) + 1;
    d.setParameters(p);
    EXPECT_EQ(d.examineBlock(quiet), (QList<SegmentChange>{{true, 10}}));
    // And moved below it again: the next block closes it.
    p.threshold = int(d.coefficient()) - 1;
    d.setParameters(p);
    EXPECT_EQ(d.examineBlock(quiet), (QList<SegmentChange>{{false, 10}}));
}

TEST(SegmentDetector, PeriodsFollowTheExaminedAudioInsideLongBlocks) {
    SpeechParameters p = Manual(0, 1000, 5000);
    p.periodMs = 500;
    SegmentDetector d(kStereo16, p);
    int periods = 0;
    d.onPeriod = [&](const SpeechPeriod&) { ++periods; };
    // 2.2 s in one block: periods end at 0.5, 1.0, 1.5 and 2.0 s.
    d.examineBlock(MakeRecording(kStereo16, {{Stretch::Silence, 2.2}}));
    EXPECT_EQ(periods, 4);
    d.examineBlock(MakeRecording(kStereo16, {{Stretch::Silence, 0.35}}));
    EXPECT_EQ(periods, 5);
    // A new period length starts a fresh period from here.
    p.periodMs = 1000;
    d.setParameters(p);
    d.examineBlock(MakeRecording(kStereo16, {{Stretch::Silence, 0.9}}));
    EXPECT_EQ(periods, 5);
    d.examineBlock(MakeRecording(kStereo16, {{Stretch::Silence, 0.2}}));
    EXPECT_EQ(periods, 6);
}

TEST(SegmentDetector, ReadsEightBitUnsignedSamplesCentredOn128) {
    // 128 is silence; 148 is 20 x 256 = 5120 on the 16-bit scale, just above
    // L = 5000, and 147 (4864) just below it.
    SegmentDetector above(kMono8, Manual(0, 1000, 5000));
    QByteArray block(40, char(128));
    for (int i = 20; i < 40; ++i)
        block[i] = char(148);
    above.examineBlock(block);
    above.examineBlock(QByteArray(4, char(128)));
    EXPECT_EQ(above.crossingsThisPeriod(), 2);

    SegmentDetector below(kMono8, Manual(0, 1000, 5000));
    for (int i = 20; i < 40; ++i)
        block[i] = char(147);
    below.examineBlock(block);
    below.examineBlock(QByteArray(4, char(128)));
    EXPECT_EQ(below.crossingsThisPeriod(), 0);

    // Silence read as 8-bit never crosses anything, however long.
    SegmentDetector silent(kMono8, Manual(0, 1000, 5000));
    silent.examineBlock(QByteArray(8000, char(128)));
    EXPECT_EQ(silent.crossingsThisPeriod(), 0);
}

TEST(SegmentDetector, ExaminesEveryOtherSampleOfTheStream) {
    // Stereo: the left channel of every frame; a loud right channel is never seen.
    SegmentDetector stereo(kStereo16, Manual(0, 1000, 5000));
    stereo.examineBlock(Examined(kStereo16, Repeat(0, 50), 30000));
    EXPECT_EQ(stereo.crossingsThisPeriod(), 0);

    // Mono: samples 0, 2, 4...; the order carries over a block of odd length.
    SegmentDetector mono(kMono16, Manual(0, 1000, 5000));
    QByteArray odd;
    AppendSample(odd, kMono16, 0);
    AppendSample(odd, kMono16, 30000);
    AppendSample(odd, kMono16, 0);
    mono.examineBlock(odd); // examines samples 0 and 2
    QByteArray next;        // stream samples 3 (skipped) and 4 (examined)
    AppendSample(next, kMono16, 30000);
    AppendSample(next, kMono16, 0);
    mono.examineBlock(next);
    mono.examineBlock(QByteArray(4, '\0'));
    EXPECT_EQ(mono.crossingsThisPeriod(), 0);
}

TEST(SegmentDetector, NeverReadsPastTheEndOfTheBlock) {
    // The block is a view into a larger buffer whose bytes after the block are
    // loud; a reader that went one value too far would count a crossing.
    QByteArray buffer;
    for (int i = 0; i < 4; ++i)
        AppendSample(buffer, kMono16, 0);
    for (int i = 0; i < 8; ++i)
        AppendSample(buffer, kMono16, 30000);
    SegmentDetector d(kMono16, Manual(0, 1000, 5000));
    d.examineBlock(QByteArrayView(buffer.constData(), 8));
    // A trailing half sample is not a sample either.
    d.examineBlock(QByteArrayView(buffer.constData(), 3));
    d.examineBlock(QByteArrayView(buffer.constData(), 0));
    d.examineBlock(QByteArrayView(buffer.constData(), 4));
    EXPECT_EQ(d.crossingsThisPeriod(), 0);
    EXPECT_EQ(d.framesExamined(), 4 + 1 + 0 + 2);
}

