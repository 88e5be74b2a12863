// Shows the about box in each language at its smallest size on a real X
// display, fails when a text does not show whole, and saves the pictures to
// <build>/screenshots/frmInfo-<language>.png. Run under xvfb-run.
#include "core/app/TextCatalog.h"
#include "gui/mainwindow/frmInfo.h"
#include "platform/settings/MemorySettingsStore.h"
#include "support/TestEnvironment.h"
#include "support/TextFit.h"

#include <QApplication>
#include <QDir>
#include <cstdio>

using namespace kelbrin;

int main(int argc, char** argv) {
    test::SetUpPrivateEnvironment();
    if (!qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    QApplication::setApplicationVersion("0.1.0");
    const QString outDir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("screenshots");
    QDir().mkpath(outDir);
    SetSettingsStore(std::make_unique<MemorySettingsStore>());
    Catalog().load(test::SourceDir() + "/resources/Kelbrin.ini");

    int failures = 0;
    for (const QString& language : {QStringLiteral("ENGLISH"), QStringLiteral("POLSKI")}) {
        Catalog().setLanguage(language);
        frmInfo* box = frmInfo::PokazMnie();
        box->resize(box->minimumSizeHint().expandedTo(box->minimumSize()));
        for (int i = 0; i < 20; ++i)
            QCoreApplication::processEvents();
        const QString file = outDir + QStringLiteral("/frmInfo-%1.png").arg(language.toLower());
        for (const QString& c : test::CutCaptions(box)) {
            std::fprintf(stderr, "%s: %s\n", qPrintable(file), qPrintable(c));
            ++failures;
        }
        if (box->grab().save(file)) {
            std::printf("saved %s (%dx%d)\n", qPrintable(file), box->width(), box->height());
        } else {
            std::fprintf(stderr, "cannot save %s\n", qPrintable(file));
            ++failures;
        }
        delete box;
    }
    std::printf("%d failed\n", failures);
    return failures == 0 ? 0 : 1;
}
