#pragma once
// Turning the computer off when a recording ends with the turn-off option.

namespace kelbrin {

void EnableShutdownPrivilege();
// Asks the system to power off; failures are not reported (the caller is
// closing down anyway).
void ShutdownWindows();

} // namespace kelbrin
