// Pictures of the server window in each language at its minimum size, with
// every slider shown and a period's values in place. Run under xvfb-run; they
// land in <build>/screenshots.
#include "core/app/TextCatalog.h"
#include "encoder-server/speech/frmStream.h"
#include "platform/settings/SettingsStore.h"
#include "support/TestEnvironment.h"
#include "support/TextFit.h"

#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <cstdio>

using namespace kelbrin;

int main(int argc, char** argv) {
    test::SetUpPrivateEnvironment();
    if (!qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    const QString outDir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("screenshots");
    QDir().mkpath(outDir);
    Catalog().load(test::SourceDir() + "/resources/Kelbrin.ini");
    int failures = 0;
    // The full window (diagnostics on) under the form's name, and the compact
    // one every recording shows by default.
    for (const QString& mode : {QString(), QStringLiteral("-compact")}) {
        SaveSetting(QStringLiteral("RecHeight"), mode.isEmpty() ? QStringLiteral("1") : QStringLiteral("0"));
        for (const QString& language : {QStringLiteral("ENGLISH"), QStringLiteral("POLSKI")}) {
            Catalog().setLanguage(language);
            frmStream window;
            window.showParameters(SpeechParameters{});
            window.showPeriod(SpeechPeriod{7, 4200, 14700, 14700}, SpeechParameters{});
            window.showSegmentOpen(true);
            window.show();
            window.resize(window.minimumSizeHint());
            for (int i = 0; i < 20; ++i)
                QCoreApplication::processEvents();
            for (const QString& cut : test::CutCaptions(&window)) {
                std::fprintf(stderr, "%s: %s\n", qPrintable(language), qPrintable(cut));
                ++failures;
            }
            const QString file = outDir + QStringLiteral("/frmStream%1-%2.png").arg(mode, language.toLower());
            if (!window.grab().save(file)) {
                std::fprintf(stderr, "cannot save %s\n", qPrintable(file));
                ++failures;
            } else {
                std::printf("saved %s\n", qPrintable(file));
            }
        }
    }
    std::printf("%d passed, %d failed\n", failures == 0 ? 1 : 0, failures == 0 ? 0 : 1);
    return failures == 0 ? 0 : 1;
}
