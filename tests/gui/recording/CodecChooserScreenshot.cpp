// Pictures of the codec chooser in each language at its minimum size, failing
// when a caption is missing. Run under xvfb-run; they land in <build>/screenshots.
#include "core/app/TextCatalog.h"
#include "core/recording/CodecFormatChoice.h"
#include "gui/recording/codecChooser.h"
#include "support/TestEnvironment.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QPixmap>
#include <cstdio>

using namespace kelbrin;

int main(int argc, char** argv) {
    test::SetUpPrivateEnvironment();
    if (!qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    const QString outDir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("screenshots");
    QDir().mkpath(outDir);
    Catalog().load(test::SourceDir() + "/resources/Kelbrin.ini");

    int failures = 0;
    for (const QString& language : {QStringLiteral("ENGLISH"), QStringLiteral("POLSKI")}) {
        Catalog().setLanguage(language);
        QByteArray record(68, '\0');
        PresetEmptyRecord(record);
        codecChooser dialog(Codecs(), WaveFormatEx::fromRecord(record), GetText(2172));
        dialog.show();
        dialog.resize(dialog.minimumSizeHint());
        for (int i = 0; i < 20; ++i)
            QCoreApplication::processEvents();
        for (QLabel* label : {dialog.lblFormatTag, dialog.lblFormat})
            if (label->text().isEmpty() || label->text().at(0).isDigit()) {
                std::fprintf(stderr, "%s: %s has no caption\n", qPrintable(language), qPrintable(label->objectName()));
                ++failures;
            }
        const QString file = outDir + QStringLiteral("/codecChooser-%1.png").arg(language.toLower());
        if (!dialog.grab().save(file)) {
            std::fprintf(stderr, "cannot save %s\n", qPrintable(file));
            ++failures;
        } else {
            std::printf("saved %s\n", qPrintable(file));
        }
    }
    std::printf("%d passed, %d failed\n", failures == 0 ? 1 : 0, failures == 0 ? 0 : 1);
    return failures == 0 ? 0 : 1;
}
