// Draws the recording settings window at its minimum size in each language
// on a real X display and saves frmRecording-<language>.png to
// <build>/screenshots. Fails when a caption is missing, shows a bare number,
// or does not fit its control. Run under xvfb-run.
#include "core/app/SharedState.h"
#include "core/app/TextCatalog.h"
#include "gui/recording/frmRecording.h"
#include "platform/capture/CaptureDevices.h"
#include "platform/lame/FakeLameLibrary.h"
#include "platform/settings/MemorySettingsStore.h"
#include "support/TestEnvironment.h"
#include "support/TextFit.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QRegularExpression>
#include <cstdio>

using namespace kelbrin;

int main(int argc, char** argv) {
    test::SetUpPrivateEnvironment();
    if (!qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    const QString outDir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("screenshots");
    QDir().mkpath(outDir);
    auto* store = new MemorySettingsStore;
    SetSettingsStore(std::unique_ptr<SettingsStore>(store));
    SetLameLibrary(std::make_unique<FakeLameLibrary>());
    SetCaptureDevices(std::make_unique<FakeCaptureDevices>(
        QStringList{"Built-in Audio Analog Stereo", "Monitor of Built-in Audio Analog Stereo"}));
    Catalog().load(test::SourceDir() + "/resources/Kelbrin.ini");

    int failures = 0;
    static const QRegularExpression bare(QStringLiteral("^[0-9;]*$"));
    for (const QString& language : {QStringLiteral("ENGLISH"), QStringLiteral("POLSKI")}) {
        Catalog().setLanguage(language);
        store->values = {{"RecDir", "/home/user/Music/Recordings/"},
                         {"TempRecDir", "/tmp/"},
                         {"DestFormat", "MPEG Layer-3 128 kbit/s, 44100 Hz, stereo"},
                         {"LameVBR", "1"}};
        frmRecording* window = frmRecording::PokazMnie();
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
            if (bare.match(text).hasMatch()) {
                std::fprintf(stderr, "%s: %s has no caption\n", qPrintable(language), qPrintable(w->objectName()));
                ++failures;
            }
        }
        window->resize(window->minimumSizeHint());
        for (int i = 0; i < 20; ++i)
            QCoreApplication::processEvents();
        for (const QString& cut : test::CutCaptions(window)) {
            std::fprintf(stderr, "%s: %s\n", qPrintable(language), qPrintable(cut));
            ++failures;
        }
        const QString file = outDir + QStringLiteral("/frmRecording-%1.png").arg(language.toLower());
        if (!window->grab().save(file)) {
            std::fprintf(stderr, "cannot save %s\n", qPrintable(file));
            ++failures;
        } else {
            std::printf("saved %s\n", qPrintable(file));
        }
        window->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    std::printf("%d passed, %d failed\n", failures == 0 ? 1 : 0, failures == 0 ? 0 : 1);
    return failures == 0 ? 0 : 1;
}
