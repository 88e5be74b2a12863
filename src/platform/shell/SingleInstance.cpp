#include "SingleInstance.h"

#include <QDir>
#include <QLockFile>
#include <QStandardPaths>

namespace kelbrin {

SingleInstance::SingleInstance(const QString& name) {
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty())
        dir = QDir::tempPath();
    m_path = dir + QLatin1Char('/') + name + QStringLiteral(".lock");
}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::acquire() {
    if (m_lock && m_lock->isLocked())
        return true;
    m_lock = std::make_unique<QLockFile>(m_path);
    // A lock left by a crashed editor is stale once its process is gone.
    m_lock->setStaleLockTime(0);
    return m_lock->tryLock(0);
}

} // namespace kelbrin
