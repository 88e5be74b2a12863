#pragma once
// The program state that a chain plays in for the real-time player tests:
// fresh program objects and settings, the English texts, messages answered
// from a script, no lead time, an output of each track's own, and ranges in
// the file's own time. Held by the test fixture for the test's length.

#include "core/app/MessageService.h"
#include "core/app/TextCatalog.h"
#include "platform/settings/MemorySettingsStore.h"
#include "platform/settings/SettingsStore.h"
#include "support/ProgramState.h"
#include "support/ScriptedMessages.h"
#include "support/TestEnvironment.h"

#include <memory>

namespace kelbrin::test {

class ChainPlayerState {
public:
    ChainPlayerState() {
        ResetProgramObjects();
        SetSettingsStore(std::make_unique<MemorySettingsStore>());
        Catalog().load(SourceDir() + "/resources/Kelbrin.ini");
        Catalog().setLanguage("ENGLISH");
        auto scripted = std::make_unique<ScriptedMessages>();
        messages = scripted.get();
        m_previous = SetMessageService(std::move(scripted));
        Program().settings.OverTakeSeconds = 0;
        Program().outputs.UseDefaultRenderer = false;
        Program().settings.UseOldAlgorithm = true;
    }
    ~ChainPlayerState() {
        SetMessageService(std::move(m_previous));
        SetSettingsStore(nullptr);
    }
    ChainPlayerState(const ChainPlayerState&) = delete;
    ChainPlayerState& operator=(const ChainPlayerState&) = delete;

    ScriptedMessages* messages = nullptr;

private:
    std::unique_ptr<MessageService> m_previous;
};

} // namespace kelbrin::test
