#include "Startup.h"

#include "MessageService.h"
#include "Numbers.h"
#include "PathProcedures.h"
#include "ProgramObjects.h"
#include "TextCatalog.h"
#include "core/document/cPozycjePlikow.h"
#include "core/recording/RecorderClient.h"
#include "core/app/SettingsKeys.h"
#include "platform/settings/SettingsStore.h"

#include <QRegularExpression>
#include <QStringList>
#include <exception>

namespace kelbrin {

namespace {
constexpr int kPolishLangId = 1045;
const QString kServerProgram = QStringLiteral("capturon");
const QString kP1 = QStringLiteral("|1");
const QString kP2 = QStringLiteral("|2");

int& exitStatusSlot() {
    static int status = exitstatus::kDone;
    return status;
}

// What an exception that reached start-up says about itself.
QString Describe(std::exception_ptr failure) {
    try {
        std::rethrow_exception(failure);
    } catch (const std::exception& e) {
        return QString::fromLocal8Bit(e.what());
    } catch (...) {
        return QStringLiteral("?");
    }
}

// The texts of a second editor, which opens no window and asks nothing: in
// the language the running one speaks, the stored choice, else English.
void LoadLanguageWithoutAsking(StartupPlatform& platform) {
    const QString languageFile = platform.programFolder() + QStringLiteral("Kelbrin.ini");
    if (!platform.fileExists(languageFile) || !Catalog().load(languageFile))
        return;
    const QString language = ChooseLanguage(GetSetting(settingkeys::kLangauge), Catalog().file().sectionNames(),
                                            platform.systemDefaultLangId());
    Catalog().setLanguage(language.isEmpty() ? QStringLiteral("ENGLISH") : language);
}

// A second editor may not record: the first one holds the recorder, and a
// scheduler must learn that nothing was recorded. No window may open and no
// setting is written.
void RefuseRecording(StartupPlatform& platform) {
    LoadLanguageWithoutAsking(platform);
    WriteNotice(startuptext::kRecordingRefused, GetText(startuptext::kRecordingRefused));
    RequestExitStatus(exitstatus::kAlreadyRunning);
}

// The path of the batch script the command line names, or nothing: the
// same test the start-up makes before it runs one.
QString ScriptArgument(StartupPlatform& platform, const QString& commandLine) {
    QString path = commandLine;
    path.remove(QLatin1Char('"'));
    if (path.isEmpty() || path.right(3).toLower() != QLatin1String("kbs") || !platform.fileExists(path))
        return QString();
    return path;
}

// The command line runs a batch script: the test HandleCommandLine makes,
// whether or not the file is there.
bool IsScriptCommand(const QString& commandLine) {
    if (IsRecordCommand(commandLine))
        return false;
    QString path = commandLine;
    path.remove(QLatin1Char('"'));
    return path.right(3).toLower() == QLatin1String("kbs");
}

// A second editor runs no script either: the first one is not asked to, and
// a scheduler must learn that nothing was exported. Said as for a recording.
void RefuseScript(StartupPlatform& platform, const QString& path) {
    LoadLanguageWithoutAsking(platform);
    WriteNotice(startuptext::kScriptRefused, GetText(startuptext::kScriptRefused, kP1, path));
    RequestExitStatus(exitstatus::kAlreadyRunning);
}
} // namespace

bool StartupPlatform::unattended() { return AutoAnswerFor(mb::OkOnly).has_value(); }

void RequestExitStatus(int status) {
    if (exitStatusSlot() == exitstatus::kDone)
        exitStatusSlot() = status;
}

int RequestedExitStatus() { return exitStatusSlot(); }

bool IsRecordCommand(const QString& commandLine) {
    return commandLine.left(4).toLower().trimmed() == QLatin1String("-rec");
}

QString LanguageFileMissingText() {
    return QStringLiteral("File Kelbrin.ini not found!\rBrak plik Kelbrin.ini w katalogu aplikacji!");
}

QString ChooseLanguage(const QString& saved, const QStringList& sections, int systemLangId) {
    if (saved.isEmpty())
        return systemLangId == kPolishLangId ? QStringLiteral("POLSKI") : QStringLiteral("ENGLISH");
    const QString upper = saved.toUpper();
    for (const QString& section : sections)
        if (section.compare(upper, Qt::CaseInsensitive) == 0)
            return upper;
    return QString();
}

StartupResult Main(ProgramObjects& program, StartupPlatform& platform, StartupWindows& windows,
                   const QString& commandLine) {
    if (!platform.acquireSingleInstance()) {
        if (IsRecordCommand(commandLine)) {
            RefuseRecording(platform);
            return StartupResult::RecordingRefused;
        }
        const QString script = ScriptArgument(platform, commandLine);
        if (script.isEmpty())
            return StartupResult::SecondInstance;
        RefuseScript(platform, script);
        return StartupResult::ScriptRefused;
    }
    ProgramObjects& s = program;

    const QString languageFile = platform.programFolder() + QStringLiteral("Kelbrin.ini");
    if (!platform.fileExists(languageFile) || !Catalog().load(languageFile) ||
        Catalog().file().sectionNames().isEmpty()) {
        ShowMessage(LanguageFileMissingText(), mb::OkOnly | mb::Critical, QString());
        return StartupResult::LanguageFileMissing;
    }
    s.settings.LanguageSections = Catalog().file().sectionNames();
    Catalog().setLanguage(QStringLiteral("ENGLISH"));

    const QString saved = GetSetting(settingkeys::kLangauge);
    const QString language = ChooseLanguage(saved, s.settings.LanguageSections, platform.systemDefaultLangId());
    if (!language.isEmpty()) {
        Catalog().setLanguage(language);
    } else if (platform.unattended()) {
        // Nobody could answer the dialog: a scheduled run would wait forever.
        // The saved choice stays for the next run somebody watches.
        WriteNotice(startuptext::kLanguageFallback, GetText(startuptext::kLanguageFallback, kP1, saved));
    } else {
        windows.showLanguageDialog();
    }
    for (const int notice : platform.pendingNotices())
        WriteNotice(notice, GetText(notice));

    platform.setBusyCursor(true);
    platform.processEventsOnce();
    windows.loadSettings();
    windows.enumerateSoundCards();
    platform.setBusyCursor(false);

    s.session.OpenFiles = std::make_shared<cPozycjePlikow>();
    s.session.NextFileId = 1;

    // The encoder server, once something needs it: one retry after asking the
    // server to register itself.
    s.server.connect = [&platform] {
        std::shared_ptr<RecorderClient> recorder = platform.createRecorder();
        if (!recorder) {
            const QString server = platform.binaryFolder() + kServerProgram;
            if (platform.fileExists(server))
                platform.runToEnd(server, {QStringLiteral("/RegServer")}, 10000);
            recorder = platform.createRecorder();
        }
        return recorder;
    };

    // An unattended batch script ends the program once it has run, whether it
    // could run or not: nobody would see the window, and building and drawing
    // it would only hold the run up.
    const bool onScreen = !(platform.unattended() && IsScriptCommand(commandLine));
    try {
        windows.showMainWindow(onScreen);
    } catch (...) {
        // Start-up goes on with the command line, but not without a word.
        ShowText(startuptext::kMainWindowFailed, mb::Critical, kP1, Describe(std::current_exception()));
    }

    HandleCommandLine(program.recording, platform, windows, commandLine);
    return StartupResult::Started;
}

void HandleCommandLine(RecordingConfiguration& recording, StartupPlatform& platform, StartupWindows& windows,
                       const QString& commandLine) {
    recording.RecTimeLimit = 0;
    if (IsRecordCommand(commandLine)) {
        AutoOpenLastFile(platform, windows, true);
        QString compact = commandLine.toLower();
        compact.remove(QLatin1Char(' '));
        const qsizetype n = compact.size();
        recording.RecArgSuffixE = compact.endsWith(QLatin1Char('e'));
        const QString limit = compact.mid(4, n - 4 - (recording.RecArgSuffixE ? 1 : 0));
        if (!limit.isEmpty())
            recording.RecTimeLimit = ValLong(limit);
        // A limit mistyped in a scheduled job would otherwise record without
        // end and without a word.
        static const QRegularExpression minutes(QStringLiteral("^(\\d+\\.?\\d*|\\.\\d+)$"));
        if (!limit.isEmpty() && !minutes.match(limit).hasMatch()) {
            // As the message says: no limit, not the number its text starts with.
            recording.RecTimeLimit = 0;
            ShowText(startuptext::kBadTimeLimit, mb::Exclamation, kP1, limit);
        }
        windows.showRecorder(true);
        return;
    }
    QString path = commandLine;
    path.remove(QLatin1Char('"'));
    if (path.isEmpty()) {
        AutoOpenLastFile(platform, windows, false);
        return;
    }
    try {
        const bool isScript = path.right(3).toLower() == QLatin1String("kbs");
        if (platform.fileExists(path)) {
            windows.openFile(path, 0, isScript, false);
        } else {
            // A file that went away, or a folder: the editor starts empty,
            // and whoever started it (a scheduler too) learns why.
            ShowText(3025, mb::Information, kP1, path);
            // A scheduled script that is not there exported nothing, and
            // nobody is there to close the window.
            if (isScript && platform.unattended()) {
                RequestExitStatus(exitstatus::kFailed);
                windows.endProgram();
            }
        }
    } catch (...) {
        // The editor goes on with an empty project; the user learns why.
        ShowText(startuptext::kFileArgumentFailed, mb::Exclamation, kP1, path, kP2,
                 Describe(std::current_exception()));
    }
}

void AutoOpenLastFile(StartupPlatform& platform, StartupWindows& windows, bool fromRecorder) {
    if (!(Val(GetSetting(settingkeys::kAutoOpen, QStringLiteral("0"))) > 0))
        return;
    try {
        const QString last = GetSetting(settingkeys::RecentProjectKey(1), QStringLiteral("0"));
        if (!platform.fileExists(last))
            return;
        bool ok = false;
        try {
            ok = windows.openFile(last, 0, false, fromRecorder);
        } catch (...) {
            ShowText(startuptext::kLastProjectFailed, mb::Exclamation, kP1, last, kP2,
                     Describe(std::current_exception()));
        }
        if (ok) {
            QString root = FileNameFromPath(last);
            if (root.right(4).toLower() == QLatin1String(".kbe"))
                root.chop(4);
            windows.setTreeRootText(root);
            windows.checkRecentProjectItem(2);
        }
        windows.clickSelectedTreeNode();
    } catch (...) {
        // Reopening the last project is a convenience; it never stops start-up.
        ShowText(startuptext::kLastProjectFailed, mb::Exclamation, kP1,
                 GetSetting(settingkeys::RecentProjectKey(1), QStringLiteral("0")), kP2, Describe(std::current_exception()));
    }
}

} // namespace kelbrin
