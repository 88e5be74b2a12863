#pragma once
// A fresh program for each test: a new set of the program's owned objects,
// an empty open-files collection, and settings kept in memory.

#include "core/app/ProgramObjects.h"
#include "core/document/cPozycjePlikow.h"
#include "platform/settings/MemorySettingsStore.h"

#include <memory>

namespace kelbrin {

namespace test {
inline std::unique_ptr<ProgramObjectSet>& CurrentProgramSet() {
    static std::unique_ptr<ProgramObjectSet> set;
    return set;
}
} // namespace test

// The test program's set, which the tests hand to what they build, as main
// hands its own set.
inline ProgramObjects& Program() {
    auto& set = test::CurrentProgramSet();
    if (!set)
        set = std::make_unique<ProgramObjectSet>();
    return set->objects;
}

namespace test {

// Builds the set anew (the test program's main builds the first one).
inline ProgramObjects& ResetProgramObjects() {
    auto& set = CurrentProgramSet();
    set.reset();
    set = std::make_unique<ProgramObjectSet>();
    return set->objects;
}

// Returns the installed settings store, owned by the settings layer.
inline MemorySettingsStore* FreshProgramState() {
    ResetProgramObjects();
    Program().session.OpenFiles = std::make_shared<cPozycjePlikow>();
    auto* store = new MemorySettingsStore;
    SetSettingsStore(std::unique_ptr<SettingsStore>(store));
    return store;
}

} // namespace test
} // namespace kelbrin
