#include "TestEnvironment.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QThread>
#include <QUuid>

#include <cstdlib>
#include <unistd.h>

namespace kelbrin::test {

namespace {
QString& root() {
    static QString r;
    return r;
}
} // namespace

void SetUpPrivateEnvironment() {
    const QString base = QStringLiteral(KELBRIN_TEST_TMP_ROOT);
    QDir().mkpath(base);
    root() = base + QStringLiteral("/%1-%2").arg(::getpid()).arg(
                         QUuid::createUuid().toString(QUuid::Id128).left(8));
    const char* names[][2] = {{"XDG_CONFIG_HOME", "config"},
                              {"XDG_CACHE_HOME", "cache"},
                              {"XDG_DATA_HOME", "data"},
                              {"XDG_RUNTIME_DIR", "runtime"},
                              {"TMPDIR", "tmp"},
                              {"HOME", "home"}};
    for (auto& n : names) {
        const QString dir = root() + QLatin1Char('/') + QLatin1String(n[1]);
        QDir().mkpath(dir);
        ::setenv(n[0], QFile::encodeName(dir).constData(), 1);
    }
    QFile::setPermissions(root() + QStringLiteral("/runtime"),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    // GStreamer's plugin registry is the same for every test: one shared
    // cache spares each test process a scan of all plugins.
    ::setenv("GST_REGISTRY_1_0", QFile::encodeName(base + QStringLiteral("/gst-registry.bin")).constData(), 1);
    // Tests never answer real dialogs and never power the machine off.
    ::unsetenv("KELBRIN_AUTO_ANSWER");
    ::setenv("KELBRIN_NO_POWEROFF", "1", 1);
    if (!std::getenv("QT_QPA_PLATFORM"))
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
}

QString PrivateRoot() { return root(); }

QString MakeTempDir(const QString& hint) {
    const QString dir = root() + QStringLiteral("/tmp/") + hint + QLatin1Char('-') +
                        QUuid::createUuid().toString(QUuid::Id128).left(8);
    QDir().mkpath(dir);
    return dir;
}

QString MediaDir() { return QStringLiteral(KELBRIN_TEST_MEDIA_DIR); }
QString MediaFile(const QString& name) { return MediaDir() + QLatin1Char('/') + name; }
QString RuntimeDir() { return QStringLiteral(KELBRIN_RUNTIME_DIR); }
QString WriteFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(bytes);
    return path;
}

QString SourceDir() { return QStringLiteral(KELBRIN_SOURCE_DIR); }

bool StartEditorHoldingTheLock(QProcess& editor, const QProcessEnvironment& env, const QString& home) {
    editor.setProcessEnvironment(env);
    editor.setWorkingDirectory(home);
    editor.start(RuntimeDir() + "/kelbrin", {});
    if (!editor.waitForStarted(5000))
        return false;
    const QString lock = home + "/runtime/kelbrin.lock";
    QElapsedTimer waited;
    waited.start();
    while (!QFileInfo::exists(lock) && waited.elapsed() < 30000)
        QThread::msleep(50);
    return QFileInfo::exists(lock);
}

} // namespace kelbrin::test
