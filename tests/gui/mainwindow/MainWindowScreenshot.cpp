// Draws the main window in each language on a real X display and saves a
// picture of it, failing when a caption is missing or shows a bare number.
// Run under xvfb-run; the pictures land in <build>/screenshots.
#include "core/app/SharedState.h"
#include "core/app/TextCatalog.h"
#include "core/document/cPozycjaMP3.h"
#include "core/document/cPozycjeMP3.h"
#include "gui/editor/EditorController.h"
#include "gui/mainwindow/TrackPanelFrame.h"
#include "gui/mainwindow/ViewMenus.h"
#include "gui/mainwindow/frmDazudizi.h"
#include "platform/settings/MemorySettingsStore.h"
#include "support/TestEnvironment.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QMenu>
#include <QMenuBar>
#include <QPixmap>
#include <QRegularExpression>
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

    auto* store = new MemorySettingsStore;
    SetSettingsStore(std::unique_ptr<SettingsStore>(store));
    store->values = {{"WindowState", "0"}, {"Width", "15000"}, {"Height", "9000"}, {"AdvView", "0"}};
    Catalog().load(test::SourceDir() + "/resources/Kelbrin.ini");

    int failures = 0;
    for (const QString language : {QStringLiteral("ENGLISH"), QStringLiteral("POLSKI")}) {
        Catalog().setLanguage(language);
        auto* window = new frmDazudizi;
        window->PokazMnie();
        window->fraAudio->show();
        window->ShowHelpText(GetText(5023));
        window->Form_Resize();
        for (int i = 0; i < 20; ++i)
            QCoreApplication::processEvents();

        static const QRegularExpression bare(QStringLiteral("^[0-9;]*$"));
        for (QAction* top : window->menuBar()->actions()) {
            QList<QAction*> all{top};
            if (top->menu())
                all += top->menu()->actions();
            for (QAction* a : all) {
                if (a->isSeparator() || !a->isVisible())
                    continue;
                if (bare.match(a->text()).hasMatch()) {
                    std::fprintf(stderr, "%s: menu item %s has no caption\n", qPrintable(language),
                                 qPrintable(a->objectName()));
                    ++failures;
                }
            }
        }
        const QString file = outDir + QStringLiteral("/mainwindow-%1.png").arg(language.toLower());
        if (!window->grab().save(file)) {
            std::fprintf(stderr, "cannot save %s\n", qPrintable(file));
            ++failures;
        } else {
            std::printf("saved %s\n", qPrintable(file));
        }

        // The same window with the panel showing a track.
        auto track = std::make_shared<cPozycjaMP3>();
        track->lngNrPozycji = 1;
        track->strLabel = QStringLiteral("Evening news");
        track->strFileNameSource = QStringLiteral("/music/evening-news.mp3");
        track->lngKoniec_M = 3;
        track->lngKoniec_S = 25;
        track->lngKoniec_SS = 500;
        track->lngVolume = -600;
        track->lngBalance = 1500;
        track->strTitle = QStringLiteral("Evening news");
        track->strYear = QStringLiteral("2005");
        track->lngBPM = 120;
        window->cPozycje->Add(track);
        window->Editor().openProperties(track);
        for (int i = 0; i < 20; ++i)
            QCoreApplication::processEvents();
        const QString panelFile = outDir + QStringLiteral("/frmDazudizi-panel-%1.png").arg(language.toLower());
        if (!window->grab().save(panelFile)) {
            std::fprintf(stderr, "cannot save %s\n", qPrintable(panelFile));
            ++failures;
        } else {
            std::printf("saved %s\n", qPrintable(panelFile));
        }

        // The advanced view: the list, the tag frame and the clone button.
        window->Views().mnulvw_Click();
        for (int i = 0; i < 20; ++i)
            QCoreApplication::processEvents();
        const QString advancedFile =
            outDir + QStringLiteral("/frmDazudizi-advanced-%1.png").arg(language.toLower());
        if (!window->grab().save(advancedFile)) {
            std::fprintf(stderr, "cannot save %s\n", qPrintable(advancedFile));
            ++failures;
        } else {
            std::printf("saved %s\n", qPrintable(advancedFile));
        }
        window->Views().mnulvw_Click();
        window->close();
        delete window;
    }
    std::printf("%d passed, %d failed\n", failures == 0 ? 1 : 0, failures == 0 ? 0 : 1);
    return failures == 0 ? 0 : 1;
}
