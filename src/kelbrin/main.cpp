#include "EditorStartup.h"

#include "gui/app/QtMessageService.h"
#include "core/app/MessageService.h"

#include "gui/app/KelbrinApplication.h"

int main(int argc, char** argv) {
    kelbrin::KelbrinApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Pelorin"));
    QApplication::setApplicationName(QStringLiteral("Kelbrin"));
    QApplication::setApplicationVersion(QStringLiteral(KELBRIN_VERSION));
    kelbrin::SetMessageService(std::make_unique<kelbrin::QtMessageService>());

    // The argument text as one string, the way the command line is read.
    QStringList args = QApplication::arguments();
    args.removeFirst();
    const QString commandLine = args.join(QLatin1Char(' '));

    kelbrin::EditorStartup startup;
    switch (kelbrin::Main(startup, startup, commandLine)) {
    case kelbrin::StartupResult::SecondInstance:
        return 0;
    case kelbrin::StartupResult::LanguageFileMissing:
        return 1;
    case kelbrin::StartupResult::Started:
        break;
    }
    return app.exec();
}
