#include "SplitTestSupport.h"

#include "core/export/DefaultNames.h"

using namespace kelbrin;
using kelbrin::test::SplitTest;

TEST_F(SplitTest, DefaultOutputNamesFollowTheNamingSetting) {
    const QDateTime night(QDate(2026, 12, 8), QTime(2, 43, 37));
    const QDateTime afternoon(QDate(2026, 12, 8), QTime(14, 5, 9));
    EXPECT_EQ(DefaultOutputName(night, 0, 4), "20261208__02_43_37.mp3");
    settings->values["FileNaming"] = "1";
    EXPECT_EQ(DefaultOutputName(afternoon, 0, 4), "20261208__14_05_09.mp2");
    settings->values["FileNaming"] = "2";
    EXPECT_EQ(DefaultOutputName(night, 0, 4), "5.mp3");
    EXPECT_EQ(DefaultOutputName(night, 0, 0), "1.mp3");
    settings->values["FileNaming"] = "3";
    EXPECT_EQ(DefaultOutputName(night, 12, 4), "12.mp2");
    // Only the exact one-character texts choose a pattern.
    for (const char* odd : {" 2", "02", "x"}) {
        settings->values["FileNaming"] = odd;
        EXPECT_EQ(DefaultOutputName(night, 7, 4), "20261208__02_43_37.mp3");
    }
}
