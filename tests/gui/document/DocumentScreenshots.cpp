// Draws the tag editor, the hidden-text window and the frame header editor in
// each language on a real X display at their smallest sizes and saves a
// picture of each, failing when a caption does not fit its control.
// Run under xvfb-run; the pictures land in <build>/screenshots.
#include "ToolTestHost.h"
#include "core/app/SharedState.h"
#include "core/app/TextCatalog.h"
#include "core/document/cPozycjePlikow.h"
#include "gui/document/frmFrame.h"
#include "gui/document/frmHidden.h"
#include "gui/document/frmTAG.h"
#include "platform/settings/MemorySettingsStore.h"
#include "support/TestEnvironment.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPixmap>
#include <QPlainTextEdit>
#include <cstdio>

using namespace kelbrin;

namespace {

int CheckCaptions(QWidget* window, const QString& language) {
    int failures = 0;
    for (QLabel* l : window->findChildren<QLabel*>()) {
        if (!l->isVisibleTo(window) || l->wordWrap() || l->text().isEmpty())
            continue;
        if (l->sizeHint().width() > l->width() + 1) {
            std::fprintf(stderr, "%s %s: label %s does not fit (%d > %d)\n", qPrintable(language),
                         qPrintable(window->objectName()), qPrintable(l->objectName()),
                         l->sizeHint().width(), l->width());
            ++failures;
        }
    }
    for (QComboBox* c : window->findChildren<QComboBox*>()) {
        if (c->objectName() == QLatin1String("cboPlik"))
            continue; // paths are as long as they are
        for (int i = 0; i < c->count(); ++i) {
            const int needed = c->fontMetrics().horizontalAdvance(c->itemText(i)) + 30;
            if (needed > c->width()) {
                std::fprintf(stderr, "%s %s: entry \"%s\" of %s does not fit\n",
                             qPrintable(language), qPrintable(window->objectName()),
                             qPrintable(c->itemText(i)), qPrintable(c->objectName()));
                ++failures;
            }
        }
    }
    return failures;
}

int Save(QWidget* window, const QString& outDir, const QString& language) {
    if (!window->minimumSize().isEmpty())
        window->resize(window->minimumSize());
    for (int i = 0; i < 20; ++i)
        QCoreApplication::processEvents();
    int failures = CheckCaptions(window, language);
    const QString file =
        outDir + QStringLiteral("/%1-%2.png").arg(window->objectName(), language.toLower());
    if (!window->grab().save(file)) {
        std::fprintf(stderr, "cannot save %s\n", qPrintable(file));
        ++failures;
    } else {
        std::printf("saved %s\n", qPrintable(file));
    }
    return failures;
}

} // namespace

int main(int argc, char** argv) {
    test::SetUpPrivateEnvironment();
    if (!qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    const QString outDir =
        argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("screenshots");
    const QString mediaDir = argc > 2 ? QString::fromLocal8Bit(argv[2]) : test::MediaDir();
    QDir().mkpath(outDir);
    SetSettingsStore(std::make_unique<MemorySettingsStore>());
    Catalog().load(test::SourceDir() + "/resources/Kelbrin.ini");

    const QString folder = test::MakeTempDir(QStringLiteral("shots"));
    const QString tagged = folder + QStringLiteral("/tagged.mp3");
    QFile::copy(mediaDir + QStringLiteral("/id3v1.mp3"), tagged);

    int failures = 0;
    for (const QString language : {QStringLiteral("ENGLISH"), QStringLiteral("POLSKI")}) {
        Catalog().setLanguage(language);
        ResetSharedState();
        Shared().OpenFiles = std::make_shared<cPozycjePlikow>();
        test::ToolTestHost host;
        auto file = std::make_shared<cPozycjaPlikow>();
        file->strFileName = tagged;
        file->blnExtraArray = true;
        file->lngNrPozycji = Shared().NextFileId++;
        Shared().OpenFiles->Add(file);
        host.OpenSource(file, true);

        frmTAG* tag = frmTAG::PokazMnie(file);
        failures += Save(tag, outDir, language);
        delete tag;

        frmHidden* hidden = frmHidden::PokazMnie(host);
        hidden->cboPlik->setCurrentIndex(0);
        hidden->cmdEdit_Click();
        hidden->txtTekst->setPlainText(GetText(3056));
        failures += Save(hidden, outDir, language);
        delete hidden;

        frmFrame* frame = frmFrame::PokazMnie(host);
        frame->cboPlik->setCurrentIndex(0);
        failures += Save(frame, outDir, language);
        delete frame;
    }
    std::printf("%d passed, %d failed\n", failures == 0 ? 1 : 0, failures == 0 ? 0 : 1);
    return failures == 0 ? 0 : 1;
}
