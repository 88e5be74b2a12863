#pragma once
// Capture over GStreamer: the chosen input (or the KELBRIN_CAPTURE_SOURCE
// description) -> audioconvert -> audioresample -> the capture format ->
// appsink. The sink is emptied from a Qt timer, so blocks reach the Qt thread
// in order and no callback runs on GStreamer's threads.

#include "CaptureDevice.h"

#include <QTimer>

typedef struct _GstElement GstElement;

namespace kelbrin {

class GstCaptureDevice final : public CaptureDevice {
public:
    GstCaptureDevice();
    ~GstCaptureDevice() override;

    bool open(int device, const CapturePcmFormat& format, qint64 blockBytes, QString* error) override;
    bool start(QString* error) override;
    void stop() override;
    QByteArray takePart() override;
    qint64 partBytes() const override { return m_pending.size(); }
    void close() override;
    bool isOpen() const override { return m_pipeline != nullptr; }

private:
    void poll();
    bool readBusError(QString* error);

    GstElement* m_pipeline = nullptr;
    GstElement* m_sink = nullptr;
    qint64 m_blockBytes = 0;
    QByteArray m_pending;
    QTimer m_poll;
    bool m_running = false;
};

class GstCapturePlatform final : public CapturePlatform {
public:
    std::unique_ptr<CaptureDevice> createDevice() override;
};

} // namespace kelbrin
