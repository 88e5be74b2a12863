#pragma once
// Sound-card capture: a device opened in one PCM format that hands over
// filled blocks of a fixed size, in order, on the Qt thread. Blocks arrive
// from the event loop, so they also arrive inside every yielding loop.
//
// Real devices: GStreamer (GstCaptureDevice). Tests: FakeCaptureDevice.
// The environment variable KELBRIN_CAPTURE_SOURCE, a GStreamer source
// description such as "audiotestsrc is-live=true wave=sine freq=440",
// replaces the chosen device for headless runs.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

namespace kelbrin {

// Interleaved little-endian PCM: 8-bit samples are unsigned, 16-bit signed.
struct CapturePcmFormat {
    int channels = 2;
    int sampleRate = 44100;
    int bitsPerSample = 16;
    int blockAlign() const { return channels * bitsPerSample / 8; }
};

// Who takes what a device captures; called on the Qt thread.
class CaptureReceiver {
public:
    virtual ~CaptureReceiver() = default;
    // Each full block, in capture order.
    virtual void BlockCaptured(const QByteArray& block) = 0;
    // The device failed while capturing.
    virtual void CaptureFailed(const QString& error) = 0;
};

class CaptureDevice {
public:
    virtual ~CaptureDevice() = default;

    // Opens input `device` (-1: the system's default input, else a position
    // in CaptureDeviceList(), CaptureDevices.h) in `format`; blocks will hold
    // `blockBytes` bytes. False with *error filled when it cannot.
    virtual bool open(int device, const CapturePcmFormat& format, qint64 blockBytes, QString* error) = 0;
    // Starts capturing; blocks follow to the receiver.
    virtual bool start(QString* error) = 0;
    // Stops capturing; a partly filled block is dropped.
    virtual void stop() = 0;
    // What has been captured so far: whole blocks go out to the receiver
    // first, and the part of the next block is returned (and forgotten here),
    // so a stop or a pause loses nothing.
    virtual QByteArray takePart() = 0;
    // The size of that part now (what takePart() would hand over, as far as
    // the device has it at hand).
    virtual qint64 partBytes() const = 0;
    // Releases the device. Safe to call more than once.
    virtual void close() = 0;
    virtual bool isOpen() const = 0;

    // Who takes the blocks and hears of a failure (none: they are dropped).
    void setReceiver(CaptureReceiver* receiver) { m_receiver = receiver; }

protected:
    CaptureReceiver* receiver() const { return m_receiver; }

private:
    CaptureReceiver* m_receiver = nullptr;
};

class CapturePlatform {
public:
    virtual ~CapturePlatform() = default;
    virtual std::unique_ptr<CaptureDevice> createDevice() = 0;
};

// The platform in force: GStreamer unless a test installed another.
CapturePlatform& Capture();
// Installs a platform (nullptr puts GStreamer back); returns the previous one.
std::unique_ptr<CapturePlatform> SetCapturePlatform(std::unique_ptr<CapturePlatform> platform);

// The source description from KELBRIN_CAPTURE_SOURCE, empty when unset.
QString CaptureSourceOverride();

} // namespace kelbrin
