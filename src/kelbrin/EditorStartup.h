#pragma once
// Start-up's view of the real system and the real windows.

#include "core/app/Startup.h"
#include "platform/shell/SingleInstance.h"

#include <QPointer>
#include <memory>

namespace kelbrin {

class frmDazudizi;
class UnseenProjectWindow;
struct ProgramObjects;

class EditorStartup final : public StartupPlatform, public StartupWindows {
public:
    // `headless`: no display could be reached; the program runs without
    // windows, and nobody answers its boxes. `program` fills with the loaded
    // settings and is handed to the main window.
    explicit EditorStartup(ProgramObjects& program, bool headless = false);
    ~EditorStartup() override;

    // The folder of Kelbrin.ini and the other read-only files: beside the
    // program, else <prefix>/share/kelbrin.
    static QString ReadOnlyFilesFolder();

    bool acquireSingleInstance() override;
    QString programFolder() override;
    QString binaryFolder() override;
    int systemDefaultLangId() override;
    bool fileExists(const QString& path) override;
    void setBusyCursor(bool busy) override;
    void processEventsOnce() override;
    std::shared_ptr<RecorderClient> createRecorder() override;
    bool unattended() override;
    QList<int> pendingNotices() override;
    void runToEnd(const QString& program, const QStringList& arguments, int timeoutMs) override;

    void showLanguageDialog() override;
    void loadSettings() override;
    void enumerateSoundCards() override;
    void showMainWindow(bool onScreen) override;
    bool openFile(const QString& path, int mode, bool isScript, bool fromRecorder) override;
    void setTreeRootText(const QString& text) override;
    void checkRecentProjectItem(int index) override;
    void clickSelectedTreeNode() override;
    void showRecorder(bool autoStart) override;
    void endProgram() override;

    // The main window once shown; null before, or when it could not be made.
    frmDazudizi* mainWindow() const { return m_main.data(); }
    // No long operation holds the main window.
    bool mainWindowReady() const;
    // Nobody watches the run, which ends by itself: it has no main window.
    bool unseen() const { return m_unseen != nullptr; }
    // Asked to end: the work of a run nobody watches ends soon.
    void endUnseenWork();

private:
    ProgramObjects& m_program;
    SingleInstance m_instance;
    bool m_headless = false;
    QPointer<frmDazudizi> m_main;
    std::unique_ptr<UnseenProjectWindow> m_unseen;
};

} // namespace kelbrin
