#pragma once
// Each test process gets its own XDG folders inside the build tree, so no test
// touches the user's settings, caches or runtime files.

#include <QByteArray>
#include <QString>

class QProcess;
class QProcessEnvironment;

namespace kelbrin::test {

// Creates the private folders and points the XDG variables at them. Call before
// any Qt application object exists.
void SetUpPrivateEnvironment();

// The private root of this test process (holds config/, cache/, data/, runtime/, tmp/).
QString PrivateRoot();
// A fresh empty folder below the private root.
QString MakeTempDir(const QString& hint = QStringLiteral("tmp"));
// Folder of the generated test media, and a file in it.
QString MediaDir();
QString MediaFile(const QString& name);
// The build's program folder (holds kelbrin, capturon and Kelbrin.ini).
QString RuntimeDir();
// Writes `bytes` to `path` (creating its folder); returns the path.
QString WriteFile(const QString& path, const QByteArray& bytes);
QString SourceDir();
// Starts the editor in `home` with `env` and waits until it holds the
// single-instance lock (home/runtime), so that a second start meets it.
bool StartEditorHoldingTheLock(QProcess& editor, const QProcessEnvironment& env, const QString& home);

} // namespace kelbrin::test
