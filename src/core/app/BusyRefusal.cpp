#include "BusyRefusal.h"

#include "MessageService.h"
#include "TextCatalog.h"
#include "TextNumbers.h"

namespace kelbrin {

bool ReadyOrSayBusy(bool ready) {
    if (!ready)
        ShowText(texts::kOperationRunning, mb::Information);
    return ready;
}

} // namespace kelbrin
