// Shows the split dialog and the export dialog in each language at their
// smallest size on a real X display, fails when a caption does not show
// whole, and saves the pictures to <build>/screenshots/<form>-<language>.png.
// Run under xvfb-run, after the test media is made.
#include "core/app/ProgramObjects.h"
#include "support/ProgramState.h"
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
#include "support/ScreenshotRun.h"
#include "support/TestEnvironment.h"

#include <QCheckBox>
#include <QDir>

using namespace kelbrin;
using test::ScreenshotRun;

int main(int argc, char** argv) {
    ScreenshotRun run(argc, argv);
    run.store()->values = {{"WindowState", "0"}, {"AdvView", "0"}, {"DestPath", QDir::homePath()}};

    for (const QString& language : ScreenshotRun::Languages()) {
        run.setLanguage(language);
        test::ResetProgramObjects();
        Program().session.OpenFiles = std::make_shared<cPozycjePlikow>();
        auto file = std::make_shared<cPozycjaPlikow>();
        file->strFileName = test::MediaFile("cbr_noinfo.mp3");
        file->lngNrPozycji = 1;
        Program().session.OpenFiles->Add(file);

        auto* main = new frmDazudizi(Program());
        main->PokazMnie();
        for (const QString& label :
             {QStringLiteral("Intro"), QStringLiteral("Verse"), QStringLiteral("Chorus"),
              QStringLiteral("Poranek w \u0141odzi \u2014 audycja poranna z go\u015b\u0107mi i pogod\u0105 (ca\u0142o\u015b\u0107)")}) {
            auto t = std::make_shared<cPozycjaMP3>();
            t->lngNrPozycji = main->cPozycje()->Count() + 1;
            t->strFileNameSource = file->strFileName;
            t->strLabel = label;
            t->blnAwlaysTop = true;
            main->cPozycje()->Add(t);
        }

        SplitViewsParts parts;
        parts.window = main;
        parts.editor = &main->Editor();
        SplitOpenOptions options;
        options.newTrack = true;
        frmPozycje* split = frmPozycje::PokazMnie(MakeSplitHost(parts), std::make_shared<cPozycjaMP3>(),
                                                  options, main);
        if (!split) {
            run.fail(QStringLiteral("the split dialog did not open"));
        } else {
            run.shoot(split, QStringLiteral("frmPozycje"), ScreenshotRun::Fit::AsIs);
            delete split;
        }

        frmSave* save = frmSave::PokazMnie(*main);
        if (!save) {
            run.fail(QStringLiteral("the export dialog did not open"));
        } else {
            save->chkTurbo->setChecked(true); // its frame shows too
            save->resize(1, 1);               // snaps back to the smallest size
            run.shoot(save, QStringLiteral("frmSave"), ScreenshotRun::Fit::AsIs);
            save->resize(900, 640); // and enlarged
            run.shoot(save, QStringLiteral("frmSave-large"), ScreenshotRun::Fit::AsIs);
            delete save;
        }
        delete main;
    }
    return run.finish();
}
