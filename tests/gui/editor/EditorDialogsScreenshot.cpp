// Shows the legend and the label dialog in each language at their smallest
// size on a real X display, fails when a caption does not show whole, and
// saves the pictures to <build>/screenshots/<form>-<language>.png.
// Run under xvfb-run.
#include "core/app/TextCatalog.h"
#include "core/document/cPozycjaMP3.h"
#include "core/document/cPozycjeMP3.h"
#include "gui/editor/frmLabel.h"
#include "gui/editor/frmLegend.h"
#include "support/ScreenshotRun.h"

using namespace kelbrin;
using test::ScreenshotRun;

int main(int argc, char** argv) {
    ScreenshotRun run(argc, argv);

    for (const QString& language : ScreenshotRun::Languages()) {
        run.setLanguage(language);

        frmLegend* legend = frmLegend::PokazMnie();
        run.shoot(legend, QStringLiteral("frmLegend"));
        delete legend;

        cPozycjeMP3 tracks;
        auto track = std::make_shared<cPozycjaMP3>();
        track->lngNrPozycji = 1;
        track->strLabel = GetText(3097);
        tracks.Add(track);
        frmLabel* label = frmLabel::PokazMnie(1, [&tracks] { return &tracks; }, nullptr);
        run.shoot(label, QStringLiteral("frmLabel"));
        delete label; // deleting stores nothing
    }
    return run.finish();
}
