#pragma once
// A fresh program for each test: shared values reset, an empty open-files
// collection, and settings kept in memory.

#include "core/app/SharedState.h"
#include "core/document/cPozycjePlikow.h"
#include "platform/settings/MemorySettingsStore.h"

#include <memory>

namespace kelbrin::test {

// Returns the installed settings store, owned by the settings layer.
inline MemorySettingsStore* FreshProgramState() {
    ResetSharedState();
    Shared().OpenFiles = std::make_shared<cPozycjePlikow>();
    auto* store = new MemorySettingsStore;
    SetSettingsStore(std::unique_ptr<SettingsStore>(store));
    return store;
}

} // namespace kelbrin::test
