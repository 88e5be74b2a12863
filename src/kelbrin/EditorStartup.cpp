#include "EditorStartup.h"

#include "platform/shell/DesktopOpener.h"

#include "core/app/AppSettings.h"
#include "core/app/PathProcedures.h"
#include "core/app/ProgramObjects.h"
#include "core/app/SoundCards.h"
#include "core/app/MessageService.h"
#include "core/app/TextCatalog.h"
#include "core/recording/RecorderClient.h"
#include "core/app/TextNumbers.h"
#include "gui/recording/frmRecord.h"
#include "gui/app/BusyPointer.h"
#include "gui/app/frmLang.h"
#include "gui/editor/TreeNavigator.h"
#include "gui/mainwindow/FileMenu.h"
#include "gui/mainwindow/RecentProjectsMenu.h"
#include "gui/mainwindow/UnseenProjectWindow.h"
#include "gui/mainwindow/frmDazudizi.h"
#include "platform/settings/SettingsStore.h"
#include "platform/shell/ComponentActivation.h"
#include "platform/shell/SystemFolders.h"
#include "platform/shell/SystemInfo.h"
#include "platform/shell/XdgDesktopIntegration.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTimer>
#include <QProcess>

namespace kelbrin {

namespace {
// How long an unattended run that handed a playlist over waits at most to
// hear that no player took it.
constexpr int kPlayerHeardWithinMs = 1000;
} // namespace

EditorStartup::EditorStartup(ProgramObjects& program, bool headless)
    : m_program(program), m_instance(QStringLiteral("kelbrin")), m_headless(headless) {}

EditorStartup::~EditorStartup() = default;

bool EditorStartup::unattended() { return m_headless || StartupPlatform::unattended(); }

QList<int> EditorStartup::pendingNotices() {
    QList<int> notices;
    if (m_headless)
        notices << startuptext::kNoDisplay;
    if (m_instance.unavailable())
        notices << startuptext::kNoInstanceLock;
    return notices;
}

QString EditorStartup::ReadOnlyFilesFolder() {
    const QString beside = WithTrailingSlash(QCoreApplication::applicationDirPath());
    if (QFileInfo::exists(beside + QStringLiteral("Kelbrin.ini")))
        return beside;
    const QString shared =
        WithTrailingSlash(QDir::cleanPath(beside + QStringLiteral("../share/kelbrin")));
    if (QFileInfo::exists(shared + QStringLiteral("Kelbrin.ini")))
        return shared;
    return beside;
}

bool EditorStartup::acquireSingleInstance() { return m_instance.acquire(); }
QString EditorStartup::programFolder() { return ReadOnlyFilesFolder(); }
QString EditorStartup::binaryFolder() { return WithTrailingSlash(QCoreApplication::applicationDirPath()); }
int EditorStartup::systemDefaultLangId() { return SystemInfo::DefaultLangId(); }
bool EditorStartup::fileExists(const QString& path) { return QFileInfo(path).isFile(); }

void EditorStartup::setBusyCursor(bool busy) { ShowBusyPointer(busy); }

void EditorStartup::processEventsOnce() { QCoreApplication::processEvents(); }

std::shared_ptr<RecorderClient> EditorStartup::createRecorder() {
    // A killed editor's server finishes its turn of encoding and its files
    // first: seconds at most. One that does not leave by then is used as it is.
    constexpr int kEarlierServerMs = 10000;
    DBusComponentActivator::awaitEarlierServer(kEarlierServerMs);
    DBusComponentActivator activator;
    auto object = activator.create(RecorderClassName());
    if (!object)
        return nullptr;
    return std::make_shared<RecorderClient>(std::move(object));
}

void EditorStartup::runToEnd(const QString& program, const QStringList& arguments, int timeoutMs) {
    QProcess process;
    process.start(program, arguments);
    if (process.waitForStarted(timeoutMs) && !process.waitForFinished(timeoutMs))
        process.kill();
}

void EditorStartup::showLanguageDialog() {
    frmLang dialog(m_program.settings);
    dialog.exec();
}

void EditorStartup::loadSettings() {
    LoadSettingsEnvironment env = DefaultLoadSettingsEnvironment(HostFolders());
    XdgDesktopIntegration desktop;
    env.desktop = &desktop;
    LoadSettings(m_program.settings, m_program.recording, env);
    // Seeded values reach the file at once, not only when the program ends.
    Settings().sync();
}

void EditorStartup::enumerateSoundCards() {
    // A stored list only: the devices are asked when a window first shows them.
    LoadStoredSoundCards(m_program.outputs);
}

void EditorStartup::showMainWindow(bool onScreen) {
    if (!onScreen) {
        m_unseen = std::make_unique<UnseenProjectWindow>(m_program);
        return;
    }
    m_main = new frmDazudizi(m_program);
    m_main->PokazMnie();
}

bool EditorStartup::openFile(const QString& path, int mode, bool isScript, bool fromRecorder) {
    const bool opened = m_unseen ? m_unseen->OtworzPlik(path, mode, isScript, fromRecorder)
                                 : m_main && m_main->OtworzPlik(path, mode, isScript, fromRecorder);
    // A script that a scheduler runs has nobody to close the window after it:
    // the program ends once the script has run, and its status says whether
    // everything was written. A player the playlist was handed to and that
    // failed at once is still said; one still starting is not waited for long.
    if (isScript && unattended())
        Desktop().whenSettled(kPlayerHeardWithinMs, [this] { endProgram(); });
    return opened;
}

void EditorStartup::endProgram() { QTimer::singleShot(0, qApp, &QCoreApplication::quit); }

void EditorStartup::endUnseenWork() {
    if (m_unseen)
        m_unseen->RequestEnd();
}

bool EditorStartup::mainWindowReady() const { return !m_main || m_main->CanChangeProject(); }

void EditorStartup::setTreeRootText(const QString& text) {
    if (m_main)
        m_main->Tree().SetRootText(text);
}

void EditorStartup::checkRecentProjectItem(int index) {
    if (m_main)
        m_main->Files().recent().SetCheckedItem(index);
}

void EditorStartup::clickSelectedTreeNode() {
    if (m_main)
        m_main->Tree().ClickSelectedNode();
}

void EditorStartup::showRecorder(bool autoStart) {
    // Nobody answers the boxes of a run started by a scheduler.
    const bool nobodyWatches = unattended();
    if (autoStart && !m_program.server.link()) {
        // A scheduled recording must not be lost without a word.
        ShowText(texts::kNoServer, mb::Critical);
        if (nobodyWatches) {
            RequestExitStatus(exitstatus::kNoServer);
            endProgram();
        }
        return;
    }
    frmRecord::PokazMnie(m_program, autoStart, nobodyWatches || m_program.recording.RecTimeLimit > 0);
}

} // namespace kelbrin
