#include "gui/app/TopMost.h"

#include <QWidget>
#include <gtest/gtest.h>

using namespace kelbrin;

namespace {

TEST(TopMost, TogglesTheBandKeepingPlaceSizeAndVisibility) {
    QWidget window;
    window.setGeometry(120, 80, 300, 200);
    window.show();
    const QRect before = window.geometry();

    SetTopMost(&window, true);
    EXPECT_TRUE(window.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.geometry(), before);

    SetTopMost(&window, false);
    EXPECT_FALSE(window.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.geometry(), before);
}

TEST(TopMost, LeavesAHiddenWindowHidden) {
    QWidget window;
    window.resize(200, 100);
    SetTopMost(&window, true);
    EXPECT_TRUE(window.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(window.size(), QSize(200, 100));
}

} // namespace
