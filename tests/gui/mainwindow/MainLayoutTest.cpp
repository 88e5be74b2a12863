#include "gui/mainwindow/MainLayout.h"

#include <gtest/gtest.h>

using namespace kelbrin;

namespace {
MainLayoutInput Typical(double width, double height) {
    MainLayoutInput in;
    in.innerWidth = width;
    in.innerHeight = height;
    in.outerWidth = width + 120;
    in.treeWidth = 2500;
    in.toolFrameHeight = 555;
    in.progressHeight = 255;
    in.trackInfoHeight = 255;
    in.trackPanelHeight = 2600;
    in.helpFrameHeight = 700;
    in.frame2Left = 5100;
    in.frame2Top = 100;
    in.speedScrollLeft = 1600;
    in.deviceFrameLeft = 100;
    in.deviceComboLeft = 100;
    in.saveButtonWidth = 495;
    return in;
}
} // namespace

TEST(MainLayout, BottomBandsStackUpFromTheBottomLine) {
    for (double height : {3000.0, 9000.0, 30000.0}) {
        MainLayoutInput in = Typical(15000, height);
        MainLayoutResult r = ComputeMainLayout(in);
        EXPECT_DOUBLE_EQ(r.progressLine.top, height - 255 - 10);
        EXPECT_DOUBLE_EQ(r.progressLine.width, 15000 - 10);
        EXPECT_DOUBLE_EQ(r.progressBar.top, r.progressLine.top + 40);
        EXPECT_DOUBLE_EQ(r.toolFrame.top, height - 255 - 555 - 40);
        EXPECT_DOUBLE_EQ(r.toolFrame.width, 15000 - 10);
        EXPECT_DOUBLE_EQ(r.saveButtonLeft, 15000 - 10 - 495 - 100);

        // A visible hint line gets its own band between the tool frame and the bottom line.
        in.trackInfoVisible = true;
        r = ComputeMainLayout(in);
        EXPECT_DOUBLE_EQ(r.trackInfo.top, height - 255 - 40 - 255);
        EXPECT_DOUBLE_EQ(r.toolFrame.top, r.trackInfo.top - 555 - 40);
        EXPECT_LE(r.toolFrame.top + 555, r.trackInfo.top);
        EXPECT_LE(r.trackInfo.top + 255, r.progressLine.top);
    }
}

TEST(MainLayout, TrackPanelPushesTheSurfaceAndHelpUp) {
    MainLayoutInput in = Typical(15000, 9000);
    MainLayoutResult hidden = ComputeMainLayout(in);
    EXPECT_DOUBLE_EQ(hidden.surface.height, hidden.toolFrame.top + 40);
    EXPECT_DOUBLE_EQ(hidden.helpFrame.top, hidden.toolFrame.top + 40 - 700);
    EXPECT_DOUBLE_EQ(hidden.surface.left, 2500 + 15);
    EXPECT_DOUBLE_EQ(hidden.tree.height, hidden.toolFrame.top + 50);

    in.trackPanelVisible = true;
    MainLayoutResult shown = ComputeMainLayout(in);
    EXPECT_DOUBLE_EQ(shown.surface.height, hidden.surface.height - 2600);
    EXPECT_DOUBLE_EQ(shown.helpFrame.top, hidden.helpFrame.top - 2600);
    EXPECT_DOUBLE_EQ(shown.trackPanel.top + 2600, shown.toolFrame.top + 40);
    EXPECT_DOUBLE_EQ(shown.trackPanel.left, 2500);
    EXPECT_DOUBLE_EQ(shown.trackPanel.width, in.outerWidth - 2500 - 100);
    EXPECT_FALSE(shown.tagFrameVisible);
}

TEST(MainLayout, AdvancedViewSpansTheListAndPanelFromTheLeftEdge) {
    MainLayoutInput in = Typical(15000, 9000);
    in.advancedView = true;
    in.trackPanelVisible = true;
    const MainLayoutResult r = ComputeMainLayout(in);
    EXPECT_DOUBLE_EQ(r.list.left, 0);
    EXPECT_DOUBLE_EQ(r.list.width, in.outerWidth - 100);
    EXPECT_DOUBLE_EQ(r.list.height, r.surface.height);
    EXPECT_DOUBLE_EQ(r.trackPanel.left, 0);
    EXPECT_DOUBLE_EQ(r.trackPanel.width, r.list.width);
    EXPECT_TRUE(r.tagFrameVisible);
    EXPECT_DOUBLE_EQ(r.tagFrame.left, 5100);
    EXPECT_DOUBLE_EQ(r.tagFrame.width, r.trackPanel.width - 5100 - 100);
    EXPECT_DOUBLE_EQ(r.helpFrame.left, 0);
    EXPECT_DOUBLE_EQ(r.helpFrame.width, r.trackPanel.width);
    EXPECT_DOUBLE_EQ(r.speedScrollWidth, r.trackPanel.width - 1600 - 100);
    EXPECT_DOUBLE_EQ(r.deviceComboWidth, r.deviceFrameWidth - 100 - 100);
}

TEST(MainLayout, NormalPlacementIsUsableAndOnTheScreen) {
    const TwipRect screen{0, 0, 1920 * 15, 1080 * 15};
    // A fresh window's defaults: the usable minimum height wins over 5790.
    TwipRect r = NormalPlacement({0, 0, 11325, 5790}, screen);
    EXPECT_EQ(r.width, 11325);
    EXPECT_EQ(r.height, kMainMinNormalHeight);
    EXPECT_EQ(r.left, 0);
    // Nothing stored at all (or a strip): never below the minimum.
    r = NormalPlacement({0, 0, 0, 100}, screen);
    EXPECT_EQ(r.width, kMainMinOuterWidth);
    EXPECT_EQ(r.height, kMainMinNormalHeight);
    // Larger than the screen, and placed off it: brought back onto it.
    r = NormalPlacement({40000, -500, 50000, 20000}, screen);
    EXPECT_EQ(r.width, screen.width);
    EXPECT_EQ(r.height, screen.height);
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.top, 0);
    r = NormalPlacement({25000, 14000, 12000, 9000}, screen);
    EXPECT_EQ(r.left + r.width, screen.width);
    EXPECT_EQ(r.top + r.height, screen.height);
    // A screen smaller than the minimum: the screen is the limit.
    r = NormalPlacement({0, 0, 11325, 9000}, {0, 0, 9000, 6000});
    EXPECT_EQ(r.width, 9000);
    EXPECT_EQ(r.height, 6000);
}
