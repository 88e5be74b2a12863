#pragma once
// What every screenshot program does around its own windows: a private
// environment, a real X display when there is one (xvfb-run gives one), the
// picture folder from the first argument, a settings store in memory and the
// catalogue; then, per window, the smallest size, settled events, a check
// that every caption shows whole, and <form>-<language>.png in the folder.
// Failures are counted and printed; finish() turns them into the exit code.

#include <QString>
#include <QStringList>
#include <memory>

class QApplication;
class QWidget;

namespace kelbrin {
class MemorySettingsStore;
}

namespace kelbrin::test {

class ScreenshotRun {
public:
    // How a window is sized before its picture is taken.
    enum class Fit {
        AsIs,            // the program sized it already
        Smallest,        // as small as its layout allows
        MinimumSize,     // its set minimum size, when it has one
    };

    ScreenshotRun(int& argc, char** argv);
    ~ScreenshotRun();
    ScreenshotRun(const ScreenshotRun&) = delete;
    ScreenshotRun& operator=(const ScreenshotRun&) = delete;

    // Argument `index` of the command line, or `fallback` when it is missing.
    QString argument(int index, const QString& fallback) const;
    const QString& outDir() const { return m_outDir; }
    // The installed settings store (owned by the settings layer).
    MemorySettingsStore* store() const { return m_store; }

    // The catalogue's languages, each picture is taken in.
    static QStringList Languages();
    // Switches the catalogue; the pictures after it carry the language's name.
    void setLanguage(const QString& language);
    const QString& language() const { return m_language; }

    // Sizes the window and lets every pending event run.
    static void Settle(QWidget* window, Fit fit = Fit::AsIs);
    // Counts a failure for every caption of the window that does not show whole.
    void reportCutCaptions(QWidget* window, const QString& form);
    // Saves the window's picture as <form>-<language>.png.
    void save(QWidget* window, const QString& form);
    // Settle, reportCutCaptions and save in one.
    void shoot(QWidget* window, const QString& form, Fit fit = Fit::Smallest);

    // Prints `why` and counts a failure.
    void fail(const QString& why);
    void addFailures(int count) { m_failures += count; }
    int failures() const { return m_failures; }
    // Prints the count and returns the program's exit code.
    int finish() const;

private:
    QString fileFor(const QString& form) const;

    std::unique_ptr<QApplication> m_app;
    QString m_outDir;
    QStringList m_arguments;
    MemorySettingsStore* m_store = nullptr;
    QString m_language;
    int m_failures = 0;
};

} // namespace kelbrin::test
