#include "ProgramState.h"
#include "ScreenshotRun.h"

#include "TestEnvironment.h"
#include "TextFit.h"
#include "core/app/TextCatalog.h"
#include "platform/settings/MemorySettingsStore.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QPixmap>
#include <QWidget>
#include <cstdio>

namespace kelbrin::test {

ScreenshotRun::ScreenshotRun(int& argc, char** argv) {
    SetUpPrivateEnvironment();
    if (!qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "xcb");
    m_app = std::make_unique<QApplication>(argc, argv);
    for (int i = 0; i < argc; ++i)
        m_arguments << QString::fromLocal8Bit(argv[i]);
    m_outDir = argument(1, QStringLiteral("screenshots"));
    QDir().mkpath(m_outDir);
    ResetProgramObjects();
    m_store = new MemorySettingsStore;
    SetSettingsStore(std::unique_ptr<SettingsStore>(m_store));
    Catalog().load(SourceDir() + "/resources/Kelbrin.ini");
}

ScreenshotRun::~ScreenshotRun() = default;

QString ScreenshotRun::argument(int index, const QString& fallback) const {
    return index < m_arguments.size() ? m_arguments.at(index) : fallback;
}

QStringList ScreenshotRun::Languages() {
    return {QStringLiteral("ENGLISH"), QStringLiteral("POLSKI")};
}

void ScreenshotRun::setLanguage(const QString& language) {
    m_language = language;
    Catalog().setLanguage(language);
}

void ScreenshotRun::Settle(QWidget* window, Fit fit) {
    switch (fit) {
    case Fit::AsIs:
        break;
    case Fit::Smallest:
        window->resize(window->minimumSizeHint().expandedTo(window->minimumSize()));
        break;
    case Fit::MinimumSize:
        if (!window->minimumSize().isEmpty())
            window->resize(window->minimumSize());
        break;
    }
    for (int i = 0; i < 20; ++i)
        QCoreApplication::processEvents();
}

void ScreenshotRun::reportCutCaptions(QWidget* window, const QString& form) {
    for (const QString& cut : CutCaptions(window))
        fail(QFileInfo(fileFor(form)).fileName() + QStringLiteral(": ") + cut);
}

void ScreenshotRun::save(QWidget* window, const QString& form) {
    const QString file = fileFor(form);
    if (window->grab().save(file))
        std::printf("saved %s (%dx%d)\n", qPrintable(file), window->width(), window->height());
    else
        fail(QStringLiteral("cannot save ") + file);
}

void ScreenshotRun::shoot(QWidget* window, const QString& form, Fit fit) {
    Settle(window, fit);
    reportCutCaptions(window, form);
    save(window, form);
}

void ScreenshotRun::fail(const QString& why) {
    std::fprintf(stderr, "%s\n", qPrintable(why));
    ++m_failures;
}

int ScreenshotRun::finish() const {
    std::printf("%d failed\n", m_failures);
    return m_failures == 0 ? 0 : 1;
}

QString ScreenshotRun::fileFor(const QString& form) const {
    return m_outDir + QStringLiteral("/%1-%2.png").arg(form, m_language.toLower());
}

} // namespace kelbrin::test
