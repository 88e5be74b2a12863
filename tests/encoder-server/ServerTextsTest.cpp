// The server's own message numbers exist in every language of Kelbrin.ini.
#include "platform/text/ProfileReader.h"
#include "support/TestEnvironment.h"

#include <QFile>
#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace kelbrin;

TEST(ServerTexts, EveryNumberIsInBothLanguages) {
    QFile header(test::SourceDir() + "/src/encoder-server/ServerTexts.h");
    ASSERT_TRUE(header.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(header.readAll());
    ProfileReader file;
    ASSERT_TRUE(file.load(test::SourceDir() + "/resources/Kelbrin.ini"));
    int count = 0;
    auto matches = QRegularExpression(R"(=\s*(\d+);)").globalMatch(text);
    while (matches.hasNext()) {
        const QString n = matches.next().captured(1);
        ++count;
        for (const QString section : {"ENGLISH", "POLSKI"})
            EXPECT_FALSE(file.value(section, n).trimmed().isEmpty()) << n.toStdString() << " " << section.toStdString();
    }
    EXPECT_EQ(count, 9);
    EXPECT_EQ(file.value("ENGLISH", "6650"), "Formatex.ini not found");
}
