// Shows the fade editor in each language at its smallest size on a real X
// display, fails when a caption does not show whole, and saves the pictures
// to <build>/screenshots/frmFade-<language>.png. Run under xvfb-run.
#include "core/app/SharedState.h"
#include "core/app/TextCatalog.h"
#include "core/document/cPozycjaMP3.h"
#include "gui/playback/frmFade.h"
#include "platform/media/FakeMediaPlatform.h"
#include "platform/settings/MemorySettingsStore.h"
#include "support/TestEnvironment.h"
#include "support/TextFit.h"

#include <QApplication>
#include <QDir>
#include <cstdio>

using namespace kelbrin;

int main(int argc, char** argv) {
    test::SetUpPrivateEnvironment();
    if (!qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    const QString outDir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("screenshots");
    QDir().mkpath(outDir);
    SetSettingsStore(std::make_unique<MemorySettingsStore>());
    SetMediaPlatform(std::make_unique<FakeMediaPlatform>());
    Catalog().load(test::SourceDir() + "/resources/Kelbrin.ini");
    Shared().SoundCards = {kDefaultOutputName, kNullOutputName};
    Shared().UseDefaultRenderer = false;
    int failures = 0;
    for (const QString& language : {QStringLiteral("ENGLISH"), QStringLiteral("POLSKI")}) {
        Catalog().setLanguage(language);
        auto e = std::make_shared<cPozycjaMP3>();
        auto s = std::make_shared<cPozycjaMP3>();
        e->lngNrPozycji = 1;
        e->strLabel = GetText(3097) + " 1";
        e->strFileNameSource = QStringLiteral("/music/a.mp3");
        e->lngKoniec_M = 3;
        e->sngFadeOutTime = 6;
        e->colNastepnik = {2};
        s->lngNrPozycji = 2;
        s->lngTrack = 1;
        s->strLabel = GetText(3097) + " 2";
        s->strFileNameSource = QStringLiteral("/music/b.mp3");
        s->sngFadeInTime = 4;
        s->sngOvertake = -3;
        s->strDevice = kNullOutputName;
        frmFade* w = frmFade::PokazMnie(e, s, {});
        w->resize(w->minimumSize());
        for (int i = 0; i < 20; ++i)
            QCoreApplication::processEvents();
        const QString file = outDir + QStringLiteral("/frmFade-%1.png").arg(language.toLower());
        for (const QString& c : test::CutCaptions(w)) {
            std::fprintf(stderr, "%s: %s\n", qPrintable(file), qPrintable(c));
            ++failures;
        }
        if (w->grab().save(file))
            std::printf("saved %s (%dx%d)\n", qPrintable(file), w->width(), w->height());
        else
            ++failures;
        delete w;
    }
    SetMediaPlatform(nullptr);
    std::printf("%d failed\n", failures);
    return failures == 0 ? 0 : 1;
}
