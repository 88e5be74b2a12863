#include "gui/app/StyleIconsOnDemand.h"

#include <QApplication>
#include <QFile>
#include <QMainWindow>
#include <QMenuBar>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

using namespace kelbrin;

namespace {

bool ImageFormatsLoaded() {
    QFile maps(QStringLiteral("/proc/self/maps"));
    return maps.open(QIODevice::ReadOnly) && maps.readAll().contains("/imageformats/");
}

} // namespace

// The only case of its program, so nothing before it has read a picture.
TEST(StyleIconsOnDemand, AMenuBarReadsNoImageUntilItsOverflowArrowShowsTheStylesPicture) {
    ASSERT_FALSE(ImageFormatsLoaded());
    DeferStyleIcons();
    {
        QMainWindow window;
        for (int i = 0; i < 12; ++i)
            window.menuBar()->addMenu(QStringLiteral("Menu %1").arg(i));
        EXPECT_FALSE(ImageFormatsLoaded()) << "the bar is built without reading a picture";

        window.resize(160, 120);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        auto* arrow = window.menuBar()->findChild<QToolButton*>(QStringLiteral("qt_menubar_ext_button"));
        ASSERT_NE(arrow, nullptr);
        EXPECT_TRUE(arrow->isVisible()) << "the menus do not fit";
        const QStyle* base = static_cast<QProxyStyle*>(QApplication::style())->baseStyle();
        const QImage expected =
            base->standardIcon(QStyle::SP_ToolBarHorizontalExtensionButton).pixmap(16).toImage();
        EXPECT_FALSE(expected.isNull());
        EXPECT_EQ(arrow->icon().pixmap(16).toImage(), expected);
    }
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
}
