#pragma once
// What the editor needs of the platform's audio output: the names of the
// output devices, and a playback graph for a file on one of them.
//
// Device names: the hardware outputs are the device monitor's display names.
// Two more names are always understood by createGraph(): kDefaultOutputName,
// the system's default output (an empty name means the same), and
// kNullOutputName, a silent output that plays in real time (for headless runs
// and tests). The device list kept in the settings (EnumerateSoundCards)
// adds both to the hardware names.

#include <QString>
#include <QStringList>
#include <memory>

namespace kelbrin {

class PlaybackGraph;

inline const QString kDefaultOutputName = QStringLiteral("Default DirectSound Device");
inline const QString kNullOutputName = QStringLiteral("null");

class MediaPlatform {
public:
    virtual ~MediaPlatform() = default;

    // The hardware audio outputs in the framework's order; empty when the
    // machine has none.
    virtual QStringList outputDeviceNames() = 0;

    // A stopped graph playing `file` on the named output, ready to run; or
    // nullptr when it cannot be built: a missing or unplayable file, no
    // decoder, an unknown or unusable device, any element failing to link or
    // to start. A graph that plays nothing is never returned.
    virtual std::shared_ptr<PlaybackGraph> createGraph(const QString& file, const QString& device) = 0;

    // The same for a file whose length in seconds the caller already knows
    // (from the frame index): the graph takes that length as its duration
    // and may be built without waiting for the framework, so it can still be
    // preparing when returned (it then plays as soon as it is ready, and a
    // file that turns out not to play ends at once). The default builds as
    // createGraph does.
    virtual std::shared_ptr<PlaybackGraph> createGraphOfLength(const QString& file, const QString& device,
                                                              double lengthSeconds) {
        (void)lengthSeconds;
        return createGraph(file, device);
    }
};

// The platform in force: GStreamer unless a test installed another.
MediaPlatform& Media();
// Installs a platform (nullptr puts GStreamer back); returns the previous one.
std::unique_ptr<MediaPlatform> SetMediaPlatform(std::unique_ptr<MediaPlatform> platform);

} // namespace kelbrin
