#pragma once
// The audio output platform on GStreamer.
//
// Outputs: the device monitor's "Audio/Sink" devices by display name; the
// default output is the sound server's sink (pulsesink) when one answers,
// else ALSA's "default" device; "null" is a fakesink that keeps real time
// (sync=true). autoaudiosink is never used: it falls back to a fake sink
// without a word, and a graph that plays nothing must fail instead.

#include "GstPlaybackGraph.h"
#include "MediaPlatform.h"

typedef struct _GstElement GstElement;

namespace kelbrin {

class GstMediaPlatform final : public MediaPlatform {
public:
    QStringList outputDeviceNames() override;
    std::shared_ptr<PlaybackGraph> createGraph(const QString& file, const QString& device) override;
    std::shared_ptr<PlaybackGraph> createGraphOfLength(const QString& file, const QString& device,
                                                      double lengthSeconds) override;

    // The same, with the concrete type and the reason of a failure; a
    // `lengthSeconds` above 0 builds without waiting (see GstPlaybackGraph).
    std::shared_ptr<GstPlaybackGraph> createGstGraph(const QString& file, const QString& device,
                                                     QString* why = nullptr, double lengthSeconds = 0);

    // The sink element for a device name (a new floating reference), or
    // nullptr when no such output can be opened.
    static GstElement* CreateSink(const QString& device);

    // Seen by every graph built afterwards (tests measure through it).
    AudioTap tap;
};

} // namespace kelbrin
