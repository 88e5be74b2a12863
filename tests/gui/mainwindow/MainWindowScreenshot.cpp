// Draws the main window in each language on a real X display and saves a
// picture of it, failing when a caption is missing or shows a bare number.
// Run under xvfb-run; the pictures land in <build>/screenshots.
#include "core/app/ProgramObjects.h"
#include "support/ProgramState.h"
#include "core/app/TextCatalog.h"
#include "core/document/cPozycjaMP3.h"
#include "core/document/cPozycjaPlikow.h"
#include "core/document/cPozycjePlikow.h"
#include "core/document/cPozycjeMP3.h"
#include "gui/editor/EditorController.h"
#include "gui/app/Twips.h"
#include "gui/mainwindow/MainLayout.h"
#include "gui/mainwindow/TrackPanelFrame.h"
#include "gui/mainwindow/ViewMenus.h"
#include "gui/mainwindow/frmDazudizi.h"
#include "platform/settings/MemorySettingsStore.h"
#include "support/ScreenshotRun.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>

using namespace kelbrin;
using test::ScreenshotRun;

int main(int argc, char** argv) {
    ScreenshotRun run(argc, argv);
    QApplication::setApplicationVersion("0.1.0");
    run.store()->values = {{"WindowState", "0"}, {"Width", "15000"}, {"Height", "9000"}, {"AdvView", "0"}};

    for (const QString& language : ScreenshotRun::Languages()) {
        run.setLanguage(language);
        auto* window = new frmDazudizi(Program());
        window->PokazMnie();
        window->fraAudio()->show();
        window->ShowHelpText(GetText(5023));
        window->Form_Resize();
        ScreenshotRun::Settle(window);

        static const QRegularExpression bare(QStringLiteral("^[0-9;]*$"));
        for (QAction* top : window->menuBar()->actions()) {
            QList<QAction*> all{top};
            if (top->menu())
                all += top->menu()->actions();
            for (QAction* a : all) {
                if (a->isSeparator() || !a->isVisible())
                    continue;
                if (bare.match(a->text()).hasMatch())
                    run.fail(language + QStringLiteral(": menu item ") + a->objectName() +
                             QStringLiteral(" has no caption"));
            }
        }
        run.save(window, QStringLiteral("mainwindow"));

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
        window->cPozycje()->Add(track);
        window->Editor().openProperties(track);
        ScreenshotRun::Settle(window);
        run.save(window, QStringLiteral("frmDazudizi-panel"));

        // Maximised on a large screen, with a long-named track of 6:00 from
        // an open source.
        auto source = std::make_shared<cPozycjaPlikow>();
        source->strFileName = QStringLiteral("/music/poranek.mp3");
        source->sngCzasTrwania = 360;
        if (!Program().session.OpenFiles)
            Program().session.OpenFiles = std::make_shared<cPozycjePlikow>();
        Program().session.OpenFiles->Add(source);
        auto morning = std::make_shared<cPozycjaMP3>(*track);
        morning->lngNrPozycji = 5;
        morning->strLabel = QStringLiteral("Poranek w \u0141odzi \u2014 audycja poranna z go\u015b\u0107mi i pogod\u0105");
        morning->strTitle = QStringLiteral("Poranek w \u0141odzi \u2014 audycja poranna");
        morning->strAutor = QStringLiteral("Radio \u0141\u00f3d\u017a");
        morning->strFileNameSource = source->strFileName;
        morning->lngKoniec_M = 6;
        morning->lngKoniec_S = 0;
        morning->lngKoniec_SS = 0;
        window->cPozycje()->Add(morning);
        window->setWindowState(Qt::WindowMaximized);
        window->resize(1600, 1000);
        window->Editor().openProperties(morning);
        ScreenshotRun::Settle(window);
        run.reportCutCaptions(window->fraAudio(), QStringLiteral("frmDazudizi-panel-large"));
        run.save(window, QStringLiteral("frmDazudizi-panel-large"));
        window->Views().mnulvw_Click();
        ScreenshotRun::Settle(window);
        run.reportCutCaptions(window->fraAudio(), QStringLiteral("frmDazudizi-advanced-large"));
        run.save(window, QStringLiteral("frmDazudizi-advanced-large"));
        window->Views().mnulvw_Click();
        window->setWindowState(Qt::WindowNoState);
        window->resize(TwipsToPx(15000), TwipsToPx(9000));
        window->Editor().openProperties(track);
        window->cPozycje()->Remove(window->cPozycje()->Count());
        window->DrawTrackGraph(true);
        ScreenshotRun::Settle(window);

        // The same at the window's smallest size, with boxes down to the
        // bottom of the surface: the panel shows every control whole and the
        // help keeps clear of the boxes.
        window->resize(window->minimumWidth(), TwipsToPx(kMainMinNormalHeight));
        ScreenshotRun::Settle(window);
        for (std::int32_t n = 2; n <= 4; ++n) {
            auto low = std::make_shared<cPozycjaMP3>();
            low->lngNrPozycji = n;
            low->strLabel = QStringLiteral("Part %1").arg(n);
            low->lngLeft = 1200 + (n - 2) * 1500;
            low->lngTop = PxToTwips(window->fraAudio()->y()) - 900 + (n - 2) * 200;
            window->cPozycje()->Add(low);
        }
        window->DrawTrackGraph(true);
        ScreenshotRun::Settle(window);
        run.reportCutCaptions(window->fraAudio(), QStringLiteral("frmDazudizi-panel-min"));
        run.save(window, QStringLiteral("frmDazudizi-panel-min"));
        window->Views().mnulvw_Click();
        ScreenshotRun::Settle(window);
        run.reportCutCaptions(window->fraAudio(), QStringLiteral("frmDazudizi-advanced-min"));
        run.save(window, QStringLiteral("frmDazudizi-advanced-min"));
        window->Views().mnulvw_Click();
        window->resize(TwipsToPx(15000), TwipsToPx(9000));

        // The advanced view: the list, the tag frame and the clone button.
        window->Views().mnulvw_Click();
        ScreenshotRun::Settle(window);
        run.save(window, QStringLiteral("frmDazudizi-advanced"));
        window->Views().mnulvw_Click();
        window->close();
        delete window;
    }
    return run.finish();
}
