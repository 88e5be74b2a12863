// Names outside the ANSI code page in projects and scripts, on systems whose
// code page is Windows-1252 or Windows-1250: saved and opened again, the
// sources are found and every name is what it was; names the code page holds
// are still written in it, so older versions read them as before.
#include "ProjectTestSupport.h"
#include "support/ProgramState.h"

#include "core/project/OutputNames.h"
#include "core/project/ProjectController.h"
#include "core/project/ProjectFileWriter.h"
#include "core/project/ScriptExport.h"
#include "platform/text/AnsiCodec.h"

#include <QDir>
#include <QFile>

using namespace kelbrin;
using namespace kelbrin::test;

namespace {

const QString kName = QString::fromUtf8("Żółw – koncert ☃.mp3");
const QString kCafe = QString::fromUtf8("Café ó.mp3"); // in both code pages

QByteArray ReadAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

class RecordingExport : public ScriptExport {
public:
    void Run(const ScriptExportRequest& r) override {
        for (int i = 1; i <= r.files->Count(); ++i)
            sources << r.files->Item(i)->strFileName;
        for (int i = 1; i <= r.tracks->Count(); ++i)
            names << r.tracks->Item(i)->strFileName;
    }
    QStringList sources, names;
};

class NameEncoding : public ProjectTest, public ::testing::WithParamInterface<int> {
protected:
    void SetUp() override {
        ProjectTest::SetUp();
        AnsiCodec::OverrideSystemCodePage(GetParam());
        controller = std::make_unique<ProjectController>(window);
        snowman = dir + "/" + kName;
        cafe = dir + "/" + kCafe;
        ASSERT_TRUE(QFile::copy(MediaFile("cbr_noinfo.mp3"), snowman));
        ASSERT_TRUE(QFile::copy(MediaFile("cbr_noinfo.mp3"), cafe));
        addSource(snowman, 1, 9.75f);
        addSource(cafe, 2, 9.75f);
        for (int n = 1; n <= 2; ++n) {
            auto t = std::make_shared<cPozycjaMP3>();
            t->lngNrPozycji = n;
            t->strFileNameSource = n == 1 ? snowman : cafe;
            t->strFileName = n == 1 ? QString::fromUtf8("☃ część 1.mp3") : kCafe;
            t->strLabel = n == 1 ? kName : QStringLiteral("plain");
            t->lngTrack = n - 1;
            window.tracks->Add(t);
        }
        Program().session.NextTrackNo = 3;
        Program().session.NextFileId = 3;
    }
    void TearDown() override {
        AnsiCodec::OverrideSystemCodePage(0);
        ProjectTest::TearDown();
    }
    QByteArray cafeInCodePage() const { return AnsiCodec(GetParam()).fromUnicode(kCafe); }
    bool save(const QString& path, int type) {
        window.fileAnswers.enqueue({path, type});
        bool keepName = false;
        return controller->Zapisz(true, keepName, QString());
    }

    FakeProjectWindow window;
    std::unique_ptr<ProjectController> controller;
    QString snowman, cafe;
};

} // namespace

TEST_P(NameEncoding, AProjectFindsItsSourcesAgainAndKeepsItsNames) {
    ASSERT_TRUE(save(dir + "/names.kbe", 1));
    const QByteArray bytes = ReadAll(dir + "/names.kbe");
    EXPECT_TRUE(bytes.contains(snowman.toUtf8()));
    EXPECT_TRUE(bytes.contains(cafeInCodePage()));
    EXPECT_FALSE(bytes.contains(kCafe.toUtf8()));
    EXPECT_FALSE(bytes.contains(AnsiCodec(GetParam()).fromUnicode(kName))); // "?ó?w ... ?"

    controller->ResetProject();
    ASSERT_TRUE(controller->OtworzPlik(dir + "/names.kbe", true, false, false));
    EXPECT_TRUE(messages->shown.isEmpty()); // no source missing
    const cPozycjePlikow& files = *Program().session.OpenFiles;
    ASSERT_EQ(files.Count(), 2);
    EXPECT_EQ(files.Item(1)->strFileName, snowman);
    EXPECT_EQ(files.Item(2)->strFileName, cafe);
    ASSERT_EQ(window.tracks->Count(), 2);
    EXPECT_EQ(window.tracks->Item(1)->strFileNameSource, snowman);
    EXPECT_EQ(window.tracks->Item(1)->strFileName, QString::fromUtf8("☃ część 1.mp3"));
    EXPECT_EQ(window.tracks->Item(1)->strLabel, kName);
    EXPECT_EQ(window.tracks->Item(2)->strFileName, kCafe);
}

TEST_P(NameEncoding, AScriptRunsOnTheSameSourcesAndNames) {
    ASSERT_TRUE(QFile::exists(snowman));
    save(dir + "/names.kbs", 2); // a script leaves the project unsaved
    const QByteArray bytes = ReadAll(dir + "/names.kbs");
    EXPECT_TRUE(bytes.contains("1:" + snowman.toUtf8() + "\r\n"));
    EXPECT_TRUE(bytes.contains("2:" + AnsiCodec(GetParam()).fromUnicode(cafe) + "\r\n"));

    auto exporter = std::make_unique<RecordingExport>();
    RecordingExport* seen = exporter.get();
    window.exporter = std::move(exporter);
    messages->answers.enqueue(mb::Yes);
    controller->OtworzPlik(dir + "/names.kbs", true, true, false);
    EXPECT_EQ(seen->sources, (QStringList{snowman, cafe}));
    EXPECT_EQ(seen->names, (QStringList{QString::fromUtf8("☃ część 1.mp3"), kCafe}));
}

TEST_P(NameEncoding, AScriptAnOlderVersionWroteReadsInTheCodePage) {
    const AnsiCodec codec(GetParam());
    const QString old = dir + "/" + QString::fromUtf8("ó é.mp3");
    ASSERT_TRUE(QFile::copy(MediaFile("cbr_noinfo.mp3"), old));
    const QByteArray text =
        "[Source Files]\r\n\r\n4:" + codec.fromUnicode(old) +
        "\r\n\r\n[Destination Files]\r\n\r\n4:" + codec.fromUnicode(QString::fromUtf8("é.mp3")) +
        ":0:1:20\r\n";
    const QString path = WriteFile(dir + "/old.kbs", text);
    auto exporter = std::make_unique<RecordingExport>();
    RecordingExport* seen = exporter.get();
    window.exporter = std::move(exporter);
    messages->answers.enqueue(mb::Yes);
    controller->OtworzPlik(path, true, true, false);
    EXPECT_EQ(seen->sources, QStringList{old});
    EXPECT_EQ(seen->names, QStringList{QString::fromUtf8("é.mp3")});
}

// A project saved under a Polish locale (Windows-1250) and opened under
// another (Windows-1252): the source is found by its name in the code page it
// was written in, and saved again in that code page, its path and a tag that
// code page 1252 cannot read keep their bytes.
TEST_F(ProjectTest, AProjectOfAnotherCodePageFindsItsSourcesAndKeepsItsBytes) {
    const struct LocaleCodePage {
        ~LocaleCodePage() { AnsiCodec::OverrideSystemCodePage(0); }
    } restore;
    const QString folder = dir + QString::fromUtf8("/Łódź");
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString source = folder + QString::fromUtf8("/Dżingiel 1.mp3");
    ASSERT_TRUE(QFile::copy(MediaFile("cbr_noinfo.mp3"), source));
    const QString title = QString::fromUtf8("Źródło"); // Ź: a byte 1252 leaves undefined
    const AnsiCodec polish(1250);
    FakeProjectWindow window;
    ProjectController controller(window);
    addSource(source, 1, 9.75f);
    auto track = std::make_shared<cPozycjaMP3>();
    track->lngNrPozycji = 1;
    track->strFileNameSource = source;
    track->strTitle = title;
    window.tracks->Add(track);
    Program().session.NextTrackNo = 2;
    Program().session.NextFileId = 2;
    const auto save = [&](const QString& path) {
        window.fileAnswers.enqueue({path, 1});
        bool keepName = false;
        return controller.Zapisz(true, keepName, QString());
    };
    AnsiCodec::OverrideSystemCodePage(1250);
    ASSERT_TRUE(save(dir + "/pl.kbe"));
    ASSERT_TRUE(ReadAll(dir + "/pl.kbe").contains(polish.fromUnicode(source)));

    AnsiCodec::OverrideSystemCodePage(1252);
    controller.ResetProject();
    ASSERT_TRUE(controller.OtworzPlik(dir + "/pl.kbe", true, false, false));
    EXPECT_EQ(shownNumbers(), QList<int>{}); // no folder to choose, no file to look for
    ASSERT_EQ(Program().session.OpenFiles->Count(), 1);
    EXPECT_EQ(Program().session.OpenFiles->Item(1)->strFileName, source);
    ASSERT_EQ(window.tracks->Count(), 1);
    EXPECT_EQ(window.tracks->Item(1)->strFileNameSource, source);
    ASSERT_TRUE(save(dir + "/again.kbe"));
    const QByteArray again = ReadAll(dir + "/again.kbe");
    EXPECT_TRUE(again.contains(polish.fromUnicode(source)));
    EXPECT_TRUE(again.contains(polish.fromUnicode(title)));

    AnsiCodec::OverrideSystemCodePage(1250);
    controller.ResetProject();
    ASSERT_TRUE(controller.OtworzPlik(dir + "/again.kbe", true, false, false));
    EXPECT_EQ(shownNumbers(), QList<int>{});
    ASSERT_EQ(window.tracks->Count(), 1);
    EXPECT_EQ(window.tracks->Item(1)->strTitle, title);
    EXPECT_EQ(window.tracks->Item(1)->strFileNameSource, source);

    // Moved to a folder the user names: the file name is found there in its
    // code page too.
    AnsiCodec::OverrideSystemCodePage(1252);
    const QString moved = dir + "/moved";
    ASSERT_TRUE(QDir().rename(folder, moved));
    controller.ResetProject();
    window.folderAnswers.enqueue(moved);
    ASSERT_TRUE(controller.OtworzPlik(dir + "/pl.kbe", true, false, false));
    EXPECT_EQ(shownNumbers(), QList<int>{});
    EXPECT_EQ(Program().session.OpenFiles->Item(1)->strFileName,
              moved + QString::fromUtf8("/Dżingiel 1.mp3"));
}

// The same project opened under a locale without a code page of its own
// (C.UTF-8 reads 8-bit texts as Windows-1252): its source, found by its name
// in Windows-1250, shows that code page, and every other text of the file is
// read in it, so the labels, and the file names an export takes from them,
// are what the user typed. Where no source shows it, texts read as before.
TEST_F(ProjectTest, TheTextsOfAProjectReadInTheCodePageItsSourcesShow) {
    const struct LocaleCodePage {
        ~LocaleCodePage() { AnsiCodec::OverrideSystemCodePage(0); }
    } restore;
    const QString folder = dir + QString::fromUtf8("/Nagrania z Łodzi");
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString source = folder + "/poranek.mp3";
    ASSERT_TRUE(QFile::copy(MediaFile("cbr_noinfo.mp3"), source));
    const QString gone = QString::fromUtf8("/nie ma/Żółć.mp3");
    const QString morning = QString::fromUtf8("Poranek w Łodzi — audycja");
    const QString jingle = QString::fromUtf8("Dżingiel źródło VBR");
    const QString cranes = QString::fromUtf8("Żurawie");
    cPozycjePlikow files;
    cPozycjeMP3 tracks;
    for (const QString& path : {source, gone}) {
        auto f = std::make_shared<cPozycjaPlikow>();
        f->strFileName = path;
        files.Add(f);
    }
    for (int n = 1; n <= 2; ++n) {
        auto t = std::make_shared<cPozycjaMP3>();
        t->lngNrPozycji = n;
        t->strFileNameSource = n == 1 ? source : gone;
        t->strLabel = n == 1 ? morning : jingle;
        t->strFileName = cranes + ".mp3";
        t->strDevice = QString::fromUtf8("Głośniki");
        t->strTitle = cranes;
        t->strAutor = QString::fromUtf8("Józef Ździebło");
        tracks.Add(t);
    }
    const AnsiCodec polish(1250);
    const QString path =
        WriteFile(dir + "/pl.kbe", *BuildProjectBytes(ProjectHeader{}, files, tracks, polish));

    AnsiCodec::OverrideSystemCodePage(1252);
    FakeProjectWindow window;
    ProjectController controller(window);
    ASSERT_TRUE(controller.OtworzPlik(path, true, false, true));
    ASSERT_EQ(window.tracks->Count(), 2);
    const cPozycjaMP3& first = *window.tracks->Item(1);
    EXPECT_EQ(first.strFileNameSource, source);
    EXPECT_EQ(first.strLabel, morning);
    EXPECT_EQ(window.tracks->Item(2)->strLabel, jingle);
    EXPECT_EQ(first.strFileName, cranes + ".mp3");
    EXPECT_EQ(first.strDevice, QString::fromUtf8("Głośniki"));
    EXPECT_EQ(first.strTitle, cranes);
    EXPECT_EQ(first.strAutor, QString::fromUtf8("Józef Ździebło"));
    EXPECT_EQ(LabelFileName(first.strLabel, first.strFileName), morning + ".mp3");
    EXPECT_EQ(Program().session.OpenFiles->Item(2)->strFileName, gone);
    EXPECT_EQ(window.tracks->Item(2)->strFileNameSource, gone);

    // Saved again, the file keeps the code page it was written in.
    controller.Save();
    const QByteArray saved = ReadAll(path);
    for (const QString& text : {morning, jingle, cranes, gone})
        EXPECT_TRUE(saved.contains(polish.fromUnicode(text))) << text.toStdString();
    EXPECT_FALSE(saved.contains(morning.toUtf8()));

    ASSERT_TRUE(QDir().rename(folder, dir + "/moved"));
    controller.ResetProject();
    ASSERT_TRUE(controller.OtworzPlik(path, true, false, true));
    ASSERT_EQ(window.tracks->Count(), 2);
    EXPECT_EQ(window.tracks->Item(1)->strLabel,
              AnsiCodec(1252).toUnicode(polish.fromUnicode(morning)));
}

INSTANTIATE_TEST_SUITE_P(CodePages, NameEncoding, ::testing::Values(1252, 1250),
                         [](const auto& testInfo) { return "Windows" + std::to_string(testInfo.param); });
