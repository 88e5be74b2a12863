#include "SettingsStore.h"

#include "QtSettingsStore.h"

#include <QFile>
#include <cstdio>

namespace kelbrin {

namespace {
std::unique_ptr<SettingsStore>& storeSlot() {
    static std::unique_ptr<SettingsStore> store;
    return store;
}
SettingsFailureHandler& failureHandler() {
    static SettingsFailureHandler handler;
    return handler;
}
} // namespace

SettingsStore& Settings() {
    auto& store = storeSlot();
    if (!store)
        store = std::make_unique<QtSettingsStore>();
    return *store;
}

void SetSettingsFailureHandler(SettingsFailureHandler handler) {
    failureHandler() = std::move(handler);
}

void ReportSettingsFailure(const QString& file, SettingsFault fault) {
    if (failureHandler()) {
        failureHandler()(file, fault);
        return;
    }
    if (fault == SettingsFault::Damaged)
        std::fprintf(stderr, "Settings file %s was damaged: its unreadable lines were skipped\n",
                     QFile::encodeName(file).constData());
    else
        std::fprintf(stderr, "Settings not saved to %s: the file cannot be written\n",
                     QFile::encodeName(file).constData());
}

std::unique_ptr<SettingsStore> SetSettingsStore(std::unique_ptr<SettingsStore> store) {
    auto previous = std::move(storeSlot());
    storeSlot() = std::move(store);
    return previous;
}

} // namespace kelbrin
