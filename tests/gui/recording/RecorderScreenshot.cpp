// Pictures of the recorder window in each language at its minimum size,
// failing when a caption does not fit. Run under xvfb-run; they land in
// <build>/screenshots.
#include "core/app/TextCatalog.h"
#include "gui/recording/frmRecord.h"
#include "support/TestEnvironment.h"
#include "support/TextFit.h"

#include <QApplication>
#include <QDir>
#include <QPushButton>
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
    for (const QString& language : {QStringLiteral("ENGLISH"), QStringLiteral("POLSKI")}) {
        Catalog().setLanguage(language);
        frmRecord* window = frmRecord::PokazMnie(false);
        window->LoadLang();
        window->resize(window->minimumSize());
        for (int i = 0; i < 20; ++i)
            QCoreApplication::processEvents();
        for (const QString& cut : test::CutCaptions(window)) {
            std::fprintf(stderr, "%s: %s\n", qPrintable(language), qPrintable(cut));
            ++failures;
        }
        for (QPushButton* b : {window->cmdRecord, window->cmdPauza, window->cmdStopRec})
            if (b->icon().isNull() || b->toolTip().isEmpty()) {
                std::fprintf(stderr, "%s: %s has no icon or tooltip\n", qPrintable(language),
                             qPrintable(b->objectName()));
                ++failures;
            }
        const QString file = outDir + QStringLiteral("/frmRecord-%1.png").arg(language.toLower());
        if (!window->grab().save(file)) {
            std::fprintf(stderr, "cannot save %s\n", qPrintable(file));
            ++failures;
        } else {
            std::printf("saved %s\n", qPrintable(file));
        }
        window->close();
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    std::printf("%d passed, %d failed\n", failures == 0 ? 1 : 0, failures == 0 ? 0 : 1);
    return failures == 0 ? 0 : 1;
}
