// Draws a surface of five linked, looped and locked tracks with the track
// list beside it on a real X display, checks the box colours and saves the
// picture to <build>/screenshots/editor-<language>.png. Run under xvfb-run.
#include "core/app/ProgramObjects.h"
#include "support/ProgramState.h"
#include "core/app/TextCatalog.h"
#include "core/document/cPozycjeMP3.h"
#include "core/editor/TrackGraph.h"
#include "gui/app/Twips.h"
#include "gui/editor/EditorController.h"
#include "gui/editor/TrackListNavigator.h"
#include "gui/editor/TrackSurface.h"
#include "gui/editor/cListView.h"
#include "support/ScreenshotRun.h"
#include "support/TestEnvironment.h"

#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QTreeWidget>
#include <QVBoxLayout>

using namespace kelbrin;
using test::ScreenshotRun;

namespace {

std::shared_ptr<cPozycjaMP3> Track(cPozycjeMP3& tracks, int number, int x, int y, int pred,
                                   const QString& label) {
    auto t = std::make_shared<cPozycjaMP3>();
    t->lngNrPozycji = number;
    t->lngLeft = x;
    t->lngTop = y;
    t->lngTrack = pred;
    t->strLabel = label;
    // The list shows only tracks whose source is on disk.
    static const QString source = test::WriteFile(test::MakeTempDir("editor") + "/concert.mp3", "x");
    t->strFileNameSource = source;
    t->strFileName = label + QStringLiteral(".mp3");
    t->lngPoczatek_M = number - 1;
    t->lngKoniec_M = number;
    tracks.Add(t);
    return t;
}

} // namespace

int main(int argc, char** argv) {
    ScreenshotRun run(argc, argv);

    for (const QString& language : ScreenshotRun::Languages()) {
        run.setLanguage(language);
        cPozycjeMP3 tracks;
        Track(tracks, 1, 2400, 1500, 0, QStringLiteral("Intro"));
        Track(tracks, 2, 5400, 1500, 1, QStringLiteral("Verse"));
        auto chorus = Track(tracks, 3, 8400, 2700, 2, QStringLiteral("Chorus"));
        chorus->lngLoopTrack = 1;
        chorus->lngLoopCountBackup = 3;
        auto bridge = Track(tracks, 4, 5400, 4200, 2, QStringLiteral("Bridge"));
        bridge->blnZablokowany = true;
        Track(tracks, 5, 8400, 4200, 4, QStringLiteral("Outro"));
        RebuildAllSuccessors(tracks);

        QWidget window;
        window.setWindowTitle(QStringLiteral("Kelbrin editor"));
        auto* layout = new QHBoxLayout(&window);
        auto* left = new QWidget(&window);
        auto* leftLayout = new QVBoxLayout(left);
        auto* info = new QLabel(left);
        auto* list = new QTreeWidget(&window);
        list->setRootIsDecorated(false);
        list->setColumnCount(6);
        list->setHeaderLabels({GetText(3212), GetText(3213), GetText(3214), GetText(3234),
                               GetText(3215), GetText(3216)});
        const int widths[] = {1740, 1000, 1000, 1000, 4500, 4200};
        for (int i = 0; i < 6; ++i)
            list->setColumnWidth(i, TwipsToPx(widths[i]));
        cListView style;
        style.setHWnd(list);
        style.setFullRowSelect(true);
        style.setGridlines(true);

        EditorControllerParts parts;
        parts.tracks = [&tracks] { return &tracks; };
        parts.surfaceParent = left;
        parts.list = list;
        parts.hoverLabel = info;
        EditorController controller(parts, Program().settings);
        controller.editor().setStartBoxTopLeft(QPoint(300, 1275));
        leftLayout->addWidget(controller.surface(), 1);
        leftLayout->addWidget(info);
        layout->addWidget(left, 1);
        layout->addWidget(list, 1);
        controller.RebuildViews();
        // Select the locked track and describe it.
        controller.editor().SelectTrackBox(4, 0, 0, QPoint());
        controller.editor().mouseMove(0, 0, QPoint(5400, 4200));
        window.resize(1500, 480);
        window.show();
        ScreenshotRun::Settle(&window);

        const QImage surface = controller.surface()->grab().toImage();
        const struct {
            int x, y;
            std::uint32_t bgr;
        } expected[] = {{2400, 1500, graph_colour::Plain},   {8400, 2700, graph_colour::Looped},
                        {5400, 4200, graph_colour::Locked},  {8400, 4200, graph_colour::Plain},
                        {525, 1500, graph_colour::StartBox}, {5400, 2850, graph_colour::SuccessorLine}};
        for (const auto& e : expected) {
            const QColor got = surface.pixelColor(TrackSurface::toPixels(QPoint(e.x, e.y)));
            if (got != ColourFromBgr(e.bgr))
                run.fail(QStringLiteral("%1: at (%2, %3) %4 instead of %5")
                             .arg(language)
                             .arg(e.x)
                             .arg(e.y)
                             .arg(got.name(), ColourFromBgr(e.bgr).name()));
        }
        if (list->topLevelItemCount() != 5)
            run.fail(QStringLiteral("the list has %1 rows").arg(list->topLevelItemCount()));
        run.save(&window, QStringLiteral("editor"));
    }
    return run.finish();
}
