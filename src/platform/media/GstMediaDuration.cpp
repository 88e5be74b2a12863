#include "GstMediaDuration.h"

#include "GstSetup.h"

#include <QFileInfo>
#include <QUrl>

#include <gst/gst.h>
#include <gst/pbutils/pbutils.h>

namespace kelbrin {

namespace {

constexpr GstClockTime kDiscoverTimeout = 10 * GST_SECOND;

} // namespace

std::optional<double> GstMediaDurationReader::durationSeconds(const QString& path) {
    if (!EnsureGstreamer() || !QFileInfo(path).isFile())
        return std::nullopt;
    GError* error = nullptr;
    GstDiscoverer* discoverer = gst_discoverer_new(kDiscoverTimeout, &error);
    if (!discoverer) {
        g_clear_error(&error);
        return std::nullopt;
    }
    const QByteArray uri = QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()).toEncoded();
    GstDiscovererInfo* info = gst_discoverer_discover_uri(discoverer, uri.constData(), &error);
    std::optional<double> seconds;
    if (info && gst_discoverer_info_get_result(info) == GST_DISCOVERER_OK) {
        const GstClockTime duration = gst_discoverer_info_get_duration(info);
        if (GST_CLOCK_TIME_IS_VALID(duration))
            seconds = static_cast<double>(duration) / GST_SECOND;
    }
    if (info)
        g_object_unref(info);
    g_clear_error(&error);
    g_object_unref(discoverer);
    return seconds;
}

} // namespace kelbrin
