#pragma once
// Refuses a second running editor: a lock on a file in $XDG_RUNTIME_DIR held
// for the life of the process. The system drops the lock when the process
// ends, however it ends, so a crashed editor leaves nothing to clean up.

#include <QString>

namespace kelbrin {

class SingleInstance {
public:
    explicit SingleInstance(const QString& name);
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;
    // True when this process now holds the lock; false when another one does.
    // A lock that cannot be made at all (its folder is read-only or full, its
    // file belongs to someone else) keeps nobody out: true, and unavailable().
    bool acquire();
    bool unavailable() const { return m_unavailable; }

private:
    QString m_path;
    int m_fd = -1;
    bool m_unavailable = false;
};

} // namespace kelbrin
