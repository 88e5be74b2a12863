// Shows the split dialog and the export dialog in each language at their
// smallest size on a real X display, fails when a caption does not show
// whole, and saves the pictures to <build>/screenshots/<form>-<language>.png.
// Run under xvfb-run, after the test media is made.
#include "core/app/SharedState.h"
#include "core/app/TextCatalog.h"
#include "core/document/cPozycjaMP3.h"
#include "core/document/cPozycjaPlikow.h"
#include "core/document/cPozycjeMP3.h"
#include "core/document/cPozycjePlikow.h"
#include "gui/export/SplitViewsAdapter.h"
#include "gui/export/frmPozycje.h"
#include "gui/export/frmSave.h"
#include "gui/mainwindow/frmDazudizi.h"
#include "platform/settings/MemorySettingsStore.h"
#include "support/TestEnvironment.h"
#include "support/TextFit.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <cstdio>

using namespace kelbrin;

namespace {

int failures = 0;

void shoot(QWidget* window, const QString& file) {
    for (int i = 0; i < 20; ++i)
        QCoreApplication::processEvents();
    const QStringList cut = test::CutCaptions(window);
    for (const QString& c : cut) {
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
    auto* store = new MemorySettingsStore;
    SetSettingsStore(std::unique_ptr<SettingsStore>(store));
    store->values = {{"WindowState", "0"}, {"AdvView", "0"}, {"DestPath", QDir::homePath()}};
    Catalog().load(test::SourceDir() + "/resources/Kelbrin.ini");

    for (const QString& language : {QStringLiteral("ENGLISH"), QStringLiteral("POLSKI")}) {
        Catalog().setLanguage(language);
        const QString suffix = QStringLiteral("-%1.png").arg(language.toLower());
        ResetSharedState();
        Shared().OpenFiles = std::make_shared<cPozycjePlikow>();
        auto file = std::make_shared<cPozycjaPlikow>();
        file->strFileName = test::MediaFile("cbr_noinfo.mp3");
        file->lngNrPozycji = 1;
        Shared().OpenFiles->Add(file);

        auto* main = new frmDazudizi;
        main->PokazMnie();
        for (const char* label : {"Intro", "Verse", "Chorus"}) {
            auto t = std::make_shared<cPozycjaMP3>();
            t->lngNrPozycji = main->cPozycje->Count() + 1;
            t->strFileNameSource = file->strFileName;
            t->strLabel = QLatin1String(label);
            t->blnAwlaysTop = true;
            main->cPozycje->Add(t);
        }

        SplitViewsParts parts;
        parts.window = main;
        parts.editor = &main->Editor();
        SplitOpenOptions options;
        options.newTrack = true;
        frmPozycje* split = frmPozycje::PokazMnie(MakeSplitHost(parts), std::make_shared<cPozycjaMP3>(),
                                                  options, main);
        if (!split) {
            std::fprintf(stderr, "the split dialog did not open\n");
            ++failures;
        } else {
            shoot(split, outDir + QStringLiteral("/frmPozycje") + suffix);
            delete split;
        }

        frmSave* save = frmSave::PokazMnie(*main);
        if (!save) {
            std::fprintf(stderr, "the export dialog did not open\n");
            ++failures;
        } else {
            save->chkTurbo->setChecked(true); // its frame shows too
            save->resize(1, 1);               // snaps back to the smallest size
            shoot(save, outDir + QStringLiteral("/frmSave") + suffix);
            delete save;
        }
        delete main;
    }
    std::printf("%d failed\n", failures);
    return failures == 0 ? 0 : 1;
}
