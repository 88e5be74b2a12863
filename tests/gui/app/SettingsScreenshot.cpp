// Draws the settings dialog at its minimum size in each language, both pages,
// on a real X display and saves the pictures to <build>/screenshots
// (frmSettings-<language>.png, frmSettings-advanced-<language>.png). Fails
// when a caption is missing or shows a bare number. Run under xvfb-run.
#include "core/app/ProgramObjects.h"
#include "support/ProgramState.h"
#include "core/app/TextCatalog.h"
#include "gui/app/frmSettings.h"
#include "platform/media/FakeMediaPlatform.h"
#include "platform/settings/MemorySettingsStore.h"
#include "support/ScreenshotRun.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QTabWidget>

using namespace kelbrin;
using test::ScreenshotRun;

int main(int argc, char** argv) {
    ScreenshotRun run(argc, argv);
    SetMediaPlatform(std::make_unique<FakeMediaPlatform>());

    for (const QString& language : ScreenshotRun::Languages()) {
        run.setLanguage(language);
        run.store()->values = {{"MultiDevices", "1"},
                               {"DestPath", "/home/user/Music/Exports"},
                               {"SPath", "/home/user/Music/"}};
        Program().outputs.SoundCards = {"Default DirectSound Device", "Built-in Audio Analog Stereo", "null"};
        auto* dialog = frmSettings::PokazMnie(Program(), nullptr, {});
        static const QRegularExpression bare(QStringLiteral("^[0-9;]*$"));
        for (QWidget* w : dialog->findChildren<QWidget*>()) {
            QString text;
            if (auto* label = qobject_cast<QLabel*>(w); label && !label->property("Tag").isNull())
                text = label->text();
            else if (auto* button = qobject_cast<QPushButton*>(w); button && button->icon().isNull())
                text = button->text();
            else if (auto* box = qobject_cast<QCheckBox*>(w))
                text = box->text();
            else
                continue;
            if (bare.match(text).hasMatch())
                run.fail(language + QStringLiteral(": ") + w->objectName() + QStringLiteral(" has no caption"));
        }
        for (int page = 0; page < 2; ++page) {
            dialog->TabStrip1->setCurrentIndex(page);
            ScreenshotRun::Settle(dialog, ScreenshotRun::Fit::Smallest);
            run.save(dialog, page == 0 ? QStringLiteral("frmSettings") : QStringLiteral("frmSettings-advanced"));
        }
        dialog->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    return run.finish();
}
