#pragma once
// The mixers of the ALSA sound cards: device i is the i-th card. Its
// destination 0 gathers the elements that can play, destination 1 those that
// can capture; each such element adds a volume control and a switch control
// for the matching direction, where it has them.

#include "MixerSystem.h"

namespace kelbrin {

class AlsaMixerSystem final : public MixerSystem {
public:
    int deviceCount() override;
    std::unique_ptr<MixerDevice> open(int index) override;
};

} // namespace kelbrin
