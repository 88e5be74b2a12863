#include "CaptureHandshake.h"

#include "core/app/Numbers.h"
#include "platform/settings/SettingsStore.h"

namespace kelbrin::handshake {

std::int32_t ReadNumber(const QString& key, std::int32_t missing) {
    SettingsStore& store = Settings();
    store.sync();
    if (!store.contains(key))
        return missing;
    return ValLong(store.read(key));
}

void WriteNumber(const QString& key, std::int64_t value) {
    SettingsStore& store = Settings();
    store.write(key, QString::number(value));
    store.sync();
}

} // namespace kelbrin::handshake
