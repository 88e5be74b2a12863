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
#include "core/recording/RecordProjectName.h"
#include "core/recording/RecorderClient.h"
#include "core/app/TextNumbers.h"
#include "platform/media/Clock.h"
#include "gui/app/Twips.h"
#include "platform/settings/SettingsStore.h"

#include <QAction>
#include <QApplication>
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

MainClose::MainClose(QMainWindow& window, const MainMenus& menus, Seams seams)
    : m_window(window), m_menus(menus), m_seams(std::move(seams)) {
    if (!m_seams.recording)
        m_seams.recording = [] {
            const auto& recorder = Program().server.Recorder;
            return recorder && (recorder->DajStanPliku() > 0 || recorder->DajStan() > 0);
        };
    if (!m_seams.yield)
        m_seams.yield = [] { QCoreApplication::processEvents(QEventLoop::AllEvents, 50); };
    if (!m_seams.today)
        m_seams.today = [] { return QDate::currentDate(); };
    if (!m_seams.commandLine)
        m_seams.commandLine = [] {
            QStringList args = QCoreApplication::arguments();
            if (!args.isEmpty())
                args.removeFirst();
            return args.join(QLatin1Char(' '));
        };
    if (!m_seams.endProgram)
        m_seams.endProgram = [] {
            Program().session.OpenFiles.reset();
            // A close before the event loop runs (a "-rec" that cannot start)
            // ends the program as soon as it does.
            if (QThread::currentThread()->loopLevel() > 0)
                QCoreApplication::quit();
            else
                QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        };
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
    if (m_seams.recording())
        finishRecording();
    if (m_seams.ready && !m_seams.ready())
        return false;

    cPozycjeMP3* tracks = m_seams.tracks ? m_seams.tracks() : nullptr;
    if (HasUnsavedChanges(tracks, Program().session.OpenFiles.get())) {
        switch (ShowText(3023, mb::YesNoCancel)) {
        case mb::Yes:
            if (!m_seams.save || !m_seams.save(true, true, QString()))
                return false; // nothing is lost without the user's choice
            m_saved = true;
            break;
        case mb::No:
            break;
        default:
            return false;
        }
    }

    closeOtherWindows();
    const QAction* help = m_menus.item(QStringLiteral("mnuHelp"));
    SaveSetting(QStringLiteral("Help"), help && help->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
    if (m_seams.closeTrayIcon)
        m_seams.closeTrayIcon();

    // From here on a failing step is left undone and the close goes on.
    Program().server.Recorder.reset();
    const QString buffer = m_seams.captureBufferName ? m_seams.captureBufferName() : QString();
    if (!m_keepBuffer && !buffer.isEmpty() && QFile::exists(Program().recording.TempRecordFolder + buffer))
        QFile::remove(Program().recording.TempRecordFolder + buffer);
    savePlacement();
    offerToDeleteSources();
    m_seams.endProgram();
    return true;
}

void MainClose::finishRecording() {
    if (m_seams.stopRecording)
        m_seams.stopRecording();
    // The recorder window disables its stop button once the server has
    // finished and the recordings are in the project. A server that does not
    // finish in time keeps its buffer file; the close goes on.
    const qint64 timeout = m_seams.handOverTimeoutMs ? m_seams.handOverTimeoutMs() : kHandOverTimeoutMs;
    const qint64 start = ProgramClock().milliseconds();
    int shown = -1;
    while (m_seams.handingOver && m_seams.handingOver()) {
        const qint64 waited = ProgramClock().milliseconds() - start;
        if (waited >= timeout) {
            m_keepBuffer = true;
            ShowMessage(GetText(texts::kServerTimedOut, QStringLiteral("|1"),
                                Program().recording.TempRecordFolder +
                                    (m_seams.captureBufferName ? m_seams.captureBufferName() : QString())),
                        mb::Exclamation, QString(), texts::kServerTimedOut);
            break;
        }
        const int percent = static_cast<int>(std::min<qint64>(99, waited * 100 / std::max<qint64>(1, timeout)));
        if (percent != shown && m_seams.waitProgress)
            m_seams.waitProgress(percent);
        shown = percent;
        m_seams.yield();
        QThread::msleep(10);
    }
    if (m_seams.waitProgress && shown >= 0)
        m_seams.waitProgress(100);
    if (m_seams.save)
        m_seams.save(true, true, UniqueRecordProjectName(Program().settings.DestFolder, m_seams.today()));
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
    SaveSetting(QStringLiteral("WindowState"), maximized ? QStringLiteral("2") : QStringLiteral("0"));
    SaveSetting(QStringLiteral("Width"), QString::number(PxToTwips(r.width())));
    SaveSetting(QStringLiteral("Height"), QString::number(PxToTwips(r.height())));
    SaveSetting(QStringLiteral("Left"), QString::number(PxToTwips(r.x())));
    SaveSetting(QStringLiteral("Top"), QString::number(PxToTwips(r.y())));
}

void MainClose::offerToDeleteSources() {
    const auto& files = Program().session.OpenFiles;
    const QAction* advanced = m_menus.item(QStringLiteral("mnulvw"));
    if (m_seams.commandLine().trimmed().isEmpty() ||
        Val(GetSetting(QStringLiteral("AskRemove"), QStringLiteral("0"))) <= 0 || !files ||
        files->Count() < 1 || m_saved || !advanced || !advanced->isChecked())
        return;
    cPozycjeMP3* tracks = m_seams.tracks ? m_seams.tracks() : nullptr;
    bool marked = false;
    for (std::int32_t i = 1; tracks && i <= tracks->Count() && !marked; ++i)
        marked = tracks->Item(i)->blnAwlaysTop;
    if (!marked)
        return;
    if (ShowText(3241, mb::YesNo | mb::Question | mb::DefaultButton2) != mb::Yes)
        return;
    if (m_seams.stopPreview)
        m_seams.stopPreview();
    if (m_seams.stopPlayer)
        m_seams.stopPlayer();
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
