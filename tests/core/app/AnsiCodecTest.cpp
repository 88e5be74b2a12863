#include "platform/text/AnsiCodec.h"

#include <gtest/gtest.h>

using namespace kelbrin;

TEST(AnsiCodec, CodePageFollowsTheLocaleFamily) {
    EXPECT_EQ(AnsiCodec::codePageForLocale("pl_PL.UTF-8"), 1250);
    EXPECT_EQ(AnsiCodec::codePageForLocale("cs"), 1250);
    EXPECT_EQ(AnsiCodec::codePageForLocale("ru_RU"), 1251);
    EXPECT_EQ(AnsiCodec::codePageForLocale("el_GR"), 1253);
    EXPECT_EQ(AnsiCodec::codePageForLocale("en_US"), 1252);
    EXPECT_EQ(AnsiCodec::codePageForLocale("C"), 1252);
}

TEST(AnsiCodec, RoundTripsAndMarksUnmappableCharacters) {
    const AnsiCodec cp1250(1250);
    const QString polish = QString::fromUtf8("Zażółć gęślą jaźń");
    bool lossless = false;
    const QByteArray bytes = cp1250.fromUnicode(polish, &lossless);
    EXPECT_TRUE(lossless);
    EXPECT_EQ(bytes.size(), polish.size());
    EXPECT_EQ(static_cast<unsigned char>(bytes[2]), 0xBF); // ż in Windows-1250
    EXPECT_EQ(cp1250.toUnicode(bytes), polish);

    const AnsiCodec cp1252(1252);
    const QByteArray lossy = cp1252.fromUnicode(QString::fromUtf8("a€ł😀b"), &lossless);
    EXPECT_FALSE(lossless);
    EXPECT_EQ(lossy, QByteArray("a\x80??b"));
    // 0x81 is undefined in Windows-1252: it must not end the conversion, and
    // it is written back as it was read.
    EXPECT_EQ(cp1252.toUnicode(QByteArray("x\x81y")), QString::fromUtf8("x\u0081y"));
    for (const int codePage : {1250, 1251, 1252, 1253}) {
        QByteArray all;
        for (int b = 0x20; b <= 0xFF; ++b)
            all.append(static_cast<char>(b));
        const AnsiCodec codec(codePage);
        EXPECT_EQ(codec.fromUnicode(codec.toUnicode(all), &lossless), all) << codePage;
        EXPECT_TRUE(lossless) << codePage;
    }
}
