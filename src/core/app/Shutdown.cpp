#include "Shutdown.h"

#include "platform/shell/PowerControl.h"

namespace kelbrin {

void EnableShutdownPrivilege() { Power().enablePrivilege(); }

void ShutdownWindows() {
    EnableShutdownPrivilege();
    Power().powerOff();
}

} // namespace kelbrin
