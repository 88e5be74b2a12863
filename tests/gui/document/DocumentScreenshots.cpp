// Draws the tag editor, the hidden-text window, the frame header editor and
// the list of open files in each language on a real X display at their smallest sizes and saves a
// picture of each, failing when a caption does not fit its control.
// Run under xvfb-run; the pictures land in <build>/screenshots.
#include "ToolTestHost.h"
#include "core/app/ProgramObjects.h"
#include "support/ProgramState.h"
#include "core/app/TextCatalog.h"
#include "core/document/cPozycjePlikow.h"
#include "gui/document/frmFrame.h"
#include "gui/document/frmHidden.h"
#include "gui/document/frmPliki.h"
#include "gui/document/frmTAG.h"
#include "support/ScreenshotRun.h"
#include "support/TestEnvironment.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <cstdio>

using namespace kelbrin;
using test::ScreenshotRun;

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

// The window at its set minimum size, checked by the rules above and saved
// under its form's name.
void Shoot(ScreenshotRun& run, QWidget* window) {
    ScreenshotRun::Settle(window, ScreenshotRun::Fit::MinimumSize);
    run.addFailures(CheckCaptions(window, run.language()));
    run.save(window, window->objectName());
}

// The list of open files as the main window owns it, with no project.
class ListOwner final : public OpenFilesOwner {
public:
    EditorSession& session() const override { return Program().session; }
    std::shared_ptr<cPozycjeMP3> tracks() const override { return nullptr; }
    void clearUndoHistory() override {}
    bool canOpenTagEditor() const override { return true; }
    void openTagEditor(std::shared_ptr<cPozycjaPlikow>) override {}
    bool canChangeFiles() const override { return true; }
};

} // namespace

int main(int argc, char** argv) {
    ScreenshotRun run(argc, argv);
    const QString mediaDir = run.argument(2, test::MediaDir());

    const QString folder = test::MakeTempDir(QStringLiteral("shots"));
    const QString tagged = folder + QStringLiteral("/tagged.mp3");
    QFile::copy(mediaDir + QStringLiteral("/id3v1.mp3"), tagged);

    for (const QString& language : ScreenshotRun::Languages()) {
        run.setLanguage(language);
        test::ResetProgramObjects();
        Program().session.OpenFiles = std::make_shared<cPozycjePlikow>();
        test::ToolTestHost host;
        const auto file = host.openScanned(tagged);

        frmTAG* tag = frmTAG::PokazMnie(file, host.idle);
        Shoot(run, tag);
        delete tag;

        frmHidden* hidden = frmHidden::PokazMnie(host);
        hidden->cboPlik->setCurrentIndex(0);
        hidden->cmdEdit_Click();
        hidden->txtTekst->setPlainText(GetText(3056));
        Shoot(run, hidden);
        delete hidden;

        frmFrame* frame = frmFrame::PokazMnie(host);
        frame->cboPlik->setCurrentIndex(0);
        Shoot(run, frame);
        delete frame;

        frmPliki* files = frmPliki::PokazMnie(std::make_unique<ListOwner>());
        Shoot(run, files);
        delete files;
    }
    return run.finish();
}
