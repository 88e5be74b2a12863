// Draws the recording settings window at its minimum size in each language
// on a real X display and saves frmRecording-<language>.png to
// <build>/screenshots. Fails when a caption is missing, shows a bare number,
// or does not fit its control. Run under xvfb-run.
#include "core/app/ProgramObjects.h"
#include "support/ProgramState.h"
#include "core/app/TextCatalog.h"
#include "gui/recording/frmRecording.h"
#include "platform/capture/FakeCaptureDevices.h"
#include "platform/lame/FakeLameLibrary.h"
#include "platform/settings/MemorySettingsStore.h"
#include "support/ScreenshotRun.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QRegularExpression>

using namespace kelbrin;
using test::ScreenshotRun;

int main(int argc, char** argv) {
    ScreenshotRun run(argc, argv);
    SetLameLibrary(std::make_unique<FakeLameLibrary>());
    SetCaptureDevices(std::make_unique<FakeCaptureDevices>(
        QStringList{"Built-in Audio Analog Stereo", "Monitor of Built-in Audio Analog Stereo"}));

    static const QRegularExpression bare(QStringLiteral("^[0-9;]*$"));
    for (const QString& language : ScreenshotRun::Languages()) {
        run.setLanguage(language);
        run.store()->values = {{"RecDir", "/home/user/Music/Recordings/"},
                               {"TempRecDir", "/tmp/"},
                               {"DestFormat", "MPEG Layer-3 128 kbit/s, 44100 Hz, stereo"},
                               {"LameVBR", "1"}};
        frmRecording* window = frmRecording::PokazMnie(Program().recording);
        for (QWidget* w : window->findChildren<QWidget*>()) {
            if (w->property("Tag").isNull())
                continue;
            QString text;
            if (auto* label = qobject_cast<QLabel*>(w))
                text = label->text();
            else if (auto* button = qobject_cast<QAbstractButton*>(w))
                text = button->text();
            else if (auto* frame = qobject_cast<QGroupBox*>(w))
                text = frame->title();
            if (bare.match(text).hasMatch())
                run.fail(language + QStringLiteral(": ") + w->objectName() + QStringLiteral(" has no caption"));
        }
        run.shoot(window, QStringLiteral("frmRecording"));
        window->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    return run.finish();
}
