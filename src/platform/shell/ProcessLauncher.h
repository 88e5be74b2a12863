#pragma once
// Starts another program without waiting for it.

#include <QString>
#include <QStringList>

namespace kelbrin {

class ProcessLauncher {
public:
    virtual ~ProcessLauncher() = default;
    // True when the program was started.
    virtual bool startDetached(const QString& program, const QStringList& arguments) = 0;
};

class QtProcessLauncher final : public ProcessLauncher {
public:
    bool startDetached(const QString& program, const QStringList& arguments) override;
};

} // namespace kelbrin
