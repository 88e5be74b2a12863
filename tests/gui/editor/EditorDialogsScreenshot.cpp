// Shows the legend and the label dialog in each language at their smallest
// size on a real X display, fails when a caption does not show whole, and
// saves the pictures to <build>/screenshots/<form>-<language>.png.
// Run under xvfb-run.
#include "core/app/TextCatalog.h"
#include "core/document/cPozycjaMP3.h"
#include "core/document/cPozycjeMP3.h"
#include "gui/editor/frmLabel.h"
#include "gui/editor/frmLegend.h"
#include "platform/settings/MemorySettingsStore.h"
#include "support/TestEnvironment.h"
#include "support/TextFit.h"

#include <QApplication>
#include <QDir>
#include <cstdio>

using namespace kelbrin;

namespace {

int failures = 0;

void shoot(QWidget* window, const QString& file) {
    window->resize(window->minimumSizeHint().expandedTo(window->minimumSize()));
    for (int i = 0; i < 20; ++i)
        QCoreApplication::processEvents();
    for (const QString& c : test::CutCaptions(window)) {
        std::fprintf(stderr, "%s: %s\n", qPrintable(file), qPrintable(c));
        ++failures;
    }
    if (window->grab().save(file)) {
        std::printf("saved %s (%dx%d)\n", qPrintable(file), window->width(), window->height());
    } else {
        std::fprintf(stderr, "cannot save %s\n", qPrintable(file));
        ++failures;
    }
}

} // namespace

int main(int argc, char** argv) {
    test::SetUpPrivateEnvironment();
    if (!qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    const QString outDir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("screenshots");
    QDir().mkpath(outDir);
    SetSettingsStore(std::make_unique<MemorySettingsStore>());
    Catalog().load(test::SourceDir() + "/resources/Kelbrin.ini");

    for (const QString& language : {QStringLiteral("ENGLISH"), QStringLiteral("POLSKI")}) {
        Catalog().setLanguage(language);
        const QString suffix = QStringLiteral("-%1.png").arg(language.toLower());

        frmLegend* legend = frmLegend::PokazMnie();
        shoot(legend, outDir + QStringLiteral("/frmLegend") + suffix);
        delete legend;

        cPozycjeMP3 tracks;
        auto track = std::make_shared<cPozycjaMP3>();
        track->lngNrPozycji = 1;
        track->strLabel = GetText(3097);
        tracks.Add(track);
        frmLabel* label = frmLabel::PokazMnie(1, [&tracks] { return &tracks; }, nullptr);
        shoot(label, outDir + QStringLiteral("/frmLabel") + suffix);
        delete label; // deleting stores nothing

    }
    std::printf("%d failed\n", failures);
    return failures == 0 ? 0 : 1;
}
