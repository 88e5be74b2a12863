#include "EditorStartup.h"
#include "LeaveAtOnce.h"
#include "SignalClose.h"

#include "platform/shell/DisplayPlatform.h"

#include "gui/app/QtMessageService.h"
#include "core/app/MessageService.h"
#include "core/app/ProgramObjects.h"

#include "gui/app/KelbrinApplication.h"
#include "gui/mainwindow/frmDazudizi.h"
#include "gui/app/StyleIconsOnDemand.h"

int main(int argc, char** argv) {
    const bool headless = kelbrin::ChooseOffscreenWithoutDisplay();
    // The program's state outlives every window the application still holds.
    kelbrin::ProgramObjectSet program;
    kelbrin::KelbrinApplication app(argc, argv);
    kelbrin::DeferStyleIcons();
    QApplication::setOrganizationName(QStringLiteral("Pelorin"));
    QApplication::setApplicationName(QStringLiteral("Kelbrin"));
    QApplication::setApplicationVersion(QStringLiteral(KELBRIN_VERSION));
    if (headless)
        kelbrin::SetMessageService(kelbrin::MakeNoticeMessageService());
    else
        kelbrin::SetMessageService(std::make_unique<kelbrin::QtMessageService>());

    // The argument text as one string, the way the command line is read.
    QStringList args = QApplication::arguments();
    args.removeFirst();
    const QString commandLine = args.join(QLatin1Char(' '));

    kelbrin::EditorStartup startup(program.objects, headless);
    // Asked to end from outside, the editor closes as its window's close box
    // closes it. The request is answered once the event loop runs.
    kelbrin::SignalClose signalClose([&startup]() -> QWidget* { return startup.mainWindow(); },
                                     [&startup] { return startup.mainWindowReady(); },
                                     [&startup] { startup.endUnseenWork(); });
    switch (kelbrin::Main(program.objects, startup, startup, commandLine)) {
    case kelbrin::StartupResult::SecondInstance:
        return kelbrin::exitstatus::kDone;
    case kelbrin::StartupResult::RecordingRefused:
    case kelbrin::StartupResult::ScriptRefused:
    case kelbrin::StartupResult::LanguageFileMissing:
        return kelbrin::RequestedExitStatus() != kelbrin::exitstatus::kDone ? kelbrin::RequestedExitStatus()
                                                                            : kelbrin::exitstatus::kFailed;
    case kelbrin::StartupResult::Started:
        break;
    }
    const int loop = app.exec();
    // Whoever ended the event loop, an ending that failed keeps its status.
    const int status = loop != 0 ? loop : kelbrin::RequestedExitStatus();
    // Nobody saw the run: what is left to take down shows nowhere either.
    if (startup.unseen())
        kelbrin::LeaveAtOnce(status);
    return status;
}
