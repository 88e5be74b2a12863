// The server window: sliders and their value labels, the detector it tunes
// and shows, the title after a period, the threshold's colour, the compact
// height and the refused close.
#include "core/app/TextCatalog.h"
#include "encoder-server/speech/frmStream.h"
#include "platform/settings/MemorySettingsStore.h"
#include "support/TestEnvironment.h"

#include <QApplication>
#include <QLabel>
#include <QScrollBar>
#include <gtest/gtest.h>

using namespace kelbrin;
using namespace kelbrin::test;

namespace {

class NoList final : public SegmentListWriter {
public:
    void writeSegmentStart(qint64) override {}
    void writeSegmentEnd(qint64) override {}
};

class frmStreamTest : public ::testing::Test {
protected:
    void SetUp() override {
        Catalog().load(SourceDir() + "/resources/Kelbrin.ini");
        Catalog().setLanguage("ENGLISH");
        auto store = std::make_unique<MemorySettingsStore>();
        settings = store.get();
        previousStore = SetSettingsStore(std::move(store));
    }
    void TearDown() override { SetSettingsStore(std::move(previousStore)); }

    MemorySettingsStore* settings = nullptr;
    std::unique_ptr<SettingsStore> previousStore;
};

} // namespace

TEST_F(frmStreamTest, SlidersWriteTheirValueLabels) {
    frmStream w;
    EXPECT_EQ(w.windowTitle(), "Form1");
    w.HScroll3->setValue(9000);
    w.HScroll8->setValue(321);
    w.HScroll1->setValue(15000);
    w.HScroll7->setValue(4000);
    w.VScroll1->setValue(2500);
    w.HScroll6->setValue(12345);
    EXPECT_EQ(w.Label3->text(), "9000");
    EXPECT_EQ(w.lblOdrzutM->text(), "321");
    EXPECT_EQ(w.lblAmp->text(), "15000");
    EXPECT_EQ(w.Label11->text(), "4000");
    EXPECT_EQ(w.Label20->text(), "2500");
    EXPECT_EQ(w.lblVolume->text(), "24690"); // twice the gain
    EXPECT_FALSE(w.HScroll2->isEnabled());
    EXPECT_TRUE(w.VScroll1->invertedAppearance()); // longest period at the top
    EXPECT_EQ(w.lblOdrzutM->toolTip(), "The larger, the lower the sensitivity");
}

TEST_F(frmStreamTest, ShowsTheDetectorAndTunesIt) {
    settings->values.insert("ProgAkc", "700");
    settings->values.insert("RecMuteVol", "100");
    NoList list;
    SpeechMarker marker(PcmLayout{}, list);
    frmStream w;
    w.attach(&marker);
    marker.start();
    EXPECT_EQ(w.HScroll3->value(), 700);
    EXPECT_EQ(w.lblVolume->text(), "200");
    EXPECT_EQ(w.sliderParameters(), marker.detector().parameters());

    // The window's sliders tune the detector at once.
    w.HScroll7->setValue(1234);
    EXPECT_EQ(marker.detector().parameters().crossingLevel, 1234);

    // A period's result: counts, depth, coefficient, bar and the title.
    SpeechPeriod period{3, 1234, 40000, SegmentDetector::kBarMax};
    w.showPeriod(period, marker.detector().parameters());
    EXPECT_EQ(w.Label5->text(), "3");
    EXPECT_EQ(w.Label7->text(), "1234");
    EXPECT_EQ(w.Label2->text(), "40000");
    EXPECT_EQ(w.HScroll2->value(), SegmentDetector::kBarMax);
    EXPECT_EQ(w.windowTitle(), "40000/700");

    // The threshold's value turns red while a segment is open.
    w.showSegmentOpen(true);
    EXPECT_EQ(w.Label3->palette().color(QPalette::WindowText), QColor(Qt::red));
    w.showSegmentOpen(false);
    EXPECT_EQ(w.Label3->palette().color(QPalette::WindowText), QColor(Qt::black));

    // The recording's end saves what the sliders show.
    marker.finish();
    EXPECT_EQ(settings->values.value("RecMinWartPr"), "1234");
    EXPECT_EQ(settings->values.value("ProgAkc"), "700");
}

TEST_F(frmStreamTest, RecHeightZeroLeavesOnlyTheCoefficientAndThreshold) {
    frmStream compact;
    compact.show();
    EXPECT_FALSE(compact.fullHeight());
    EXPECT_TRUE(compact.HScroll3->isVisible());
    EXPECT_TRUE(compact.HScroll2->isVisible());
    EXPECT_FALSE(compact.HScroll1->isVisible());
    EXPECT_FALSE(compact.VScroll1->isVisible());
    EXPECT_GE(compact.height(), 1515 / 15);

    settings->values.insert("RecHeight", "-1");
    frmStream full;
    full.show();
    EXPECT_TRUE(full.fullHeight());
    EXPECT_TRUE(full.HScroll6->isVisible());
    EXPECT_GT(full.height(), compact.height());
}

TEST_F(frmStreamTest, CloseIsRefusedUntilTheRecordingHasEnded) {
    int state = 1;
    frmStream w;
    w.recordingState = [&] { return state; };
    w.show();
    EXPECT_FALSE(w.close());
    EXPECT_TRUE(w.isVisible());
    state = -1;
    EXPECT_TRUE(w.close());
}

