#pragma once
// Refuses a second running editor: a lock file in $XDG_RUNTIME_DIR held for
// the life of the process.

#include <QString>
#include <memory>

class QLockFile;

namespace kelbrin {

class SingleInstance {
public:
    explicit SingleInstance(const QString& name);
    ~SingleInstance();
    // True when this process now holds the lock; false when another one does.
    bool acquire();

private:
    QString m_path;
    std::unique_ptr<QLockFile> m_lock;
};

} // namespace kelbrin
