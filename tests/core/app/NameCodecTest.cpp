#include "platform/text/NameCodec.h"

#include <gtest/gtest.h>

using namespace kelbrin;

namespace {
const QString kSnowman = QString::fromUtf8("Żółw – koncert ☃.mp3");
}

TEST(NameCodec, WhatTheCodePageHoldsStaysInItTheRestBecomesUtf8) {
    const NameCodec west{AnsiCodec(1252)};
    const NameCodec central{AnsiCodec(1250)};
    // Neither code page holds the snowman: the whole name goes as UTF-8.
    EXPECT_EQ(west.encode(kSnowman), kSnowman.toUtf8());
    EXPECT_EQ(central.encode(kSnowman), kSnowman.toUtf8());
    EXPECT_EQ(west.decode(west.encode(kSnowman)), kSnowman);
    EXPECT_EQ(central.decode(central.encode(kSnowman)), kSnowman);

    // A name the code page holds is written exactly as older versions wrote it.
    const QString polish = QString::fromUtf8("Łódź – 1.mp3");
    EXPECT_EQ(central.encode(polish), QByteArray("\xA3\xF3\x64\x9F \x96 1.mp3"));
    EXPECT_EQ(west.encode(polish), polish.toUtf8()); // 1252 has no Ł
    EXPECT_EQ(west.encode(QString::fromUtf8("Café.mp3")), QByteArray("Caf\xE9.mp3"));
    EXPECT_EQ(west.encode("plain.mp3"), QByteArray("plain.mp3"));
    for (const NameCodec* codec : {&west, &central}) {
        EXPECT_EQ(codec->decode(codec->encode(polish)), polish);
        EXPECT_EQ(codec->decode(codec->encode(QString::fromUtf8("Café.mp3"))),
                  QString::fromUtf8("Café.mp3"));
    }
}

TEST(NameCodec, OlderFilesReadAsBeforeAndLookAlikesRoundTrip) {
    const NameCodec central{AnsiCodec(1250)};
    // Bytes an older version wrote in Windows-1250 are not UTF-8.
    EXPECT_EQ(central.decode(QByteArray("\xAF\xF3\xB3w.mp3")), QString::fromUtf8("Żółw.mp3"));
    // Code-page text that would pass for UTF-8 ("Ă©" in 1250 is C3 A9, "é")
    // is written as UTF-8 so that it reads back unchanged.
    const QString lookAlike = QString::fromUtf8("Ă©.mp3");
    EXPECT_EQ(central.encode(lookAlike), lookAlike.toUtf8());
    EXPECT_EQ(central.decode(central.encode(lookAlike)), lookAlike);
}

TEST(NameCodec, Utf8IsCheckedStrictly) {
    EXPECT_FALSE(NameCodec::IsNonAsciiUtf8("ascii only"));
    EXPECT_TRUE(NameCodec::IsNonAsciiUtf8(kSnowman.toUtf8()));
    EXPECT_TRUE(NameCodec::IsNonAsciiUtf8("\xF0\x9F\x98\x80"));  // outside the BMP
    EXPECT_FALSE(NameCodec::IsNonAsciiUtf8("\xC3"));             // cut short
    EXPECT_FALSE(NameCodec::IsNonAsciiUtf8("\xC0\xAF"));         // over-long
    EXPECT_FALSE(NameCodec::IsNonAsciiUtf8("\xE0\x80\xAF"));     // over-long
    EXPECT_FALSE(NameCodec::IsNonAsciiUtf8("\xED\xA0\x80"));     // a surrogate
    EXPECT_FALSE(NameCodec::IsNonAsciiUtf8("\xF4\x90\x80\x80")); // past U+10FFFF
    EXPECT_FALSE(NameCodec::IsNonAsciiUtf8("\x80x"));            // a continuation alone
}

TEST(NameCodec, EachLineOfATextStandsOnItsOwn) {
    const NameCodec west{AnsiCodec(1252)};
    const QString text =
        "1:/m/" + kSnowman + "\r\n2:/m/" + QString::fromUtf8("Café.mp3") + "\r\n\nlast";
    const QByteArray bytes = west.encodeLines(text);
    EXPECT_EQ(bytes, "1:/m/" + kSnowman.toUtf8() + "\r\n2:/m/Caf\xE9.mp3\r\n\nlast");
    EXPECT_EQ(west.decodeLines(bytes), text);
    EXPECT_EQ(west.decodeLines("\xE9\r\xC3\xA9\n"), QString::fromUtf8("é\ré\n"));
}

TEST(NameCodec, CuttingNeverSplitsACharacter) {
    const QByteArray utf8 = kSnowman.toUtf8(); // "Ż" takes bytes 0 and 1
    EXPECT_EQ(NameCodec::Truncate(utf8, 1), QByteArray());
    EXPECT_EQ(NameCodec::Truncate(utf8, 2), utf8.left(2));
    EXPECT_EQ(NameCodec::Truncate(utf8, 3), utf8.left(2));
    EXPECT_EQ(NameCodec::Truncate(utf8, 1000), utf8);
    EXPECT_EQ(NameCodec::Truncate("Caf\xE9.mp3", 4), QByteArray("Caf\xE9"));
}
