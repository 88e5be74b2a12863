// Draws the settings dialog at its minimum size in each language, both pages,
// on a real X display and saves the pictures to <build>/screenshots
// (frmSettings-<language>.png, frmSettings-advanced-<language>.png). Fails
// when a caption is missing or shows a bare number. Run under xvfb-run.
#include "core/app/SharedState.h"
#include "core/app/TextCatalog.h"
#include "gui/app/frmSettings.h"
#include "platform/media/FakeMediaPlatform.h"
#include "platform/settings/MemorySettingsStore.h"
#include "support/TestEnvironment.h"

#include <QCheckBox>
#include <QPushButton>
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QRegularExpression>
#include <QTabWidget>
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
    SetMediaPlatform(std::make_unique<FakeMediaPlatform>());
    Catalog().load(test::SourceDir() + "/resources/Kelbrin.ini");

    int failures = 0;
    for (const QString language : {QStringLiteral("ENGLISH"), QStringLiteral("POLSKI")}) {
        Catalog().setLanguage(language);
        store->values = {{"MultiDevices", "1"},
                         {"DestPath", "/home/user/Music/Exports"},
                         {"SPath", "/home/user/Music/"}};
        Shared().SoundCards = {"Default DirectSound Device", "Built-in Audio Analog Stereo", "null"};
        auto* dialog = frmSettings::PokazMnie(nullptr, {});
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
            if (bare.match(text).hasMatch()) {
                std::fprintf(stderr, "%s: %s has no caption\n", qPrintable(language), qPrintable(w->objectName()));
                ++failures;
            }
        }
        for (int page = 0; page < 2; ++page) {
            dialog->TabStrip1->setCurrentIndex(page);
            dialog->resize(dialog->minimumSizeHint());
            for (int i = 0; i < 20; ++i)
                QCoreApplication::processEvents();
            const QString file = outDir + QStringLiteral("/frmSettings%1-%2.png")
                                              .arg(page == 0 ? QString() : QStringLiteral("-advanced"),
                                                   language.toLower());
            if (!dialog->grab().save(file)) {
                std::fprintf(stderr, "cannot save %s\n", qPrintable(file));
                ++failures;
            } else {
                std::printf("saved %s\n", qPrintable(file));
            }
        }
        dialog->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    std::printf("%d passed, %d failed\n", failures == 0 ? 1 : 0, failures == 0 ? 0 : 1);
    return failures == 0 ? 0 : 1;
}
