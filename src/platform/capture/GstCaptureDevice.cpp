#include "GstCaptureDevice.h"

#include "CaptureDevices.h"
#include "platform/media/GstSetup.h"

#include <gst/app/gstappsink.h>
#include <gst/gst.h>

namespace kelbrin {

QString CaptureSourceOverride() {
    return QString::fromLocal8Bit(qgetenv("KELBRIN_CAPTURE_SOURCE")).trimmed();
}

namespace {

// The sink keeps what arrives; the recorder takes whole blocks (a second or
// more of sound at the usual settings), so ten looks a second hand them on
// in good time without waking the window's thread for every small buffer.
constexpr int kPollMs = 100;

QString Fetched(gchar* text) {
    const QString result = QString::fromUtf8(text ? text : "");
    g_free(text);
    return result;
}

// The inputs the device monitor sees.
GList* ListSources() {
    GstDeviceMonitor* monitor = gst_device_monitor_new();
    gst_device_monitor_add_filter(monitor, "Audio/Source", nullptr);
    GList* devices = nullptr;
    if (gst_device_monitor_start(monitor)) {
        devices = gst_device_monitor_get_devices(monitor);
        gst_device_monitor_stop(monitor);
    }
    gst_object_unref(monitor);
    return devices;
}

// The source element: the override description, the numbered input, or the
// system's default input (PulseAudio when present, else ALSA's default).
GstElement* MakeSource(int device, QString* error) {
    const QString description = CaptureSourceOverride();
    if (!description.isEmpty()) {
        GError* failure = nullptr;
        GstElement* bin = gst_parse_bin_from_description(description.toUtf8().constData(), TRUE, &failure);
        if (!bin && error)
            *error = QStringLiteral("KELBRIN_CAPTURE_SOURCE: ") +
                     QString::fromUtf8(failure ? failure->message : "invalid description");
        if (failure)
            g_error_free(failure);
        return bin;
    }
    if (device >= 0) {
        // The settings keep a position in the list the settings window showed.
        const QString name = GstCaptureDevices().names().value(device);
        GList* devices = ListSources();
        GstElement* element = nullptr;
        for (GList* item = devices; item && !element && !name.isEmpty(); item = item->next)
            if (Fetched(gst_device_get_display_name(GST_DEVICE(item->data))) == name)
                element = gst_device_create_element(GST_DEVICE(item->data), nullptr);
        g_list_free_full(devices, gst_object_unref);
        if (!element && error)
            *error = QStringLiteral("The capture device %1 is not available.").arg(device + 1);
        return element;
    }
    for (const char* factory : {"pulsesrc", "alsasrc"})
        if (GstElement* element = gst_element_factory_make(factory, nullptr))
            return element;
    if (error)
        *error = QStringLiteral("No capture source (pulsesrc or alsasrc) is installed.");
    return nullptr;
}

} // namespace

GstCaptureDevice::GstCaptureDevice() {
    m_poll.setInterval(kPollMs);
    QObject::connect(&m_poll, &QTimer::timeout, [this] { poll(); });
}

GstCaptureDevice::~GstCaptureDevice() { close(); }

bool GstCaptureDevice::open(int device, const CapturePcmFormat& format, qint64 blockBytes, QString* error) {
    close();
    if (!EnsureGstreamer()) {
        if (error)
            *error = QStringLiteral("GStreamer cannot start.");
        return false;
    }
    if (blockBytes <= 0 || format.channels < 1 || format.sampleRate < 1 ||
        (format.bitsPerSample != 8 && format.bitsPerSample != 16)) {
        if (error)
            *error = QStringLiteral("The capture format is not supported.");
        return false;
    }
    GstElement* source = MakeSource(device, error);
    if (!source)
        return false;
    GstElement* convert = gst_element_factory_make("audioconvert", nullptr);
    GstElement* resample = gst_element_factory_make("audioresample", nullptr);
    GstElement* filter = gst_element_factory_make("capsfilter", nullptr);
    GstElement* sink = gst_element_factory_make("appsink", nullptr);
    m_pipeline = gst_pipeline_new("capture");
    if (!convert || !resample || !filter || !sink) {
        for (GstElement* e : {source, convert, resample, filter, sink})
            if (e)
                gst_object_unref(e);
        gst_object_unref(m_pipeline);
        m_pipeline = nullptr;
        if (error)
            *error = QStringLiteral("The GStreamer base plug-ins are missing.");
        return false;
    }
    GstCaps* caps = gst_caps_new_simple("audio/x-raw", "format", G_TYPE_STRING,
                                        format.bitsPerSample == 8 ? "U8" : "S16LE", "rate", G_TYPE_INT,
                                        format.sampleRate, "channels", G_TYPE_INT, format.channels, "layout",
                                        G_TYPE_STRING, "interleaved", nullptr);
    g_object_set(filter, "caps", caps, nullptr);
    gst_caps_unref(caps);
    // Nothing is dropped: the sink keeps every buffer until the poll takes it.
    g_object_set(sink, "sync", FALSE, "max-buffers", 0u, "drop", FALSE, "emit-signals", FALSE, nullptr);
    gst_bin_add_many(GST_BIN(m_pipeline), source, convert, resample, filter, sink, nullptr);
    if (!gst_element_link_many(source, convert, resample, filter, sink, nullptr)) {
        close();
        if (error)
            *error = QStringLiteral("The capture source cannot deliver the capture format.");
        return false;
    }
    m_sink = sink;
    m_blockBytes = blockBytes;
    m_pending.clear();
    if (gst_element_set_state(m_pipeline, GST_STATE_PAUSED) == GST_STATE_CHANGE_FAILURE) {
        QString busError;
        readBusError(&busError);
        close();
        if (error)
            *error = busError.isEmpty() ? QStringLiteral("The capture device cannot be opened.") : busError;
        return false;
    }
    return true;
}

bool GstCaptureDevice::start(QString* error) {
    if (!m_pipeline) {
        if (error)
            *error = QStringLiteral("The capture device is not open.");
        return false;
    }
    if (gst_element_set_state(m_pipeline, GST_STATE_PLAYING) == GST_STATE_CHANGE_FAILURE) {
        QString busError;
        readBusError(&busError);
        if (error)
            *error = busError.isEmpty() ? QStringLiteral("The capture device cannot start.") : busError;
        return false;
    }
    m_running = true;
    m_poll.start();
    return true;
}

void GstCaptureDevice::stop() {
    m_running = false;
    m_poll.stop();
    if (m_pipeline)
        gst_element_set_state(m_pipeline, GST_STATE_PAUSED);
    m_pending.clear();
}

QByteArray GstCaptureDevice::takePart() {
    poll(); // what the sink holds, whole blocks handed over
    QByteArray part;
    part.swap(m_pending);
    return part;
}

void GstCaptureDevice::close() {
    m_running = false;
    m_poll.stop();
    if (m_pipeline) {
        gst_element_set_state(m_pipeline, GST_STATE_NULL);
        gst_object_unref(m_pipeline);
    }
    m_pipeline = nullptr;
    m_sink = nullptr;
    m_pending.clear();
}

bool GstCaptureDevice::readBusError(QString* error) {
    if (!m_pipeline)
        return false;
    GstBus* bus = gst_element_get_bus(m_pipeline);
    bool found = false;
    while (GstMessage* message = gst_bus_pop_filtered(bus, GstMessageType(GST_MESSAGE_ERROR | GST_MESSAGE_EOS))) {
        if (GST_MESSAGE_TYPE(message) == GST_MESSAGE_ERROR) {
            GError* failure = nullptr;
            gchar* debug = nullptr;
            gst_message_parse_error(message, &failure, &debug);
            if (error && !found)
                *error = QString::fromUtf8(failure ? failure->message : "capture error");
            if (failure)
                g_error_free(failure);
            g_free(debug);
        } else if (error && !found) {
            *error = QStringLiteral("The capture source ended.");
        }
        found = true;
        gst_message_unref(message);
    }
    gst_object_unref(bus);
    return found;
}

void GstCaptureDevice::poll() {
    if (!m_running || !m_sink)
        return;
    while (GstSample* sample = gst_app_sink_try_pull_sample(GST_APP_SINK(m_sink), 0)) {
        if (GstBuffer* buffer = gst_sample_get_buffer(sample)) {
            GstMapInfo map;
            if (gst_buffer_map(buffer, &map, GST_MAP_READ)) {
                m_pending.append(reinterpret_cast<const char*>(map.data), static_cast<qsizetype>(map.size));
                gst_buffer_unmap(buffer, &map);
            }
        }
        gst_sample_unref(sample);
    }
    while (m_running && m_pending.size() >= m_blockBytes) {
        const QByteArray block = m_pending.left(m_blockBytes);
        m_pending.remove(0, m_blockBytes);
        if (receiver())
            receiver()->BlockCaptured(block); // may stop or close this device
    }
    QString error;
    if (m_running && readBusError(&error)) {
        m_running = false;
        m_poll.stop();
        if (receiver())
            receiver()->CaptureFailed(error);
    }
}

std::unique_ptr<CaptureDevice> GstCapturePlatform::createDevice() { return std::make_unique<GstCaptureDevice>(); }

} // namespace kelbrin
