#include "MixerSystem.h"

#include "AlsaMixerSystem.h"

namespace kelbrin {

namespace {
std::unique_ptr<MixerSystem>& slot() {
    static std::unique_ptr<MixerSystem> mixers;
    return mixers;
}
} // namespace

MixerSystem& Mixers() {
    auto& mixers = slot();
    if (!mixers)
        mixers = std::make_unique<AlsaMixerSystem>();
    return *mixers;
}

std::unique_ptr<MixerSystem> SetMixers(std::unique_ptr<MixerSystem> mixers) {
    auto previous = std::move(slot());
    slot() = std::move(mixers);
    return previous;
}

} // namespace kelbrin
