#pragma once
// Test stand-in for the audio output platform: a scripted device list and
// FakePlaybackGraphs on the given clock. A test installs it with
// SetMediaPlatform and then looks at the graphs that the code under test
// built (and, through the weak references, whether it released them).

#include "FakePlaybackGraph.h"
#include "platform/media/MediaPlatform.h"

#include <QHash>
#include <QList>
#include <QStringList>

namespace kelbrin {

class FakeMediaPlatform final : public MediaPlatform {
public:
    explicit FakeMediaPlatform(const Clock& clock = ProgramClock()) : m_clock(clock) {}

    QStringList outputDeviceNames() override {
        ++deviceListings;
        return devices;
    }

    std::shared_ptr<PlaybackGraph> createGraph(const QString& file, const QString& device) override {
        const bool knownDevice = device.isEmpty() || device == kDefaultOutputName ||
                                 device == kNullOutputName || devices.contains(device);
        if (!knownDevice || unplayable.contains(file)) {
            failed.append({file, device, {}});
            return nullptr;
        }
        auto graph = std::make_shared<FakePlaybackGraph>(m_clock, file, device,
                                                         durations.value(file, defaultDuration));
        built.append({file, device, graph});
        return graph;
    }

    // The most recent graph built for `file` that still exists.
    std::shared_ptr<FakePlaybackGraph> graphFor(const QString& file) const {
        for (auto it = built.crbegin(); it != built.crend(); ++it)
            if (it->file == file)
                if (auto graph = it->graph.lock())
                    return graph;
        return nullptr;
    }

    struct Build {
        QString file;
        QString device;
        std::weak_ptr<FakePlaybackGraph> graph; // expired once released
    };

    // Script.
    QStringList devices;              // the hardware outputs
    QHash<QString, double> durations; // seconds per file
    double defaultDuration = 60.0;    // for files not in the table
    QStringList unplayable;           // files whose graph cannot be built
    // Record.
    QList<Build> built;
    QList<Build> failed;
    int deviceListings = 0;

private:
    const Clock& m_clock;
};

} // namespace kelbrin
