// Saving a project and opening it again, through the same procedures the main
// window uses; and what a save does when it cannot write.
#include "ProjectTestSupport.h"
#include "support/ProgramState.h"

#include "core/project/ProjectController.h"
#include "core/project/ProjectFileWriter.h"
#include "platform/text/AnsiCodec.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cmath>
#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace kelbrin;
using namespace kelbrin::test;

namespace {

QByteArray ReadAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void expectSameStoredFields(const cPozycjaMP3& a, const cPozycjaMP3& b) {
    // clang-format off
#define SAME(field) EXPECT_EQ(a.field, b.field) << #field
    SAME(lngNrPozycji); SAME(strFileName); SAME(strFileNameSource); SAME(lngPoczatek_M);
    SAME(lngPoczatek_S); SAME(lngPoczatek_SS); SAME(lngKoniec_M); SAME(lngKoniec_S);
    SAME(lngKoniec_SS); SAME(lngRamkaOd); SAME(lngRamkaDo); SAME(blnJednostka); SAME(strLabel);
    SAME(lngLeft); SAME(lngTop); SAME(lngTrack); SAME(lngLoopTrack); SAME(lngLoopCountBackup);
    SAME(blnZablokowany); SAME(lngVolume); SAME(lngBalance); SAME(sngRate); SAME(blnAwlaysTop);
    SAME(lngVolumeStart); SAME(lngVolumeEnd); SAME(sngFadeInTime); SAME(sngFadeInTimeOld);
    SAME(sngFadeInOffsetTime); SAME(sngFadeInOffsetTimeOld); SAME(sngFadeOutTime);
    SAME(sngFadeOutTimeOld); SAME(sngOvertake); SAME(strDevice); SAME(blnLabelEdited);
    SAME(lngMarkerFrom); SAME(lngMarkerTo); SAME(blnDetails); SAME(lngBPM); SAME(lngGenre);
    SAME(strYear);
#undef SAME
    // clang-format on
    // Tag texts are stored padded to their 30 bytes and come back without
    // the padding, an empty one empty.
    EXPECT_EQ(a.strTitle, b.strTitle);
    EXPECT_EQ(a.strAutor, b.strAutor);
    EXPECT_EQ(a.strAlbum, b.strAlbum);
    EXPECT_EQ(a.strComment, b.strComment);
}

std::shared_ptr<cPozycjaMP3> richTrack(int n, const QString& source) {
    auto t = std::make_shared<cPozycjaMP3>();
    t->lngNrPozycji = n;
    t->strFileName = QStringLiteral("out %1.mp3").arg(n);
    t->strFileNameSource = source;
    t->lngPoczatek_M = n;
    t->lngPoczatek_S = 10 + n;
    t->lngPoczatek_SS = 100 + n;
    t->lngKoniec_M = 5 + n;
    t->lngKoniec_S = 20 + n;
    t->lngKoniec_SS = 200 + n;
    t->lngRamkaOd = 1000 * n;
    t->lngRamkaDo = 1000 * n + 500;
    t->blnJednostka = n % 2 == 0;
    t->strLabel = QStringLiteral("Label %1").arg(n);
    t->lngLeft = 300 * n;
    t->lngTop = 400 * n;
    t->lngTrack = n - 1;
    t->lngLoopTrack = n == 3 ? 1 : -1;
    t->lngLoopCountBackup = n == 3 ? 4 : 0;
    t->lngLoopCount = 1;
    t->blnZablokowany = n == 2;
    t->lngVolume = -10 * n;
    t->lngBalance = 500 * n;
    t->sngRate = 1.0f + n / 8.0f;
    t->blnAwlaysTop = n != 2;
    t->lngVolumeStart = -9000 + n;
    t->lngVolumeEnd = -8000 + n;
    t->sngFadeInTime = 0.5f * n;
    t->sngFadeInTimeOld = 0.25f * n;
    t->sngFadeInOffsetTime = 1.5f * n;
    t->sngFadeInOffsetTimeOld = 1.25f * n;
    t->sngFadeOutTime = 2.5f * n;
    t->sngFadeOutTimeOld = 2.25f * n;
    t->sngOvertake = 0.125f * n;
    t->strDevice = QStringLiteral("Device %1").arg(n);
    t->blnLabelEdited = true;
    t->lngMarkerFrom = 1000 + n;
    t->lngMarkerTo = 30000 + n;
    t->blnDetails = n == 1;
    t->lngBPM = 120 + n;
    t->strTitle = QStringLiteral("Title %1").arg(n);
    t->strAutor = n == 2 ? QString() : QStringLiteral("Artist %1").arg(n);
    t->strAlbum = QStringLiteral("Album %1").arg(n);
    t->strComment = QStringLiteral("Comment %1").arg(n);
    t->lngGenre = 10 + n;
    t->strYear = n == 1 ? QString() : QString::number(1990 + n);
    t->blnZmodyfikowana = true;
    return t;
}

class ProjectRoundTrip : public ProjectTest {
protected:
    void SetUp() override {
        ProjectTest::SetUp();
        controller = std::make_unique<ProjectController>(window);
    }
    // One track of the test source, saved as the project's own file `path`.
    QByteArray saveOneTrack(const QString& path) {
        addSource(MediaFile("cbr_noinfo.mp3"), 1);
        window.tracks->Add(richTrack(1, MediaFile("cbr_noinfo.mp3")));
        window.projectFile = path;
        bool keepName = true;
        EXPECT_TRUE(controller->Zapisz(true, keepName, QString()));
        return ReadAll(path);
    }
    FakeProjectWindow window;
    std::unique_ptr<ProjectController> controller;
};

} // namespace

TEST_F(ProjectRoundTrip, SaveThenOpenGivesBackTheSameProject) {
    const QString first = MediaFile("cbr_noinfo.mp3");
    const QString second = MediaFile("vbr_xing.mp3");
    const QString gone = dir + "/gone.mp3";
    addSource(second, 60001, 10.5f)->blnVBR = true;
    addSource(first, 60000, 9.75f)->blnZmodyfikowana = true;
    addSource(gone, 60002, 3)->blnNoSave = true;
    QList<std::shared_ptr<cPozycjaMP3>> originals;
    for (int n = 1; n <= 4; ++n) {
        originals << richTrack(n, n == 4 ? gone : (n % 2 ? first : second));
        window.tracks->Add(originals.last());
    }
    window.date = project_format::DateValue(QDate(2019, 7, 14));
    window.geometry = {11000, 7000, 135, 270};
    Program().session.NextTrackNo = 5;
    Program().session.NextFileId = 60003;

    const QString path = dir + "/My project";
    window.fileAnswers.enqueue({path, 1});
    bool keepName = true;
    ASSERT_TRUE(controller->Zapisz(true, keepName, QString()));
    EXPECT_FALSE(keepName);
    EXPECT_TRUE(QFile::exists(path + ".kbe"));
    for (const auto& t : originals)
        EXPECT_FALSE(t->blnZmodyfikowana);
    EXPECT_FALSE(Program().session.OpenFiles->Item(2)->blnZmodyfikowana);
    EXPECT_EQ(store->values.value("F1"), path + ".kbe");
    EXPECT_EQ(window.checkedItem, 2);
    EXPECT_EQ(window.projectFile, path + ".kbe");
    EXPECT_TRUE(window.autosave);
    EXPECT_EQ(window.rootText, "My project");

    controller->ResetProject();
    ASSERT_EQ(window.tracks->Count(), 0);
    ASSERT_EQ(Program().session.OpenFiles->Count(), 0);
    EXPECT_FALSE(window.autosave);
    EXPECT_TRUE(window.projectFile.isEmpty());

    ASSERT_TRUE(controller->OtworzPlik(path + ".kbe", true, false, true));
    EXPECT_TRUE(messages->shown.isEmpty());
    EXPECT_EQ(window.date, project_format::DateValue(QDate(2019, 7, 14)));
    EXPECT_EQ(Program().session.NextTrackNo, 5);
    EXPECT_EQ(Program().session.NextFileId, 60003);
    EXPECT_EQ(window.geometry.templateLeft, 135);
    EXPECT_EQ(window.geometry.templateTop, 270);

    const cPozycjePlikow& files = *Program().session.OpenFiles;
    ASSERT_EQ(files.Count(), 3);
    EXPECT_EQ(files.Item(1)->strFileName, second);
    EXPECT_EQ(files.Item(2)->strFileName, first);
    EXPECT_EQ(files.Item(3)->strFileName, gone); // missing, asked nothing (quiet), kept
    for (int i = 1; i <= 3; ++i)
        EXPECT_EQ(files.Item(i)->lngNrPozycji, i);
    EXPECT_TRUE(files.Item(1)->blnVBR);
    EXPECT_EQ(files.Item(2)->sngCzasTrwania, 9.75f);
    EXPECT_TRUE(files.Item(3)->blnNoSave);
    EXPECT_FALSE(files.Item(2)->blnZmodyfikowana);

    ASSERT_EQ(window.tracks->Count(), 4);
    for (int n = 1; n <= 4; ++n) {
        SCOPED_TRACE(n);
        const cPozycjaMP3& back = *window.tracks->Item(n);
        expectSameStoredFields(*originals[n - 1], back);
        EXPECT_EQ(back.lngLoopCount, back.lngLoopCountBackup);
        EXPECT_EQ(back.dblDuration, n == 4 ? 3.0 : (n % 2 ? 9.75 : 10.5));
        EXPECT_FALSE(back.blnZmodyfikowana);
    }
    ASSERT_EQ(window.shown.size(), 4);
    EXPECT_EQ(window.shown[0].colour, 0x00FF00u);
    EXPECT_EQ(window.shown[1].colour, 0xFF0000u); // locked
    EXPECT_EQ(window.shown[2].colour, 0xFF00FFu); // loops
    EXPECT_TRUE(window.shown[0].listed);
    EXPECT_FALSE(window.shown[3].listed); // its source is missing
    EXPECT_EQ(window.loadsFinished, 1);
    EXPECT_TRUE(window.autosave);
    EXPECT_TRUE(window.cloneEnabled);
    EXPECT_EQ(window.rootText, "My project");
    EXPECT_EQ(window.projectFile, path + ".kbe");
    EXPECT_EQ(store->values.value("F1"), path + ".kbe");
    EXPECT_EQ(store->values.value("F2"), path + ".kbe");
    EXPECT_EQ(window.readyChanges, (QList<bool>{false, true}));
}

// The header's date is read and written as one value: its time of day comes
// back from a save, and a value that names no day gives the day of the opening.
TEST_F(ProjectRoundTrip, TheProjectDateKeepsItsTimeOfDay) {
    const auto storedDate = [](const QByteArray& bytes) {
        return qFromLittleEndian<double>(bytes.constData() + 4);
    };
    addSource(MediaFile("cbr_noinfo.mp3"), 1);
    window.tracks->Add(richTrack(1, MediaFile("cbr_noinfo.mp3")));
    for (const double stored : {45000.5, std::nan("")}) {
        ProjectHeader h;
        h.date = stored;
        const QString path =
            WriteFile(dir + "/dated.kbe", *BuildProjectBytes(h, *Program().session.OpenFiles,
                                                             *window.tracks, AnsiCodec()));
        ASSERT_TRUE(controller->OtworzPlik(path, false, false, true));
        controller->Save();
        const double saved = storedDate(ReadAll(path));
        if (std::isnan(stored))
            EXPECT_EQ(saved, project_format::DateValue(QDate::currentDate()));
        else
            EXPECT_EQ(saved, 45000.5);
    }
}

TEST_F(ProjectRoundTrip, AFailedSaveKeepsTheOldFileAndTheUnsavedState) {
    const QString path = dir + "/kept.kbe";
    const QByteArray old(40, 'o');
    WriteFile(path, old);
    addSource(MediaFile("cbr_noinfo.mp3"), 1);
    auto t = richTrack(1, MediaFile("cbr_noinfo.mp3"));
    window.tracks->Add(t);
    window.projectFile = path;

    // The new project is larger than the system lets any file grow.
    struct rlimit saved {};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = saved;
    small.rlim_cur = 100;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    bool keepName = true;
    const bool saved_ = controller->Zapisz(true, keepName, QString());
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_FALSE(saved_);
    EXPECT_EQ(shownNumbers(), QList<int>{3346});
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), old);
    EXPECT_EQ(QDir(dir).entryList(QDir::Files), QStringList{"kept.kbe"}); // no temporary left
    EXPECT_TRUE(t->blnZmodyfikowana);
    EXPECT_FALSE(window.autosave);
    EXPECT_FALSE(store->values.contains("F1"));
}

TEST_F(ProjectRoundTrip, AWriteProtectedProjectIsNotSavedOver) {
    const QString path = dir + "/protected.kbe";
    const QByteArray saved = saveOneTrack(path);
    ASSERT_TRUE(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadOther));

    window.tracks->Add(richTrack(2, MediaFile("cbr_noinfo.mp3")));
    bool keepName = true;
    EXPECT_FALSE(controller->Zapisz(false, keepName, QString())); // the autosave's call
    EXPECT_EQ(shownNumbers(), QList<int>{3346});
    EXPECT_EQ(ReadAll(path), saved);
    EXPECT_TRUE(window.tracks->Item(2)->blnZmodyfikowana);
}

TEST_F(ProjectRoundTrip, ASaveThroughALinkReachesTheLinkedFileAndKeepsTheLink) {
    const QString real = MakeTempDir("kept") + "/real.kbe";
    const QString link = dir + "/link.kbe";
    WriteFile(real, QByteArray(40, 'o'));
    ASSERT_TRUE(QFile::link(real, link));
    saveOneTrack(link);
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    ASSERT_TRUE(controller->OtworzPlik(real, false, false, true));
    EXPECT_EQ(window.tracks->Count(), 1);
}

TEST_F(ProjectRoundTrip, ASaveKilledMidWayLeavesATemporaryFileThatTheNextSaveRemoves) {
    const QString path = dir + "/killed.kbe";
    const QByteArray saved = saveOneTrack(path);
    const auto everything = [this] {
        return QDir(dir).entryList(QDir::Files | QDir::Hidden | QDir::System);
    };

    // The system kills a saving process when the file outgrows its limit.
    window.tracks->Add(richTrack(2, MediaFile("cbr_noinfo.mp3")));
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_DFL);
        struct rlimit small {};
        getrlimit(RLIMIT_FSIZE, &small);
        small.rlim_cur = 100;
        setrlimit(RLIMIT_FSIZE, &small);
        bool keep = true;
        controller->Zapisz(true, keep, QString());
        _exit(0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGXFSZ) << status;
    EXPECT_EQ(ReadAll(path), saved) << "the old project stays whole";
    EXPECT_EQ(everything().size(), 2) << everything().join(' ').toStdString();

    bool keepName = true;
    ASSERT_TRUE(controller->Zapisz(true, keepName, QString()));
    EXPECT_EQ(everything(), QStringList{"killed.kbe"});
    EXPECT_GT(ReadAll(path).size(), saved.size());
}

TEST_F(ProjectRoundTrip, SaveChoosesItsTargetAndAsksBeforeReplacing) {
    addSource(MediaFile("cbr_noinfo.mp3"), 1);
    auto t = richTrack(1, MediaFile("cbr_noinfo.mp3"));
    window.tracks->Add(t);
    bool keepName = true;

    // No current file: the dialog, whatever keepName says; ".KBE" is not doubled.
    window.fileAnswers.enqueue({dir + "/Upper.KBE", 1});
    ASSERT_TRUE(controller->Zapisz(false, keepName, QString()));
    EXPECT_TRUE(QFile::exists(dir + "/Upper.KBE"));
    EXPECT_EQ(store->values.value("F1"), dir + "/Upper.KBE");
    EXPECT_EQ(window.fileDialogs.last().folder, Program().settings.DestFolder + "/");
    EXPECT_TRUE(window.fileDialogs.last().save);

    // Save as onto an existing file asks; No writes nothing.
    window.fileAnswers.enqueue({dir + "/Upper.KBE", 1});
    messages->answers.enqueue(mb::No);
    keepName = false;
    const auto before = QFileInfo(dir + "/Upper.KBE").lastModified();
    EXPECT_FALSE(controller->Zapisz(true, keepName, QString()));
    EXPECT_EQ(shownNumbers(), QList<int>{3011});
    EXPECT_TRUE(messages->shown.last().text.contains(GetText(3022)));

    // A named project goes to the destination folder, without dialog or question.
    Program().settings.DestFolder = dir;
    WriteFile(dir + "/Record 07_14.kbe", "x");
    const int dialogs = window.fileDialogs.size();
    keepName = true;
    ASSERT_TRUE(controller->Zapisz(true, keepName, "Record 07_14"));
    EXPECT_EQ(window.fileDialogs.size(), dialogs);
    EXPECT_GT(QFileInfo(dir + "/Record 07_14.kbe").size(), 56);
    EXPECT_EQ(QFileInfo(dir + "/Upper.KBE").lastModified(), before);

    // A batch script is written but the project stays unsaved.
    t->blnZmodyfikowana = true;
    window.autosave = false;
    window.fileAnswers.enqueue({dir + "/batch", 2});
    keepName = false;
    EXPECT_FALSE(controller->Zapisz(true, keepName, QString()));
    QFile script(dir + "/batch.kbs");
    ASSERT_TRUE(script.open(QIODevice::ReadOnly));
    EXPECT_TRUE(script.readAll().startsWith("[Source Files]\r\n"));
    EXPECT_TRUE(t->blnZmodyfikowana);
    EXPECT_FALSE(window.autosave);
    EXPECT_EQ(store->values.value("F1"), dir + "/Record 07_14.kbe");
}
