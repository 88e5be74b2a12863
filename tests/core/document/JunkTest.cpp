// Streams with junk, stray sync patterns and damaged headers, against the
// positions the synthetic writer knows.
#include "DocumentTestSupport.h"
#include "support/SyntheticMpeg.h"
#include "support/TestEnvironment.h"

#include "core/document/FrameScanHost.h"

using namespace kelbrin;
using namespace kelbrin::test;

using DocumentJunk = DocumentTest;

namespace {
const QByteArray kFakeHeader("\xFF\xFB\x90\x64", 4);
}

TEST_F(DocumentJunk, AStraySyncInJunkDoesNotSwallowTheNextFrame) {
    SyntheticMpeg stream;
    stream.constantRate(30, kMpeg1Layer3, 0x90);
    // DocumentJunk whose sync pattern claims a 418-byte frame over the real one after it.
    stream.junk(QByteArray("abcdefgh") + kFakeHeader + QByteArray("ijklmnop"));
    stream.constantRate(30, kMpeg1Layer3, 0x90);
    const QString path = WriteTempFile("junk.mp3", stream.bytes());
    const Opened opened = open(path, true);
    EXPECT_EQ(IndexPositions(*opened.file), stream.positions());
    EXPECT_FALSE(opened.file->blnVBR);
}

TEST_F(DocumentJunk, AStraySyncBeforeTheAudioDoesNotCostTheFirstFrame) {
    SyntheticMpeg stream;
    stream.junk(QByteArray(40, 'a') + kFakeHeader + QByteArray(50, 'b'));
    stream.constantRate(40, kMpeg1Layer3, 0x90);
    const QString path = WriteTempFile("lead.mp3", stream.bytes());
    EXPECT_EQ(IndexPositions(*open(path, true).file), stream.positions());
}

TEST_F(DocumentJunk, LongJunkTurnsTheProgressBarBlueUntilFramesFollowAgain) {
    SyntheticMpeg stream;
    stream.constantRate(30, kMpeg1Layer3, 0x90).junk(QByteArray(5, 'x'));
    stream.constantRate(30, kMpeg1Layer3, 0x90);
    const QString path = WriteTempFile("colours.mp3", stream.bytes());
    const Opened opened = open(path, true);
    EXPECT_EQ(IndexPositions(*opened.file), stream.positions());
    const QList<std::uint32_t> expected{FrameScanHost::kFrameColour, FrameScanHost::kSearchColour,
                                        FrameScanHost::kFrameColour, FrameScanHost::kFrameColour};
    EXPECT_EQ(host.colours, expected); // the last one from Plik_Open's end
}

TEST_F(DocumentJunk, FreeFormatHeadersAreNotFramesToWalkBy) {
    SyntheticMpeg freeOnly;
    for (int i = 0; i < 40; ++i)
        freeOnly.frame(kMpeg1Layer3, 0x00, 0xC4, 300);
    const QString onlyFree = WriteTempFile("free.mp3", freeOnly.bytes());
    EXPECT_EQ(open(onlyFree, true).path, "");
    EXPECT_EQ(messageNumbers(), QList<int>{3026});

    // Back-to-back free-format headers look like a run of frames of no length.
    SyntheticMpeg packed;
    packed.junk(QByteArray("\xFF\xFB\x00\x64", 4).repeated(6));
    packed.constantRate(20, kMpeg1Layer3, 0x90);
    const QString packedPath = WriteTempFile("packed.mp3", packed.bytes());
    EXPECT_EQ(IndexPositions(*open(packedPath, true).file), packed.positions());
    const Opened plain = open(packedPath);
    EXPECT_EQ(plain.file->lngD1Ramki, 418);
    EXPECT_NEAR(plain.file->sngCzasTrwania, 20 * 1152 / 44100.0, 0.03);

    // A frame whose header lost its bit-rate index is skipped, not walked by.
    SyntheticMpeg damaged;
    damaged.constantRate(20, kMpeg1Layer3, 0x90).frame(kMpeg1Layer3, 0x00, 0xC4, 418);
    damaged.constantRate(20, kMpeg1Layer3, 0x90);
    QList<std::int64_t> expected = damaged.positions();
    expected.removeAt(20);
    const QString damagedPath = WriteTempFile("damaged.mp3", damaged.bytes());
    EXPECT_EQ(IndexPositions(*open(damagedPath, true).file), expected);

    SyntheticMpeg mixed;
    mixed.constantRate(20, kMpeg1Layer3, 0x90);
    mixed.junk(QByteArray("\xFF\xFB\x00\x64", 4) + QByteArray(20, 'z'));
    mixed.constantRate(20, kMpeg1Layer3, 0x90);
    const QString path = WriteTempFile("mixed.mp3", mixed.bytes());
    EXPECT_EQ(IndexPositions(*open(path, true).file), mixed.positions());
}

TEST_F(DocumentJunk, DamagedEndsGiveACorrectPartialResult) {
    SyntheticMpeg stream;
    stream.constantRate(50, kMpeg1Layer3, 0x90);
    const QByteArray whole = stream.bytes();

    // One sync byte after the last frame is no header, whatever was read before.
    const QString trailing = WriteTempFile("trailing.mp3", whole + QByteArray(1, char(0xFF)));
    EXPECT_EQ(IndexPositions(*open(trailing, true).file), stream.positions());

    // Cut inside the last frame: the frames before it stay, the cut one is no frame.
    const QString cut = WriteTempFile("cut.mp3", whole.left(whole.size() - 200));
    EXPECT_EQ(IndexPositions(*open(cut, true).file), stream.positions().mid(0, 49));

    // "TAG" by chance 128 bytes from the end: the last bytes count as a tag.
    QByteArray tagLike = whole;
    tagLike.replace(tagLike.size() - 128, 3, "TAG");
    const QString tagged = WriteTempFile("tagged.mp3", tagLike);
    const QList<std::int64_t> positions = IndexPositions(*open(tagged, true).file);
    EXPECT_EQ(positions, stream.positions().mid(0, positions.size()));
    EXPECT_GE(positions.size(), 49);

    // A real ID3v1 tag after the audio is not scanned as audio.
    SyntheticMpeg withTag = stream;
    withTag.id3v1();
    const QString v1 = WriteTempFile("v1.mp3", withTag.bytes());
    EXPECT_EQ(IndexPositions(*open(v1, true).file), stream.positions());

    // A tag that claims more bytes than the file has.
    SyntheticMpeg bigTag;
    bigTag.id3v2(1000);
    QByteArray lying = bigTag.bytes();
    lying[6] = 0x7F; // size far past the end
    lying += whole;
    const QString liar = WriteTempFile("liar.mp3", lying);
    QList<std::int64_t> shifted;
    for (const std::int64_t position : stream.positions())
        shifted.append(position + 1010);
    EXPECT_EQ(IndexPositions(*open(liar, true).file), shifted);
    EXPECT_EQ(messageNumbers(), QList<int>{});
}

TEST_F(DocumentJunk, AnId3v2TagThatClaimsMoreBytesThanItHoldsCostsNoAudio) {
    // A version 2.3 tag with one text frame and a little padding, whose size
    // field claims `claimed` bytes after its header.
    const auto lyingTag = [](std::int64_t claimed) {
        const QByteArray text("\0A title", 8);
        QByteArray tag("ID3\x03\x00\x00", 6);
        for (int shift = 21; shift >= 0; shift -= 7)
            tag.append(char((claimed >> shift) & 0x7F));
        tag += QByteArray("TIT2\0\0\0", 7) + char(text.size()) + QByteArray(2, '\0') + text;
        return tag + QByteArray(20, '\0');
    };
    const std::int64_t honest = lyingTag(0).size() - 10;
    // Into the middle of the audio, and past the end of the file.
    for (const std::int64_t claimed : {honest + 5000, std::int64_t(1) << 27}) {
        SyntheticMpeg stream;
        stream.junk(lyingTag(claimed));
        stream.constantRate(60, kMpeg1Layer3, 0x90);
        const QString path = WriteTempFile("lyingtag.mp3", stream.bytes());
        const Opened opened = open(path, true);
        EXPECT_EQ(IndexPositions(*opened.file), stream.positions()) << claimed;
        EXPECT_EQ(opened.file->Daj_Naglowek_Ilosc(), 60) << claimed;
    }
    EXPECT_EQ(messageNumbers(), QList<int>{});

    // An honest size with junk before the audio: the frames after the tag's
    // end are found as ever, and the junk is not taken for audio.
    SyntheticMpeg junkAfter;
    junkAfter.junk(lyingTag(honest) + QByteArray(300, 'j'));
    junkAfter.constantRate(60, kMpeg1Layer3, 0x90);
    const QString path = WriteTempFile("junkafter.mp3", junkAfter.bytes());
    EXPECT_EQ(IndexPositions(*open(path, true).file), junkAfter.positions());
}

TEST_F(DocumentJunk, HeadersOfAnotherStreamInsideAreSkipped) {
    SyntheticMpeg stream;
    stream.constantRate(20, kMpeg1Layer3, 0x90);
    stream.frame(kMpeg1Layer2, 0xB4); // a Layer II frame in a Layer III stream
    stream.constantRate(20, kMpeg1Layer3, 0x90);
    QList<std::int64_t> expected = stream.positions();
    expected.removeAt(20);
    const QString path = WriteTempFile("mixedlayers.mp3", stream.bytes());
    EXPECT_EQ(IndexPositions(*open(path, true).file), expected);
}
