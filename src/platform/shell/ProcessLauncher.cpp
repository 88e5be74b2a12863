#include "ProcessLauncher.h"

#include <QProcess>

namespace kelbrin {

bool QtProcessLauncher::startDetached(const QString& program, const QStringList& arguments) {
    return QProcess::startDetached(program, arguments);
}

} // namespace kelbrin
