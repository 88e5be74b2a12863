#pragma once
// The end of a run nobody watched (an unattended batch script): its files are
// written and closed, so the process leaves without taking the application
// and the program's objects down one by one.

namespace kelbrin {

// Writes the settings to their file as the end of the process would, flushes
// the standard streams and ends the process with `status`.
[[noreturn]] void LeaveAtOnce(int status);

} // namespace kelbrin
