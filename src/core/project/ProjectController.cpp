#include "ProjectController.h"

#include "ProjectFileReader.h"
#include "ProjectReset.h"
#include "ProjectSaver.h"
#include "ProjectWindow.h"
#include "RecentProjects.h"
#include "core/app/BusyHold.h"
#include "core/app/BusyRefusal.h"
#include "core/app/MessageService.h"
#include "core/app/LoadedSettings.h"
#include "core/document/EditorSession.h"
#include "core/app/TextCatalog.h"
#include "core/document/cPozycjeMP3.h"
#include "core/document/cPozycjePlikow.h"
#include "platform/text/AnsiCodec.h"

#include <QFileInfo>
#include <exception>

namespace kelbrin {

namespace {

const QString kP1 = QStringLiteral("|1");

// Why a project file is refused; its open project is then left as it was.
void explain(const ProjectReadResult& r, const QString& path) {
    switch (r.status) {
    case ProjectReadStatus::Ok:
        break;
    case ProjectReadStatus::Unreadable:
        ShowText(3301, mb::Information, kP1, path);
        break;
    case ProjectReadStatus::TooLarge:
        ShowText(3348, mb::Information, kP1, path);
        break;
    case ProjectReadStatus::TooOld:
        ShowText(3131, mb::Information, kP1, path);
        break;
    case ProjectReadStatus::UnknownVersion:
        ShowText(3028, mb::Information, kP1, path);
        break;
    case ProjectReadStatus::Damaged:
        ShowText(3340, mb::Information, kP1, path);
        break;
    }
}

} // namespace

ProjectController::ProjectController(ProjectWindow& window)
    : m_window(window), m_loader(window), m_scripts(window) {}

void ProjectController::ResetProject() {
    projectFileMatches(false);
    kelbrin::ResetProject(m_window);
}

bool ProjectController::Zapisz(bool updateRecent, bool& keepName, const QString& projectName) {
    if (!kelbrin::Zapisz(m_window, updateRecent, keepName, projectName))
        return false;
    projectFileMatches(true);
    return true;
}

void ProjectController::projectFileMatches(bool matches) {
    m_saved.clear();
    m_savedPending = matches;
}

bool ProjectController::unchanged() const {
    const std::shared_ptr<cPozycjeMP3>& tracks = m_window.Tracks();
    if (tracks && tracks->blnZmodyfikowana)
        return false;
    for (std::int32_t i = 1; tracks && i <= tracks->Count(); ++i)
        if (tracks->Item(i)->blnZmodyfikowana)
            return false;
    const cPozycjePlikow* files = m_window.Session().OpenFiles.get();
    for (std::int32_t i = 1; files && i <= files->Count(); ++i)
        if (files->Item(i)->blnZmodyfikowana)
            return false;
    return true;
}

void ProjectController::BeforeUndoStep() {
    if (!m_savedPending)
        return;
    m_savedPending = false;
    if (unchanged())
        m_saved = ProjectBytes(m_window).value_or(QByteArray());
}

void ProjectController::ForgetChangesIfSaved() {
    const std::shared_ptr<cPozycjeMP3>& tracks = m_window.Tracks();
    if (m_saved.isEmpty() || !tracks || ProjectBytes(m_window) != m_saved)
        return;
    tracks->blnZmodyfikowana = false;
    for (std::int32_t i = 1; i <= tracks->Count(); ++i)
        tracks->Item(i)->blnZmodyfikowana = false;
}

bool ProjectController::OtworzPlik(const QString& givenPath, bool updateRecent, bool isScript,
                                   bool quiet) {
    if (!ReadyOrSayBusy(m_window.IsReady()))
        return false;
    if (isScript && ShowText(3148, mb::YesNo | mb::Question) != mb::Yes)
        return false;
    const QString path = QFileInfo(givenPath).absoluteFilePath();
    if (!QFileInfo(path).isFile()) {
        ShowText(3059, mb::Information, kP1, path);
        return false;
    }
    // The window is busy for the whole of an opening: no other command can
    // replace the project meanwhile, and the window cannot close under it.
    const BusyHold busy(
        [this] {
            m_window.SetReady(false);
            m_window.SetBusyPointer(true);
        },
        [this] {
            m_window.SetBusyPointer(false);
            m_window.SetInputEnabled(true);
            m_window.SetReady(true);
        });
    if (isScript) {
        projectFileMatches(false);
        return m_scripts.Run(path);
    }
    return openProject(path, updateRecent, quiet);
}

bool ProjectController::openProject(const QString& path, bool updateRecent, bool quiet) {
    const ProjectReadResult read = ReadProjectFile(path, AnsiCodec());
    if (read.status != ProjectReadStatus::Ok) {
        explain(read, path);
        return false;
    }
    projectFileMatches(false);
    kelbrin::ResetProject(m_window);
    bool complete = true;
    try {
        complete = m_loader.Load(path, read.contents, quiet);
        m_window.FinishProjectLoad();
    } catch (const std::exception& e) {
        ShowText(3135, mb::Information, kP1, QString::fromLocal8Bit(e.what()));
        kelbrin::ResetProject(m_window);
        return false;
    }
    m_window.SetProjectFile(path);
    if (updateRecent) {
        PushRecentProject(path);
        m_window.RefreshRecentMenu();
        m_window.SetCheckedRecentItem(2);
    }
    // A load that left tracks, names or source paths out must not be written
    // over the file that still holds them; the user's own save starts the
    // autosave.
    m_window.SetAutosave(complete);
    m_window.SetTreeRootText(ProjectRootName(path));
    m_window.SetCloneEnabled(true);
    projectFileMatches(true);
    return true;
}

bool ProjectController::SaveChangesFirst(bool updateRecent) {
    // First the edits the project does not hold: a Cancel there leaves the
    // project's question unasked.
    if (!m_window.SettleHeaderEdits())
        return false;
    if (!m_window.Session().OpenFiles || m_window.Session().OpenFiles->Count() < 1)
        return true;
    switch (ShowText(3008, mb::YesNoCancel)) {
    case mb::Yes: {
        bool keepName = true;
        return Zapisz(updateRecent, keepName, QString());
    }
    case mb::No:
        return true;
    default:
        return false;
    }
}

void ProjectController::NewProject() {
    if (!ReadyOrSayBusy(m_window.IsReady()))
        return;
    if (!m_window.IsPlayerIdle()) {
        ShowText(3105, mb::Information);
        return;
    }
    if (SaveChangesFirst(true))
        ResetProject();
}

void ProjectController::openChosenFile(int filterText, const QString& pattern, bool isScript) {
    if (!ReadyOrSayBusy(m_window.IsReady()) || !SaveChangesFirst(true))
        return;
    const QString filter = GetText(filterText) + QChar(0) + pattern + QChar(0);
    int filterIndex = 1;
    const QString chosen = m_window.ChooseFile(m_window.Loaded().SourceFolder, filter, filterIndex, false);
    if (!chosen.trimmed().isEmpty())
        OtworzPlik(chosen, true, isScript, false);
}

void ProjectController::OpenProject() {
    openChosenFile(3036, QStringLiteral("*.kbe"), false);
}
void ProjectController::OpenScript() {
    openChosenFile(3132, QStringLiteral("*.kbs"), true);
}

void ProjectController::Save() {
    bool keepName = true;
    Zapisz(true, keepName, QString());
}

void ProjectController::SaveAs() {
    bool keepName = false;
    Zapisz(true, keepName, QString());
}

} // namespace kelbrin
