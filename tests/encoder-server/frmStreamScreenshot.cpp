// Pictures of the server window in each language at its minimum size, with
// every slider shown and a period's values in place. Run under xvfb-run; they
// land in <build>/screenshots.
#include "encoder-server/speech/frmStream.h"
#include "platform/settings/SettingsStore.h"
#include "support/ScreenshotRun.h"

using namespace kelbrin;

int main(int argc, char** argv) {
    test::ScreenshotRun run(argc, argv);
    // The full window (diagnostics on) under the form's name, and the compact
    // one every recording shows by default.
    for (const QString& mode : {QString(), QStringLiteral("-compact")}) {
        SaveSetting(QStringLiteral("RecHeight"), mode.isEmpty() ? QStringLiteral("1") : QStringLiteral("0"));
        for (const QString& language : test::ScreenshotRun::Languages()) {
            run.setLanguage(language);
            frmStream window;
            window.showParameters(SpeechParameters{});
            window.showPeriod(SpeechPeriod{7, 4200, 14700, 14700}, SpeechParameters{});
            window.showSegmentOpen(true);
            window.show();
            run.shoot(&window, QStringLiteral("frmStream") + mode);
        }
    }
    return run.finish();
}
