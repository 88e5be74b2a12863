// Shows the fade editor in each language at its smallest size on a real X
// display, fails when a caption does not show whole, and saves the pictures
// to <build>/screenshots/frmFade-<language>.png. Run under xvfb-run.
#include "core/app/ProgramObjects.h"
#include "support/ProgramState.h"
#include "core/app/TextCatalog.h"
#include "core/document/cPozycjaMP3.h"
#include "gui/playback/frmFade.h"
#include "platform/media/FakeMediaPlatform.h"
#include "support/ScreenshotRun.h"

using namespace kelbrin;
using test::ScreenshotRun;

int main(int argc, char** argv) {
    ScreenshotRun run(argc, argv);
    SetMediaPlatform(std::make_unique<FakeMediaPlatform>());
    Program().outputs.SoundCards = {kDefaultOutputName, kNullOutputName};
    Program().outputs.UseDefaultRenderer = false;
    for (const QString& language : ScreenshotRun::Languages()) {
        run.setLanguage(language);
        auto e = std::make_shared<cPozycjaMP3>();
        auto s = std::make_shared<cPozycjaMP3>();
        e->lngNrPozycji = 1;
        e->strLabel = GetText(3097) + " 1";
        e->strFileNameSource = QStringLiteral("/music/a.mp3");
        e->lngKoniec_M = 3;
        e->sngFadeOutTime = 6;
        e->colNastepnik = {2};
        s->lngNrPozycji = 2;
        s->lngTrack = 1;
        s->strLabel = GetText(3097) + " 2";
        s->strFileNameSource = QStringLiteral("/music/b.mp3");
        s->sngFadeInTime = 4;
        s->sngOvertake = -3;
        s->strDevice = kNullOutputName;
        frmFade* w = frmFade::PokazMnie(e, s, {}, Program().settings, Program().outputs);
        run.shoot(w, QStringLiteral("frmFade"), ScreenshotRun::Fit::MinimumSize);
        delete w;
    }
    SetMediaPlatform(nullptr);
    return run.finish();
}
