#pragma once
// The services nearly every test swaps for as long as the object lives:
// settings in memory, the catalogue in English and scripted messages. The
// message service installed before comes back when it goes. A fixture that
// derives from it has them by name.
#include "core/app/MessageService.h"
#include "core/app/TextCatalog.h"
#include "platform/settings/MemorySettingsStore.h"
#include "support/ScriptedMessages.h"
#include "support/TestEnvironment.h"

#include <memory>

namespace kelbrin::test {

class BasicServices {
public:
    explicit BasicServices(const QMap<QString, QString>& settings = {}) {
        store = new MemorySettingsStore;
        store->values = settings;
        SetSettingsStore(std::unique_ptr<SettingsStore>(store));
        Catalog().load(SourceDir() + "/resources/Kelbrin.ini");
        Catalog().setLanguage("ENGLISH");
        auto scripted = std::make_unique<ScriptedMessages>();
        messages = scripted.get();
        previousMessages = SetMessageService(std::move(scripted));
    }
    ~BasicServices() {
        SetMessageService(std::move(previousMessages));
        SetSettingsStore(nullptr);
    }
    BasicServices(const BasicServices&) = delete;
    BasicServices& operator=(const BasicServices&) = delete;

    MemorySettingsStore* store = nullptr;
    ScriptedMessages* messages = nullptr;

private:
    std::unique_ptr<MessageService> previousMessages;
};

} // namespace kelbrin::test
