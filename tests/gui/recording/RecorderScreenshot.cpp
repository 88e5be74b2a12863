// Pictures of the recorder window in each language at its minimum size,
// failing when a caption does not fit. Run under xvfb-run; they land in
// <build>/screenshots.
#include "gui/recording/frmRecord.h"
#include "support/ProgramState.h"
#include "core/app/ProgramObjects.h"
#include "support/ScreenshotRun.h"

#include <QCoreApplication>
#include <QPushButton>

using namespace kelbrin;
using test::ScreenshotRun;

int main(int argc, char** argv) {
    ScreenshotRun run(argc, argv);

    for (const QString& language : ScreenshotRun::Languages()) {
        run.setLanguage(language);
        frmRecord* window = frmRecord::PokazMnie(Program(), false);
        window->LoadLang();
        ScreenshotRun::Settle(window, ScreenshotRun::Fit::MinimumSize);
        run.reportCutCaptions(window, QStringLiteral("frmRecord"));
        for (QPushButton* b : {window->cmdRecord, window->cmdPauza, window->cmdStopRec})
            if (b->icon().isNull() || b->toolTip().isEmpty())
                run.fail(language + QStringLiteral(": ") + b->objectName() + QStringLiteral(" has no icon or tooltip"));
        run.save(window, QStringLiteral("frmRecord"));
        window->close();
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    return run.finish();
}
