#include "CaptureDevices.h"

#include "platform/media/GstSetup.h"

#include <gst/gst.h>

namespace kelbrin {

QStringList GstCaptureDevices::names() {
    QStringList names;
    if (!EnsureGstreamer())
        return names;
    GstDeviceMonitor* monitor = gst_device_monitor_new();
    GstCaps* caps = gst_caps_new_empty_simple("audio/x-raw");
    gst_device_monitor_add_filter(monitor, "Audio/Source", caps);
    gst_caps_unref(caps);
    if (gst_device_monitor_start(monitor)) {
        GList* devices = gst_device_monitor_get_devices(monitor);
        for (GList* it = devices; it; it = it->next) {
            gchar* name = gst_device_get_display_name(GST_DEVICE(it->data));
            if (name && *name)
                names.append(QString::fromUtf8(name));
            g_free(name);
        }
        g_list_free_full(devices, gst_object_unref);
        gst_device_monitor_stop(monitor);
    }
    gst_object_unref(monitor);
    names.sort(Qt::CaseInsensitive);
    return names;
}

} // namespace kelbrin
