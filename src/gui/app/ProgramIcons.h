#pragma once
// The program's own icons, numbered 1101 to 1166. A button's Tag names its icon
// by number, and the same number is the text number of its tooltip.

#include <QIcon>

namespace kelbrin {

constexpr int kFirstProgramIcon = 1101;
constexpr int kLastProgramIcon = 1166;

// The icon with that number; a null icon for a number outside the set.
QIcon ProgramIcon(int number);

} // namespace kelbrin
