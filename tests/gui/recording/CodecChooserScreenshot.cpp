// Pictures of the codec chooser in each language at its minimum size, failing
// when a caption is missing. Run under xvfb-run; they land in <build>/screenshots.
#include "core/app/TextCatalog.h"
#include "core/recording/CodecFormatChoice.h"
#include "gui/recording/codecChooser.h"
#include "support/ScreenshotRun.h"

#include <QLabel>

using namespace kelbrin;
using test::ScreenshotRun;

int main(int argc, char** argv) {
    ScreenshotRun run(argc, argv);

    for (const QString& language : ScreenshotRun::Languages()) {
        run.setLanguage(language);
        QByteArray record(68, '\0');
        PresetEmptyRecord(record);
        codecChooser dialog(Codecs(), WaveFormatEx::fromRecord(record), GetText(2172));
        dialog.show();
        ScreenshotRun::Settle(&dialog, ScreenshotRun::Fit::Smallest);
        for (QLabel* label : {dialog.lblFormatTag, dialog.lblFormat})
            if (label->text().isEmpty() || label->text().at(0).isDigit())
                run.fail(language + QStringLiteral(": ") + label->objectName() + QStringLiteral(" has no caption"));
        run.save(&dialog, QStringLiteral("codecChooser"));
    }
    return run.finish();
}
