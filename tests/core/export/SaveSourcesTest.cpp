// A run reads each source through one reader and one frame locator: many
// pieces from one source come out exactly as when each is written alone.
#include "ExportTestSupport.h"
#include "support/ProgramState.h"
#include "core/app/ProgramObjects.h"
#include "core/export/SaveSources.h"

using namespace kelbrin;
using namespace kelbrin::test;

namespace {

SaveRequest piecesOf(const QString& source, const QString& folder, int count, double seconds) {
    SaveRequest request;
    request.openFiles = Program().session.OpenFiles;
    request.destFolder = folder;
    for (int i = 0; i < count; ++i) {
        ExportPiece piece;
        piece.sourcePath = source;
        piece.label = QString("piece%1").arg(i);
        piece.outputName = piece.label + ".mp3";
        piece.startSeconds = i * seconds;
        piece.endSeconds = (i + 1) * seconds;
        request.pieces.append(piece);
    }
    return request;
}

} // namespace

TEST_F(ExportTest, ASourceIsOpenedOnceForTheWholeRun) {
    auto file = open(MediaFile("cbr_noinfo.mp3"));
    ASSERT_TRUE(file);
    SaveSources sources;
    SaveSources::Opened* first = sources.open(*file, true);
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(first->frames.usesIndex());
    EXPECT_EQ(sources.open(*file, true), first);

    cPozycjaPlikow missing;
    missing.strFileName = dest + "/gone.mp3";
    EXPECT_EQ(sources.open(missing, true), nullptr);
    EXPECT_EQ(sources.open(missing, true), nullptr);
}

TEST_F(ExportTest, ManyPiecesInOneRunMatchEachPieceWrittenAlone) {
    for (const char* name : {"cbr_noinfo.mp3", "vbr_xing.mp3", "id3v2_100k.mp3"}) {
        for (const bool turbo : {false, true}) {
            SCOPED_TRACE(std::string(name) + (turbo ? " turbo" : " exact"));
            Program().session.OpenFiles = std::make_shared<cPozycjePlikow>();
            const QString source = MediaFile(name);
            ASSERT_TRUE(open(source, !turbo));
            const QString together = MakeTempDir("together");
            SaveRequest request = piecesOf(source, together, 8, 0.9);
            request.turbo = turbo;
            ASSERT_EQ(RunExport(request).status, SaveStatus::Finished);
            for (int i = 0; i < request.pieces.size(); ++i) {
                const QString alone = MakeTempDir("alone");
                SaveRequest one = request;
                one.destFolder = alone;
                one.pieces = {request.pieces[i]};
                ASSERT_EQ(RunExport(one).status, SaveStatus::Finished);
                const QString file = "/" + request.pieces[i].outputName;
                EXPECT_FALSE(ReadAll(together + file).isEmpty()) << i;
                EXPECT_EQ(ReadAll(together + file), ReadAll(alone + file)) << i;
                QDir(alone).removeRecursively();
            }
            QDir(together).removeRecursively();
        }
    }
}

namespace {

// Replaces the source with another file once the first piece is being written.
class ReplacingHost : public HeadlessSaveHost {
public:
    ReplacingHost(QString path, QByteArray replacement)
        : m_path(std::move(path)), m_replacement(std::move(replacement)) {}
    void ShowCaption(const QString& text) override {
        if (!m_done && text.contains("a.mp3")) {
            m_done = true;
            QFile::remove(m_path);
            WriteFile(m_path, m_replacement);
        }
    }

private:
    QString m_path;
    QByteArray m_replacement;
    bool m_done = false;
};

} // namespace

TEST_F(ExportTest, ASourceReplacedDuringTheRunIsReopenedForTheNextPiece) {
    const QString folder = MakeTempDir("replaced");
    const QByteArray original = ReadAll(MediaFile("cbr_noinfo.mp3"));
    QByteArray tag("ID3\x03\x00\x00\x00\x00\x07\x76", 10);
    tag += QByteArray(1014, '\0');
    const QString path = WriteFile(folder + "/s.mp3", original);
    ASSERT_TRUE(open(path));
    const QList<ExportPiece> pieces = {seconds(path, 1, 3, "a.mp3"), seconds(path, 4, 6, "b.mp3")};

    ReplacingHost host(path, tag + original);
    ASSERT_EQ(SavePieces(request(pieces), host).status, SaveStatus::Finished);
    const QByteArray first = ReadAll(dest + "/a.mp3");
    const QByteArray second = ReadAll(dest + "/b.mp3");

    // Each piece as a fresh run cuts it: the first from the file as it was,
    // the second from the file that replaced it.
    const auto expected = [&](const QByteArray& content, const ExportPiece& piece) {
        const QString alone = MakeTempDir("alone");
        const QString source = WriteFile(alone + "/s.mp3", content);
        Program().session.OpenFiles = std::make_shared<cPozycjePlikow>();
        EXPECT_TRUE(open(source));
        ExportPiece moved = piece;
        moved.sourcePath = source;
        SaveRequest one = request({moved});
        one.destFolder = alone;
        EXPECT_EQ(RunExport(one).status, SaveStatus::Finished);
        return ReadAll(alone + "/" + piece.outputName);
    };
    EXPECT_FALSE(first.isEmpty());
    EXPECT_EQ(first, expected(original, pieces[0]));
    EXPECT_EQ(second, expected(tag + original, pieces[1]));
}
