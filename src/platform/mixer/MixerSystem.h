#pragma once
// The system's audio mixers as the encoder server's diagnostics read them:
// numbered devices, each with destination lines (0 playback, 1 capture) that
// gather source lines, and controls on a line with one value per channel.
// Nothing here changes a mixer.
//
// Linux: AlsaMixerSystem (one device per sound card, over the ALSA simple
// mixer). Tests: FakeMixerSystem.

#include <QList>
#include <QString>
#include <cstdint>
#include <memory>
#include <optional>

namespace kelbrin {

namespace mixer {
// Kinds of line; the listing shows the number.
enum ComponentType : std::uint32_t {
    PlaybackDestination = 1,
    CaptureDestination = 2,
};
constexpr int kPlaybackDestination = 0;
constexpr int kCaptureDestination = 1;
} // namespace mixer

struct MixerLine {
    QString name;
    QString shortName;
    std::uint32_t lineId = 0;
    std::uint32_t componentType = 0;
    int channels = 1;
    int connections = 0; // source lines gathered by this destination
    int controls = 0;
};

struct MixerControl {
    std::uint32_t controlId = 0;
    QString name;
    QString shortName;
};

// One opened mixer device; closing is the object's end.
class MixerDevice {
public:
    virtual ~MixerDevice() = default;
    virtual std::optional<MixerLine> destinationLine(int destination) = 0;
    // The line of a component type (the first one when several share it).
    virtual std::optional<MixerLine> lineOfComponentType(std::uint32_t componentType) = 0;
    virtual QList<MixerControl> lineControls(std::uint32_t lineId) = 0;
    // The control's value for each of `channels` channels; nothing on failure.
    virtual std::optional<QList<std::int32_t>> controlValues(std::uint32_t controlId, int channels) = 0;
};

class MixerSystem {
public:
    virtual ~MixerSystem() = default;
    virtual int deviceCount() = 0;
    // Opens device `index` (0 .. deviceCount() - 1); nullptr when it cannot be opened.
    virtual std::unique_ptr<MixerDevice> open(int index) = 0;
};

// The mixers of the running system (an AlsaMixerSystem unless a test installed another).
MixerSystem& Mixers();
std::unique_ptr<MixerSystem> SetMixers(std::unique_ptr<MixerSystem> mixers);

} // namespace kelbrin
