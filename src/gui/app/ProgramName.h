#pragma once
// The name the editor's windows and boxes show when no caption is given.

#include <QString>

namespace kelbrin {

inline QString ProgramName() {
    return QStringLiteral("Kelbrin");
}

} // namespace kelbrin
