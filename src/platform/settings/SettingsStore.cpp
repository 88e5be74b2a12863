#include "SettingsStore.h"

#include "QtSettingsStore.h"

namespace kelbrin {

namespace {
std::unique_ptr<SettingsStore>& storeSlot() {
    static std::unique_ptr<SettingsStore> store;
    return store;
}
} // namespace

SettingsStore& Settings() {
    auto& store = storeSlot();
    if (!store)
        store = std::make_unique<QtSettingsStore>();
    return *store;
}

std::unique_ptr<SettingsStore> SetSettingsStore(std::unique_ptr<SettingsStore> store) {
    auto previous = std::move(storeSlot());
    storeSlot() = std::move(store);
    return previous;
}

} // namespace kelbrin
