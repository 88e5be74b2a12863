// Shows the about box in each language at its smallest size on a real X
// display, fails when a text does not show whole, and saves the pictures to
// <build>/screenshots/frmInfo-<language>.png. Run under xvfb-run.
#include "gui/mainwindow/frmInfo.h"
#include "support/ScreenshotRun.h"

#include <QApplication>

using namespace kelbrin;
using test::ScreenshotRun;

int main(int argc, char** argv) {
    ScreenshotRun run(argc, argv);
    QApplication::setApplicationVersion("0.1.0");

    for (const QString& language : ScreenshotRun::Languages()) {
        run.setLanguage(language);
        frmInfo* box = frmInfo::PokazMnie();
        run.shoot(box, QStringLiteral("frmInfo"));
        delete box;
    }
    return run.finish();
}
