// The server's own message numbers exist in every language of Kelbrin.ini.
#include "encoder-server/ServerTexts.h"
#include "platform/text/ProfileReader.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

using namespace kelbrin;

TEST(ServerTexts, EveryNumberIsInBothLanguages) {
    ProfileReader file;
    ASSERT_TRUE(file.load(test::SourceDir() + "/resources/Kelbrin.ini"));
    for (const int n : {servertext::kFormatFileMissing, servertext::kDiskNearlyFull, servertext::kOutputWriteFailed,
                        servertext::kBufferUnreadable, servertext::kOutputCreateFailed, servertext::kBufferOpenFailed,
                        servertext::kEncoderFailed, servertext::kErrorIn, servertext::kEditorGone})
        for (const QString section : {"ENGLISH", "POLSKI"})
            EXPECT_FALSE(file.value(section, QString::number(n)).trimmed().isEmpty()) << n << " " << section.toStdString();
    EXPECT_EQ(file.value("ENGLISH", QString::number(servertext::kFormatFileMissing)), "Formatex.ini not found");
}
