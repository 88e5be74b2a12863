#include "core/app/MessageService.h"
#include "core/app/ProgramObjects.h"
#include "support/ProgramState.h"
#include "core/app/Startup.h"
#include "core/app/TextCatalog.h"
#include "core/recording/RecorderClient.h"
#include "platform/settings/MemorySettingsStore.h"
#include "support/ScriptedMessages.h"
#include "support/TestEnvironment.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <stdexcept>

#include <QSet>
#include <gtest/gtest.h>

using namespace kelbrin;

namespace {

class NullRemote : public RemoteObject {
public:
    QVariant call(const QString&, const QVariantList&, bool* ok) override {
        if (ok)
            *ok = true;
        return {};
    }
};

// Records every call start-up makes, in order.
class FakeStartup : public StartupPlatform, public StartupWindows {
public:
    bool acquireSingleInstance() override { return !otherInstance; }
    QString programFolder() override { return folder; }
    QString binaryFolder() override { return "/opt/kelbrin/bin/"; }
    int systemDefaultLangId() override { return langId; }
    // The language file is a real one in the test's folder; other files are make-believe.
    bool fileExists(const QString& path) override {
        return path.endsWith("Kelbrin.ini") ? QFileInfo(path).isFile() : files.contains(path);
    }
    void setBusyCursor(bool busy) override { log << (busy ? "busy" : "idle"); }
    void processEventsOnce() override { log << "events"; }
    std::shared_ptr<RecorderClient> createRecorder() override {
        log << "create";
        if (recorderFailures-- > 0)
            return nullptr;
        return std::make_shared<RecorderClient>(std::make_unique<NullRemote>());
    }
    void runToEnd(const QString& program, const QStringList& args, int) override {
        log << "start " + program + " " + args.join(' ');
    }
    void showLanguageDialog() override {
        log << "langdialog";
        Catalog().setLanguage("POLSKI");
    }
    void loadSettings() override { log << "settings"; }
    void enumerateSoundCards() override { log << "soundcards"; }
    bool unattended() override { return nobodyWatches; }
    void showMainWindow(bool onScreen) override {
        log << (onScreen ? "main" : "main unseen");
        if (mainThrows)
            throw std::runtime_error("window");
    }
    bool openFile(const QString& path, int mode, bool isScript, bool fromRecorder) override {
        log << QString("open %1 %2 %3 %4").arg(path).arg(mode).arg(isScript).arg(fromRecorder);
        if (openThrows)
            throw std::runtime_error("open");
        return openResult;
    }
    void setTreeRootText(const QString& text) override { log << "root " + text; }
    void checkRecentProjectItem(int index) override { log << QString("check %1").arg(index); }
    void clickSelectedTreeNode() override { log << "click"; }
    void showRecorder(bool autoStart) override { log << QString("recorder %1").arg(autoStart); }

    bool otherInstance = false;
    bool nobodyWatches = false;
    int langId = 1033;
    QString folder;
    QSet<QString> files;
    int recorderFailures = 0;
    bool mainThrows = false;
    bool openThrows = false;
    bool openResult = true;
    QStringList log;
};

class StartupTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::ResetProgramObjects();
        store = new MemorySettingsStore;
        SetSettingsStore(std::unique_ptr<SettingsStore>(store));
        messages = new test::ScriptedMessages;
        SetMessageService(std::unique_ptr<MessageService>(messages));
        Catalog().loadFromText("[ENGLISH]\n3210=x\n[POLSKI]\n3210=y\n");
        Catalog().setLanguage("ENGLISH");
    }
    void TearDown() override {
        Program().server.connect = nullptr;
        SetSettingsStore(nullptr);
        SetMessageService(nullptr);
    }
    // Main with a language file of the given text.
    StartupResult run(const QString& commandLine, const QString& iniText = "[ENGLISH]\n[POLSKI]\n") {
        fake.folder = test::MakeTempDir("program") + "/";
        if (!iniText.isNull())
            test::WriteFile(fake.folder + "Kelbrin.ini", iniText.toUtf8());
        return Main(Program(), fake, fake, commandLine);
    }

    MemorySettingsStore* store = nullptr;
    test::ScriptedMessages* messages = nullptr;
    FakeStartup fake;
};

} // namespace

TEST_F(StartupTest, RunsTheStepsInOrder) {
    store->values["Langauge"] = "english";
    ASSERT_EQ(run(""), StartupResult::Started);
    EXPECT_EQ(fake.log, (QStringList{"busy", "events", "settings", "soundcards", "idle", "main"}));
    EXPECT_EQ(Catalog().language(), "ENGLISH");
    EXPECT_TRUE(Program().session.OpenFiles);
    // The encoder server is reached once, when the recorder first needs it.
    EXPECT_FALSE(Program().server.Recorder);
    EXPECT_TRUE(Program().server.link());
    EXPECT_EQ(Program().server.link(), Program().server.Recorder);
    EXPECT_EQ(fake.log.mid(6), QStringList{"create"});
    EXPECT_EQ(Program().settings.LanguageSections, (QStringList{"ENGLISH", "POLSKI"}));
}

TEST_F(StartupTest, SecondInstanceLeavesWithoutTouchingAnything) {
    fake.otherInstance = true;
    EXPECT_EQ(run("/p/a.kbe"), StartupResult::SecondInstance);
    // A recording it cannot make is refused with a failure status, on
    // standard error only.
    EXPECT_EQ(run("-REC 5"), StartupResult::RecordingRefused);
    EXPECT_EQ(RequestedExitStatus(), exitstatus::kAlreadyRunning);
    EXPECT_TRUE(fake.log.isEmpty());
    EXPECT_EQ(store->reads, 1); // the language it speaks, nothing else
    EXPECT_TRUE(store->writes.isEmpty());
    EXPECT_TRUE(messages->shown.isEmpty());
}

TEST_F(StartupTest, MissingOrEmptyLanguageFileEndsWithTheBuiltInMessage) {
    EXPECT_EQ(run("", QString()), StartupResult::LanguageFileMissing);
    ASSERT_EQ(messages->shown.size(), 1);
    EXPECT_EQ(messages->shown[0].text, LanguageFileMissingText());
    EXPECT_EQ(messages->shown[0].style, mb::Critical);
    EXPECT_TRUE(fake.log.isEmpty());

    messages->shown.clear();
    EXPECT_EQ(run("", "; no sections\n"), StartupResult::LanguageFileMissing);
    EXPECT_EQ(messages->shown.size(), 1);
}

TEST_F(StartupTest, LanguageChoice) {
    EXPECT_EQ(ChooseLanguage("polski", {"ENGLISH", "POLSKI"}, 1033), "POLSKI");
    EXPECT_EQ(ChooseLanguage("", {"ENGLISH", "POLSKI"}, 1045), "POLSKI");
    EXPECT_EQ(ChooseLanguage("", {"ENGLISH", "POLSKI"}, 1031), "ENGLISH");
    // A whole section name only: a part of one, or of the list, is not a language.
    EXPECT_EQ(ChooseLanguage("POL", {"ENGLISH", "POLSKI"}, 1033), "");
    EXPECT_EQ(ChooseLanguage("ENGLISHPOLSKI", {"ENGLISH", "POLSKI"}, 1033), "");
    EXPECT_EQ(ChooseLanguage("deutsch", {"ENGLISH", "DEUTSCH"}, 1045), "DEUTSCH");

    fake.langId = 1045;
    ASSERT_EQ(run(""), StartupResult::Started);
    EXPECT_EQ(Catalog().language(), "POLSKI");
    EXPECT_FALSE(store->values.contains("Langauge")); // the system's choice is not saved
}

TEST_F(StartupTest, UnknownSavedLanguageAsksTheDialogBeforeTheSettings) {
    store->values["Langauge"] = "KLINGON";
    ASSERT_EQ(run(""), StartupResult::Started);
    ASSERT_GE(fake.log.size(), 3);
    EXPECT_EQ(fake.log.first(), "langdialog");
    EXPECT_EQ(Catalog().language(), "POLSKI");
}

TEST_F(StartupTest, RecorderCreationRetriesOnceAfterRegistering) {
    fake.recorderFailures = 1;
    fake.files.insert("/opt/kelbrin/bin/capturon");
    run("");
    EXPECT_TRUE(Program().server.link());
    EXPECT_EQ(fake.log.filter(QRegularExpression("^(create|start)")),
              (QStringList{"create", "start /opt/kelbrin/bin/capturon /RegServer", "create"}));

    // Without the server program it still retries once, then goes on silently.
    test::ResetProgramObjects();
    fake.log.clear();
    fake.recorderFailures = 2;
    fake.files.remove("/opt/kelbrin/bin/capturon");
    EXPECT_EQ(run(""), StartupResult::Started);
    EXPECT_FALSE(Program().server.link());
    EXPECT_FALSE(Program().server.link()); // one attempt per run
    EXPECT_EQ(fake.log.filter(QRegularExpression("^(create|start)")), (QStringList{"create", "create"}));
    EXPECT_TRUE(messages->shown.isEmpty());
}

TEST_F(StartupTest, AFailingMainWindowStillHandlesTheCommandLine) {
    fake.mainThrows = true;
    fake.files.insert("/p/a.kbe");
    EXPECT_EQ(run("/p/a.kbe"), StartupResult::Started);
    EXPECT_EQ(fake.log.last(), "open /p/a.kbe 0 0 0");
    // ... and says what went wrong instead of dropping it.
    ASSERT_EQ(messages->shown.size(), 1);
    EXPECT_EQ(messages->shown[0].textNumber, startuptext::kMainWindowFailed);
}

TEST_F(StartupTest, OnlyAnUnattendedScriptKeepsTheMainWindowOffTheScreen) {
    store->values["Langauge"] = "english";
    fake.files = {"/s/job.kbs", "/p/a.kbe"};
    const auto window = [this](const QString& commandLine) {
        fake.log.clear();
        run(commandLine);
        return fake.log.filter(QRegularExpression("^main")).join(' ');
    };
    // Nobody watches a scheduled script, and the program ends once it has
    // run, or once it has said that the script is not there.
    fake.nobodyWatches = true;
    EXPECT_EQ(window("/s/job.kbs"), "main unseen");
    EXPECT_EQ(fake.log.last(), "open /s/job.kbs 0 1 0");
    EXPECT_EQ(window("\"/s/gone.KBS\""), "main unseen");
    // A recording or a project nobody watches keeps its window, and so does
    // a script somebody started.
    EXPECT_EQ(window("-rec 5"), "main");
    EXPECT_EQ(window("/p/a.kbe"), "main");
    fake.nobodyWatches = false;
    EXPECT_EQ(window("/s/job.kbs"), "main");
}

TEST_F(StartupTest, RecordingCommandLines) {
    struct Case {
        const char* line;
        int limit;
        bool suffixE;
    } cases[] = {{"-rec", 0, false},   {"-REC", 0, false},   {"-rec 15", 15, false},
                 {"-rec15e", 15, true}, {"-rece", 0, true},  {"-rec1.5", 2, false},
                 {"-rec 30 e", 30, true}, {"-rec90", 90, false},
                 // No number of minutes: no limit, as message 7393 says.
                 {"-rec 10min", 0, false}, {"-rec 1,5", 0, false}};
    for (const auto& c : cases) {
        fake.log.clear();
        Program().recording.RecArgSuffixE = !c.suffixE;
        HandleCommandLine(Program().recording, fake, fake, c.line);
        EXPECT_EQ(Program().recording.RecTimeLimit, c.limit) << c.line;
        EXPECT_EQ(Program().recording.RecArgSuffixE, c.suffixE) << c.line;
        EXPECT_EQ(fake.log.last(), "recorder 1") << c.line;
    }
}

TEST_F(StartupTest, FileArgumentsOpenProjectsOrRunScripts) {
    fake.files = {"/m y/a b.kbe", "/s/job.KBS", "/s/odd"};
    HandleCommandLine(Program().recording, fake, fake, "\"/m y/a b.kbe\"");
    EXPECT_EQ(fake.log.last(), "open /m y/a b.kbe 0 0 0");
    HandleCommandLine(Program().recording, fake, fake, "/s/job.KBS");
    EXPECT_EQ(fake.log.last(), "open /s/job.KBS 0 1 0");
    HandleCommandLine(Program().recording, fake, fake, "/s/odd");
    EXPECT_EQ(fake.log.last(), "open /s/odd 0 0 0");

    fake.log.clear();
    HandleCommandLine(Program().recording, fake, fake, "/s/missing.kbe");
    HandleCommandLine(Program().recording, fake, fake, "/s"); // a folder is not a file
    EXPECT_TRUE(fake.log.isEmpty());
    ASSERT_EQ(messages->shown.size(), 2); // each is said, the path named
    EXPECT_EQ(messages->shown[1].textNumber, 3025);
    messages->shown.clear();

    // A failure while opening leaves the editor running and is told, with the
    // file; so is one while the last project is reopened.
    Catalog().loadFromText("[ENGLISH]\n7044=|1: |2\n7045=|1: |2\n");
    fake.openThrows = true;
    HandleCommandLine(Program().recording, fake, fake, "/s/odd");
    store->values["AutoOpen"] = "1";
    store->values["F1"] = "/s/job.KBS";
    HandleCommandLine(Program().recording, fake, fake, "");
    ASSERT_EQ(messages->shown.size(), 2);
    EXPECT_EQ(messages->shown[0].textNumber, startuptext::kFileArgumentFailed);
    EXPECT_EQ(messages->shown[1].textNumber, startuptext::kLastProjectFailed);
    for (const MessageRequest& shown : messages->shown)
        EXPECT_TRUE(shown.text.contains("open")) << shown.text.toStdString();
    EXPECT_EQ(fake.log.last(), "click");
}

TEST_F(StartupTest, LastProjectReopensOnlyWhenAsked) {
    fake.files = {"/p/Set.KBE"};
    store->values["F1"] = "/p/Set.KBE";
    HandleCommandLine(Program().recording, fake, fake, "");
    EXPECT_TRUE(fake.log.isEmpty()); // AutoOpen missing

    store->values["AutoOpen"] = "1";
    HandleCommandLine(Program().recording, fake, fake, "");
    EXPECT_EQ(fake.log, (QStringList{"open /p/Set.KBE 0 0 0", "root Set", "check 2", "click"}));

    fake.log.clear();
    HandleCommandLine(Program().recording, fake, fake, "-rec");
    EXPECT_EQ(fake.log, (QStringList{"open /p/Set.KBE 0 0 1", "root Set", "check 2", "click",
                                     "recorder 1"}));

    fake.log.clear();
    fake.openResult = false;
    HandleCommandLine(Program().recording, fake, fake, "");
    EXPECT_EQ(fake.log, (QStringList{"open /p/Set.KBE 0 0 0", "click"}));

    fake.log.clear();
    store->values["F1"] = "/p/gone.kbe";
    HandleCommandLine(Program().recording, fake, fake, "");
    EXPECT_TRUE(fake.log.isEmpty());
    EXPECT_EQ(store->values["F1"], "/p/gone.kbe");
}
