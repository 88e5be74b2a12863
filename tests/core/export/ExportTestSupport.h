#pragma once
// Shared set-up of the export tests: the English catalogue, an in-memory
// settings store, scripted boxes, a fake desktop, a fresh open-files
// collection and a destination folder; sources opened through the scanner;
// and the outside oracles (ffprobe's packet positions, mp3val, mpg123).

#include "core/app/ProgramObjects.h"
#include "support/ProgramState.h"
#include "core/app/TextCatalog.h"
#include "core/document/FrameScanHost.h"
#include "core/document/PlikOpen.h"
#include "core/document/cPozycjaPlikow.h"
#include "core/document/cPozycjePlikow.h"
#include "core/export/SaveEngine.h"
#include "core/export/SaveHost.h"
#include "platform/settings/MemorySettingsStore.h"
#include "platform/shell/FakeDesktopOpener.h"
#include "support/ScriptedMessages.h"
#include "support/TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <functional>
#include <gtest/gtest.h>

namespace kelbrin::test {

inline QByteArray ReadAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline QString RunTool(const QString& program, const QStringList& args, int* exitCode = nullptr) {
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, args);
    p.waitForFinished(120000);
    if (exitCode)
        *exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    return QString::fromUtf8(p.readAll());
}

// 0-based positions of the audio packets ffprobe finds.
inline QList<std::int64_t> PacketPositions(const QString& path) {
    QList<std::int64_t> positions;
    const QString out = RunTool("ffprobe", {"-v", "error", "-select_streams", "a:0", "-show_entries",
                                        "packet=pos", "-of", "csv=p=0", path});
    for (const QString& line : out.split('\n', Qt::SkipEmptyParts)) {
        bool number = false;
        const std::int64_t pos = line.section(',', 0, 0).trimmed().toLongLong(&number);
        if (number)
            positions.append(pos);
    }
    return positions;
}

// mp3val finds no damage and mpg123 decodes the whole file.
inline void ExpectPlayable(const QString& path) {
    const QString report = RunTool("mp3val", {path});
    for (const QString& line : report.split('\n')) {
        const bool harmless = line.contains("No supported tags") || line.contains("no VBR header") ||
                              line.contains("Non-layer-III") || !line.startsWith("WARNING");
        EXPECT_FALSE(line.startsWith("ERROR")) << line.toStdString();
        EXPECT_TRUE(harmless) << line.toStdString();
    }
    int code = -1;
    const QString decode = RunTool("mpg123", {"-q", "-t", path}, &code);
    EXPECT_EQ(code, 0) << path.toStdString() << "\n" << decode.toStdString();
}

class ExportTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(Catalog().load(RuntimeDir() + "/Kelbrin.ini"));
        Catalog().setLanguage("ENGLISH");
        SetSettingsStore(std::make_unique<MemorySettingsStore>());
        auto scripted = std::make_unique<ScriptedMessages>();
        messages = scripted.get();
        SetMessageService(std::move(scripted));
        auto fake = std::make_unique<FakeDesktopOpener>();
        desktop = fake.get();
        SetDesktopOpener(std::move(fake));
        test::ResetProgramObjects();
        Program().session.OpenFiles = std::make_shared<cPozycjePlikow>();
        dest = MakeTempDir("export");
    }
    void TearDown() override {
        QDir(dest).removeRecursively();
        SetDesktopOpener(nullptr);
        SetMessageService(nullptr);
        SetSettingsStore(nullptr);
        test::ResetProgramObjects();
    }

    // Opens the file as the editor does, indexed when asked, into the open files.
    std::shared_ptr<cPozycjaPlikow> open(const QString& path, bool buildIndex = true) {
        auto file = std::make_shared<cPozycjaPlikow>();
        file->strFileName = path;
        HeadlessScanHost host;
        QString folder;
        if (Plik_Open(host, &Program().session, Program().settings.SourceFolder, file, buildIndex,
                      false, QString(), nullptr, true, false, folder, 1)
                .isEmpty())
            return nullptr;
        file->lngNrPozycji = Program().session.NextFileId++;
        Program().session.OpenFiles->Add(file);
        return file;
    }

    static ExportPiece seconds(const QString& source, double from, double to, const QString& name) {
        ExportPiece p;
        p.sourcePath = source;
        p.startSeconds = from;
        p.endSeconds = to;
        p.outputName = name;
        p.label = name;
        p.tag.title = name;
        return p;
    }
    static ExportPiece frames(const QString& source, int from, int to, const QString& name) {
        ExportPiece p = seconds(source, 0, 0, name);
        p.rangeInFrames = true;
        p.frameFrom = from;
        p.frameTo = to;
        return p;
    }
    SaveRequest request(QList<ExportPiece> pieces) const {
        SaveRequest r;
        r.openFiles = Program().session.OpenFiles;
        r.pieces = pieces;
        r.destFolder = dest;
        return r;
    }
    // The pieces exported as one file, "joined.mp3" in the destination; its path.
    QString joinAll(const QList<ExportPiece>& pieces) const {
        SaveRequest r = request(pieces);
        r.joined = true;
        r.joinedName = "joined.mp3";
        QFile::remove(dest + "/joined.mp3");
        EXPECT_EQ(RunExport(r).status, SaveStatus::Finished);
        return dest + "/joined.mp3";
    }
    QList<int> shownNumbers() const {
        QList<int> numbers;
        for (const auto& m : messages->shown)
            numbers.append(m.textNumber);
        return numbers;
    }
    // Files in the destination folder, hidden ones (temporary files) included.
    QStringList destFiles() const {
        return QDir(dest).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    }

    ScriptedMessages* messages = nullptr;
    FakeDesktopOpener* desktop = nullptr;
    QString dest;
};

// A host that counts progress calls and can ask for a stop from inside one.
class CountingHost : public HeadlessSaveHost {
public:
    bool UstawProgress(std::int64_t) override {
        ++progressCalls;
        if (onProgress)
            onProgress(*this);
        return !stop;
    }
    bool StopRequested() override { return stop; }
    int progressCalls = 0;
    bool stop = false;
    std::function<void(CountingHost&)> onProgress;
};

} // namespace kelbrin::test
