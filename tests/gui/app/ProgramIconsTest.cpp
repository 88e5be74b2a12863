#include "gui/app/ProgramIcons.h"

#include <QImage>
#include <QPixmap>
#include <gtest/gtest.h>

using namespace kelbrin;

namespace {

QImage Render(int number, QIcon::Mode mode = QIcon::Normal, int side = 24) {
    return ProgramIcon(number)
        .pixmap(QSize(side, side), mode)
        .toImage()
        .convertToFormat(QImage::Format_ARGB32);
}

int InkedPixels(const QImage& image) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += qAlpha(image.pixel(x, y)) > 0;
    return count;
}

} // namespace

TEST(ProgramIcons, EveryNumberOfTheSetHasAnIconAndNoOtherDoes) {
    for (int n = kFirstProgramIcon; n <= kLastProgramIcon; ++n)
        EXPECT_FALSE(ProgramIcon(n).isNull()) << n;
    for (int n : {-1101, 0, 1, 1100, 1167, 2101, 5037})
        EXPECT_TRUE(ProgramIcon(n).isNull()) << n;
}

TEST(ProgramIcons, EachIconIsAVisibleDrawingOfItsOwn) {
    QList<QImage> images;
    for (int n = kFirstProgramIcon; n <= kLastProgramIcon; ++n) {
        const QImage image = Render(n);
        ASSERT_EQ(image.size(), QSize(24, 24)) << n;
        EXPECT_GT(InkedPixels(image), 30) << n;
        for (int other = 0; other < images.size(); ++other)
            EXPECT_NE(image, images[other]) << n << " looks like " << kFirstProgramIcon + other;
        images.append(image);
    }
}

TEST(ProgramIcons, DrawAtTheSizeAskedForAndGreyWhenDisabled) {
    EXPECT_EQ(Render(1116, QIcon::Normal, 48).size(), QSize(48, 48));
    const QImage disabled = Render(1116, QIcon::Disabled);
    ASSERT_GT(InkedPixels(disabled), 30);
    EXPECT_NE(disabled, Render(1116));
    for (int y = 0; y < disabled.height(); ++y) {
        for (int x = 0; x < disabled.width(); ++x) {
            const QColor c = QColor::fromRgba(disabled.pixel(x, y));
            if (c.alpha() > 0) {
                ASSERT_LE(c.hsvSaturation(), 10) << x << "," << y;
            }
        }
    }
}
