#include "MainClose.h"

#include "MainMenus.h"
#include "core/app/MessageService.h"
#include "core/app/Numbers.h"
#include "core/app/ProgramObjects.h"
#include "core/app/TextCatalog.h"
#include "core/document/cPozycjaMP3.h"
#include "core/document/cPozycjaPlikow.h"
#include "core/document/cPozycjeMP3.h"
#include "core/document/cPozycjePlikow.h"
#include "core/recording/CaptureBufferFolder.h"
#include "core/recording/RecordProjectName.h"
#include "core/recording/RecorderClient.h"
#include "core/app/TextNumbers.h"
#include "platform/media/Clock.h"
#include "gui/app/Twips.h"
#include "core/app/SettingsKeys.h"
#include "platform/settings/SettingsStore.h"

#include <QAction>
#include <QApplication>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QMainWindow>
#include <QMenu>
#include <QPointer>
#include <QThread>
#include <QTimer>

namespace kelbrin {

namespace {
using texts::kSourcesNotDeleted;
}

namespace {

// No recorder window: the server's client object answers, nothing else waits.
class ServerOnlyRecordingClose final : public RecordingClose {
public:
    explicit ServerOnlyRecordingClose(const ServerLink& server) : m_server(server) {}
    bool recording() const override { return MainClose::ServerRecording(m_server); }
    void stopRecording() override {}
    bool handingOver() const override { return false; }
    void waitProgress(int) override {}
    qint64 handOverTimeoutMs() const override { return MainClose::kHandOverTimeoutMs; }
    void closeTrayIcon() override {}
    QString captureBufferName() const override { return QString(); }

private:
    const ServerLink& m_server;
};

class ApplicationEnd final : public ProgramEnd {
public:
    explicit ApplicationEnd(EditorSession& session) : m_session(session) {}
    QString commandLine() const override {
        QStringList args = QCoreApplication::arguments();
        if (!args.isEmpty())
            args.removeFirst();
        return args.join(QLatin1Char(' '));
    }
    // The window's thread goes on serving events while it waits, never sleeps.
    void yield() override {
        QEventLoop wait;
        QTimer::singleShot(10, &wait, &QEventLoop::quit);
        wait.exec();
    }
    QDate today() const override { return QDate::currentDate(); }
    void endProgram() override {
        m_session.OpenFiles.reset();
        // A close before the event loop runs (a "-rec" that cannot start)
        // ends the program as soon as it does.
        if (QThread::currentThread()->loopLevel() > 0)
            QCoreApplication::quit();
        else
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
    }

private:
    EditorSession& m_session;
};

} // namespace

MainClose::MainClose(QMainWindow& window, ProgramObjects& program, const MainMenus& menus,
                     Clock& clock, std::unique_ptr<CloseSteps> steps)
    : m_window(window), m_program(program), m_menus(menus), m_clock(clock),
      m_steps(std::move(steps)),
      m_recording(std::make_unique<ServerOnlyRecordingClose>(program.server)),
      m_end(std::make_unique<ApplicationEnd>(program.session)) {}

MainClose::~MainClose() = default;

void MainClose::setSteps(std::unique_ptr<CloseSteps> steps) { m_steps = std::move(steps); }
void MainClose::setRecording(std::unique_ptr<RecordingClose> recording) { m_recording = std::move(recording); }
void MainClose::setProgramEnd(std::unique_ptr<ProgramEnd> end) { m_end = std::move(end); }

bool MainClose::ServerRecording(const ServerLink& server) {
    const auto& recorder = server.Recorder;
    return recorder && (recorder->DajStanPliku() > 0 || recorder->DajStan() > 0);
}

bool MainClose::HasUnsavedChanges(const cPozycjeMP3* tracks, const cPozycjePlikow* files) {
    if (tracks && tracks->blnZmodyfikowana)
        return true;
    for (std::int32_t i = 1; tracks && i <= tracks->Count(); ++i)
        if (tracks->Item(i)->blnZmodyfikowana)
            return true;
    for (std::int32_t i = 1; files && i <= files->Count(); ++i)
        if (files->Item(i)->blnZmodyfikowana)
            return true;
    return false;
}

QString MainClose::RecordProjectName(const QDate& date) { return kelbrin::RecordProjectName(date); }

bool MainClose::Form_Unload() {
    m_saved = false;
    m_keepBuffer = false;
    if (m_recording->recording())
        finishRecording();
    if (!m_steps->ready())
        return false;
    // Asked to end more than once, nobody is there to answer and the close
    // goes on: unwritten header edits stay unwritten, as nothing writes into
    // a source unasked, and the project goes into its own file, as the
    // autosave would put it there.
    const bool unanswered = AnsweringEveryBoxWithCancel();
    // Before the project's question: the edits are not in the project, and a
    // Cancel here leaves the project unasked and unsaved as it was.
    if (!m_steps->settleHeaderEdits() && !unanswered)
        return false;

    cPozycjeMP3* tracks = m_steps->tracks();
    if (HasUnsavedChanges(tracks, m_program.session.OpenFiles.get())) {
        if (unanswered)
            WriteNotice(3023, GetText(3023));
        switch (unanswered ? int(mb::Yes) : ShowText(3023, mb::YesNoCancel)) {
        case mb::Yes:
            // A project without a file of its own cannot be saved unasked.
            if (m_steps->saveProject(QString()))
                m_saved = true;
            else if (!unanswered)
                return false; // nothing is lost without the user's choice
            break;
        case mb::No:
            break;
        default:
            return false;
        }
    }

    // Nothing plays on into the window's destruction: a run would end there
    // through the editor and the tree, which go before the player.
    m_steps->stopPreview();
    m_steps->stopPlayer();
    closeOtherWindows();
    const QAction* help = m_menus.item(QStringLiteral("mnuHelp"));
    SaveSetting(settingkeys::kHelp, help && help->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
    m_recording->closeTrayIcon();

    // From here on a failing step is left undone and the close goes on.
    m_program.server.Recorder.reset();
    const QString buffer = m_recording->captureBufferName();
    if (!m_keepBuffer && !buffer.isEmpty() &&
        QFile::exists(m_program.recording.TempRecordFolder + buffer))
        QFile::remove(m_program.recording.TempRecordFolder + buffer);
    savePlacement();
    offerToDeleteSources();
    m_end->endProgram();
    return true;
}

void MainClose::finishRecording() {
    m_recording->stopRecording();
    // The recorder window disables its stop button once the server has
    // finished and the recordings are in the project. A server that does not
    // finish in time keeps its buffer file; the close goes on.
    const qint64 timeout = m_recording->handOverTimeoutMs();
    const qint64 start = m_clock.milliseconds();
    int shown = -1;
    while (m_recording->handingOver()) {
        const qint64 waited = m_clock.milliseconds() - start;
        if (waited >= timeout) {
            m_keepBuffer = true;
            // Renamed, so that neither the next start nor the next recording
            // removes the sound the server has not encoded; a server still
            // reading it keeps its open file.
            const QString kept = KeepBufferFile(m_program.recording.TempRecordFolder,
                                                m_recording->captureBufferName());
            ShowMessage(GetText(texts::kServerTimedOut, QStringLiteral("|1"), kept), mb::Exclamation,
                        QString(), texts::kServerTimedOut);
            break;
        }
        const int percent = static_cast<int>(std::min<qint64>(99, waited * 100 / std::max<qint64>(1, timeout)));
        if (percent != shown)
            m_recording->waitProgress(percent);
        shown = percent;
        m_end->yield();
    }
    if (shown >= 0)
        m_recording->waitProgress(100);
    m_steps->saveProject(UniqueRecordProjectName(m_program.settings.DestFolder, m_end->today()));
    m_saved = true;
}

void MainClose::closeOtherWindows() {
    // Closing one window may delete another (the recorder takes its tray
    // window with it): a window gone meanwhile is passed over.
    QList<QPointer<QWidget>> windows;
    for (QWidget* w : QApplication::topLevelWidgets())
        windows.append(w);
    for (const QPointer<QWidget>& w : windows)
        if (w && w != &m_window && w->isVisible() && !qobject_cast<QMenu*>(w))
            w->close();
}

void MainClose::savePlacement() {
    const Qt::WindowStates state = m_window.windowState();
    if (state & Qt::WindowMinimized)
        return; // the placement of the last normal close stays
    const bool maximized = state & Qt::WindowMaximized;
    // A maximized window keeps the size it returns to.
    const QRect r = maximized ? m_window.normalGeometry() : QRect(m_window.pos(), m_window.size());
    SaveSetting(settingkeys::kWindowState, maximized ? QStringLiteral("2") : QStringLiteral("0"));
    SaveSetting(settingkeys::kWidth, QString::number(PxToTwips(r.width())));
    SaveSetting(settingkeys::kHeight, QString::number(PxToTwips(r.height())));
    SaveSetting(settingkeys::kLeft, QString::number(PxToTwips(r.x())));
    SaveSetting(settingkeys::kTop, QString::number(PxToTwips(r.y())));
}

void MainClose::offerToDeleteSources() {
    const auto& files = m_program.session.OpenFiles;
    const QAction* advanced = m_menus.item(QStringLiteral("mnulvw"));
    if (m_end->commandLine().trimmed().isEmpty() ||
        Val(GetSetting(settingkeys::kAskRemove, QStringLiteral("0"))) <= 0 || !files ||
        files->Count() < 1 || m_saved || !advanced || !advanced->isChecked())
        return;
    cPozycjeMP3* tracks = m_steps->tracks();
    bool marked = false;
    for (std::int32_t i = 1; tracks && i <= tracks->Count() && !marked; ++i)
        marked = tracks->Item(i)->blnAwlaysTop;
    if (!marked)
        return;
    if (ShowText(3241, mb::YesNo | mb::Question | mb::DefaultButton2) != mb::Yes)
        return;
    // Both players were stopped before (see MainClose::Form_Unload): no source is held.
    // A file that is already gone is no failure; one that stays is named.
    QStringList kept;
    for (std::int32_t i = 1; i <= files->Count(); ++i) {
        const QString path = files->Item(i)->strFileName;
        if (!QFile::remove(path) && QFileInfo::exists(path))
            kept.append(path);
    }
    if (!kept.isEmpty())
        ShowText(kSourcesNotDeleted, mb::Exclamation, QStringLiteral("|1"), kept.join(QChar(13)));
}

} // namespace kelbrin
