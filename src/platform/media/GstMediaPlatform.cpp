#include "GstMediaPlatform.h"

#include "GstSetup.h"

#include <gst/gst.h>

namespace kelbrin {

namespace {

// Runs `visit` on every audio output device until it returns true.
template <typename Visit> void ForEachOutputDevice(Visit visit) {
    GstDeviceMonitor* monitor = gst_device_monitor_new();
    GstCaps* caps = gst_caps_new_empty_simple("audio/x-raw");
    gst_device_monitor_add_filter(monitor, "Audio/Sink", caps);
    gst_caps_unref(caps);
    if (gst_device_monitor_start(monitor)) {
        GList* devices = gst_device_monitor_get_devices(monitor);
        bool done = false;
        for (GList* it = devices; it && !done; it = it->next)
            done = visit(GST_DEVICE(it->data));
        g_list_free_full(devices, gst_object_unref);
        gst_device_monitor_stop(monitor);
    }
    gst_object_unref(monitor);
}

QString DisplayName(GstDevice* device) {
    gchar* name = gst_device_get_display_name(device);
    const QString text = QString::fromUtf8(name ? name : "");
    g_free(name);
    return text;
}

// A sink that could open its device, closed again; nullptr otherwise.
GstElement* Openable(GstElement* sink) {
    if (!sink)
        return nullptr;
    gst_object_ref_sink(sink);
    const bool opens = gst_element_set_state(sink, GST_STATE_READY) != GST_STATE_CHANGE_FAILURE;
    gst_element_set_state(sink, GST_STATE_NULL);
    if (!opens) {
        gst_object_unref(sink);
        return nullptr;
    }
    return sink;
}

GstElement* DefaultSink() {
    if (GstElement* server = Openable(gst_element_factory_make("pulsesink", "output")))
        return server;
    GstElement* alsa = gst_element_factory_make("alsasink", "output");
    if (alsa)
        g_object_set(alsa, "device", "default", nullptr);
    return Openable(alsa);
}

} // namespace

QStringList GstMediaPlatform::outputDeviceNames() {
    QStringList names;
    if (!EnsureGstreamer())
        return names;
    ForEachOutputDevice([&](GstDevice* device) {
        names.append(DisplayName(device));
        return false;
    });
    return names;
}

GstElement* GstMediaPlatform::CreateSink(const QString& device) {
    if (!EnsureGstreamer())
        return nullptr;
    if (device == kNullOutputName) {
        GstElement* sink = gst_element_factory_make("fakesink", "output");
        if (sink)
            g_object_set(sink, "sync", TRUE, nullptr);
        return sink;
    }
    if (device.trimmed().isEmpty() || device == kDefaultOutputName)
        return DefaultSink();
    GstElement* sink = nullptr;
    ForEachOutputDevice([&](GstDevice* candidate) {
        if (DisplayName(candidate) != device)
            return false;
        sink = Openable(gst_device_create_element(candidate, "output"));
        return sink != nullptr;
    });
    return sink;
}

std::shared_ptr<GstPlaybackGraph> GstMediaPlatform::createGstGraph(const QString& file, const QString& device,
                                                                   QString* why, double lengthSeconds) {
    GstElement* sink = CreateSink(device);
    if (!sink) {
        if (why)
            *why = QStringLiteral("the output cannot be opened: ") + device;
        return nullptr;
    }
    return GstPlaybackGraph::Build(file, sink, tap, why, lengthSeconds);
}

std::shared_ptr<PlaybackGraph> GstMediaPlatform::createGraph(const QString& file, const QString& device) {
    return createGstGraph(file, device);
}

std::shared_ptr<PlaybackGraph> GstMediaPlatform::createGraphOfLength(const QString& file, const QString& device,
                                                                     double lengthSeconds) {
    return createGstGraph(file, device, nullptr, lengthSeconds);
}

} // namespace kelbrin
