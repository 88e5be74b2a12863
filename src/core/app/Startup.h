#pragma once
// The editor's start-up: single instance, language file and language, settings,
// the open-files collection, the encoder server, the main window and finally
// the command line. The windows and the platform are reached through the two
// interfaces below, so the sequence runs (and is tested) headless.

#include "TextNumbers.h"

#include <QList>
#include <QString>
#include <memory>

namespace kelbrin {

struct ProgramObjects;
struct RecordingConfiguration;

class RecorderClient;

// What start-up needs of the system.
class StartupPlatform {
public:
    virtual ~StartupPlatform() = default;
    // False when another editor already runs.
    virtual bool acquireSingleInstance() = 0;
    // The folder of the program's read-only files, with a trailing '/'.
    virtual QString programFolder() = 0;
    // The folder of the running program's binary, with a trailing '/'.
    virtual QString binaryFolder() = 0;
    virtual int systemDefaultLangId() = 0;
    virtual bool fileExists(const QString& path) = 0;
    virtual void setBusyCursor(bool busy) = 0;
    virtual void processEventsOnce() = 0;
    // One attempt to create the encoder server's class; nullptr on failure.
    virtual std::shared_ptr<RecorderClient> createRecorder() = 0;
    // Nobody answers the boxes. Default: KELBRIN_AUTO_ANSWER is set.
    virtual bool unattended();
    // Notices gathered before the texts were loaded (their text numbers),
    // written to standard error once they are. Default: none.
    virtual QList<int> pendingNotices() { return {}; }
    // Runs a program to its end (at most `timeoutMs`); the server's "/RegServer"
    // must have written its registration before the class is asked for again.
    virtual void runToEnd(const QString& program, const QStringList& arguments, int timeoutMs) = 0;
};

// What start-up needs of the windows and of later stages.
class StartupWindows {
public:
    virtual ~StartupWindows() = default;
    virtual void showLanguageDialog() = 0;             // modal; sets and saves the language
    virtual void loadSettings() = 0;                   // LoadSettings
    virtual void enumerateSoundCards() = 0;            // the audio output device list
    // frmDazudizi::PokazMnie; may throw. `onScreen` false: nobody watches the
    // run, which ends by itself; its project is held without a window.
    virtual void showMainWindow(bool onScreen) = 0;
    // frmDazudizi::OtworzPlik: opens a project, or runs a batch script.
    virtual bool openFile(const QString& path, int mode, bool isScript, bool fromRecorder) = 0;
    virtual void setTreeRootText(const QString& text) = 0;
    virtual void checkRecentProjectItem(int index) = 0; // the item "mnuPlik_End(index)"
    // TreeNavigator::tvwNodes_NodeClick on the selected node.
    virtual void clickSelectedTreeNode() = 0;
    virtual void showRecorder(bool autoStart) = 0;     // frmRecord::PokazMnie
    // Ends the program once its event loop runs (an unattended run that has
    // nothing left to do). Default: nothing.
    virtual void endProgram() {}
};

enum class StartupResult {
    SecondInstance,      // another editor runs: leave at once, status 0
    RecordingRefused,    // "-rec" while another editor runs: nothing recorded, kAlreadyRunning
    ScriptRefused,       // a batch script while another editor runs: nothing exported, kAlreadyRunning
    LanguageFileMissing, // the language file is missing or empty: leave, failure status
    Started,             // the main window is up
};

// The program's exit statuses; a scheduler tells its endings apart by them.
namespace exitstatus {
constexpr int kDone = 0;           // ended as asked; a "-rec" run made and handed over its recording
constexpr int kFailed = 1;         // no language file; a "-rec" run that could not record or ended early
constexpr int kNoServer = 2;       // "-rec" without an encoder server: nothing recorded
constexpr int kAlreadyRunning = 3; // "-rec" or a batch script while another editor runs: nothing done
} // namespace exitstatus

// The status the program ends with once its event loop has let go: the first
// failure asked for (a later success does not hide it).
void RequestExitStatus(int status);
int RequestedExitStatus();

// Start-up's own notices and failures, by the names it has always used.
namespace startuptext = texts;

// The command line asks for a recording ("-rec" in any case, spaces around).
bool IsRecordCommand(const QString& commandLine);

// The built-in message shown when Kelbrin.ini is missing or has no section.
QString LanguageFileMissingText();

// Main. `commandLine` is the argument text as one string. `platform` stays in
// use after Main returns: the encoder server is reached through it when the
// recorder first needs it (ServerLink::link).
StartupResult Main(ProgramObjects& program, StartupPlatform& platform, StartupWindows& windows,
                   const QString& commandLine);

// The command-line step of Main, on its own for the windows that re-run it.
void HandleCommandLine(RecordingConfiguration& recording, StartupPlatform& platform, StartupWindows& windows,
                       const QString& commandLine);
void AutoOpenLastFile(StartupPlatform& platform, StartupWindows& windows, bool fromRecorder);

// The language for a saved setting: the setting upper-cased when it names a
// whole section (any case), else empty (the dialog must ask).
QString ChooseLanguage(const QString& saved, const QStringList& sections, int systemLangId);

} // namespace kelbrin
