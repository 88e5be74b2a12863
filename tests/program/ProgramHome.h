#pragma once
// A user's home of its own for a run of the real program: the XDG folders
// (plus any the test names) below `home`, a private runtime folder, no session
// bus and no answered boxes unless the test says so, and an offscreen display.

#include <QDir>
#include <QFile>
#include <QProcessEnvironment>
#include <QStringList>

namespace kelbrin::test {

inline QProcessEnvironment ProgramHome(const QString& home, const QStringList& moreFolders = {}) {
    for (const QString& d : QStringList{"config", "runtime", "data", "cache"} + moreFolders)
        QDir().mkpath(home + "/" + d);
    QFile::setPermissions(home + "/runtime", QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_CONFIG_HOME", home + "/config");
    env.insert("XDG_RUNTIME_DIR", home + "/runtime");
    env.insert("XDG_DATA_HOME", home + "/data");
    env.insert("XDG_CACHE_HOME", home + "/cache");
    env.insert("HOME", home);
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("LANG", "en_US.UTF-8");
    env.remove("DBUS_SESSION_BUS_ADDRESS");
    env.remove("KELBRIN_AUTO_ANSWER");
    return env;
}

} // namespace kelbrin::test
