#pragma once
// The audio output devices the players may use.

#include <QStringList>

namespace kelbrin {

struct AudioOutputs {
    QStringList SoundCards;        // filled from the audio device list
    bool UseDefaultRenderer = true; // every player plays on the system default
    bool DevicesPending = false;    // no stored list: the devices are asked on first need
};

} // namespace kelbrin
