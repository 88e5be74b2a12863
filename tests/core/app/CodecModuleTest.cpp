// The recording codecs come from their module at their first use, so the
// programs do not map libavcodec before then.
#include "platform/codecs/CodecLibrary.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace kelbrin;

namespace {

QByteArray Maps() {
    QFile maps("/proc/self/maps");
    return maps.open(QIODevice::ReadOnly) ? maps.readAll() : QByteArray();
}

TEST(CodecModule, LibavcodecIsMappedOnlyOnceTheCodecsAreAskedFor) {
    auto previous = SetCodecLibrary(nullptr);
    ASSERT_FALSE(Maps().contains("libavcodec")) << "mapped before anything needed it";
    QStringList names;
    for (const CodecFormatTag& t : Codecs().formatTags())
        names << t.name;
    EXPECT_TRUE(names.contains("PCM")) << names.join(", ").toStdString();
    EXPECT_GE(names.size(), 2) << "the compressed codecs too";
    ASSERT_FALSE(names.isEmpty());
    EXPECT_FALSE(Codecs().formats(Codecs().formatTags().constLast().tag).isEmpty()) << "each with its formats";
    const QByteArray maps = Maps();
    EXPECT_TRUE(maps.contains("kelbrin-codecs"));
    EXPECT_TRUE(maps.contains("libavcodec"));
    SetCodecLibrary(std::move(previous));
}

} // namespace
