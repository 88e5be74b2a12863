#pragma once
// Test stand-in for the capture device: the test hands blocks over itself
// with deliver(), as the sound card would after each filled block.

#include "platform/capture/CaptureDevice.h"

#include <QList>

namespace kelbrin {

class FakeCaptureDevice;

struct FakeCaptureLog {
    FakeCaptureDevice* live = nullptr; // the device that exists now, if any
    int opened = 0;
    int started = 0;
    int stopped = 0;
    int closed = 0;
    int lastDevice = -2;
    CapturePcmFormat lastFormat;
    qint64 lastBlockBytes = 0;
    bool failOpen = false;
    bool delivering = false;          // a block is being handed over now
    int destroyedWhileDelivering = 0; // a device freed from inside its own callback
};

class FakeCaptureDevice final : public CaptureDevice {
public:
    explicit FakeCaptureDevice(std::shared_ptr<FakeCaptureLog> log) : m_log(std::move(log)) { m_log->live = this; }
    ~FakeCaptureDevice() override {
        if (m_log->delivering)
            ++m_log->destroyedWhileDelivering;
        close();
        if (m_log->live == this)
            m_log->live = nullptr;
    }

    bool open(int device, const CapturePcmFormat& format, qint64 blockBytes, QString* error) override {
        if (m_log->failOpen) {
            if (error)
                *error = QStringLiteral("no such device");
            return false;
        }
        ++m_log->opened;
        m_log->lastDevice = device;
        m_log->lastFormat = format;
        m_log->lastBlockBytes = blockBytes;
        m_open = true;
        return true;
    }
    bool start(QString*) override {
        ++m_log->started;
        m_running = true;
        return true;
    }
    void stop() override {
        if (m_running)
            ++m_log->stopped;
        m_running = false;
    }
    void close() override {
        if (m_open)
            ++m_log->closed;
        m_open = false;
        m_running = false;
    }
    bool isOpen() const override { return m_open; }
    QByteArray takePart() override {
        QByteArray taken;
        taken.swap(part);
        return taken;
    }
    qint64 partBytes() const override { return part.size(); }
    bool running() const { return m_running; }

    // Captured since the last whole block; takePart() hands it over.
    QByteArray part;

    // A filled block from the "sound card"; ignored unless capturing.
    void deliver(const QByteArray& block) {
        if (!m_running || !receiver())
            return;
        const std::shared_ptr<FakeCaptureLog> log = m_log; // this device may not outlive the call
        log->delivering = true;
        receiver()->BlockCaptured(block);
        log->delivering = false;
    }
    // The "sound card" fails while capturing.
    void fail(const QString& error) {
        if (!receiver())
            return;
        const std::shared_ptr<FakeCaptureLog> log = m_log;
        log->delivering = true;
        m_running = false;
        receiver()->CaptureFailed(error);
        log->delivering = false;
    }

private:
    std::shared_ptr<FakeCaptureLog> m_log;
    bool m_open = false;
    bool m_running = false;
};

// Hands out fake devices; the test reaches the one that exists through last().
class FakeCapturePlatform final : public CapturePlatform {
public:
    std::shared_ptr<FakeCaptureLog> log = std::make_shared<FakeCaptureLog>();

    // The device now in use, or null once it was released.
    FakeCaptureDevice* last() const { return log->live; }
    std::unique_ptr<CaptureDevice> createDevice() override { return std::make_unique<FakeCaptureDevice>(log); }
};

} // namespace kelbrin
