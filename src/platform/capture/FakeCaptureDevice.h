#pragma once
// Test stand-in for the capture device: the test hands blocks over itself
// with deliver(), as the sound card would after each filled block.

#include "CaptureDevice.h"

#include <QList>

namespace kelbrin {

struct FakeCaptureLog {
    int opened = 0;
    int started = 0;
    int stopped = 0;
    int closed = 0;
    int lastDevice = -2;
    CapturePcmFormat lastFormat;
    qint64 lastBlockBytes = 0;
    bool failOpen = false;
};

class FakeCaptureDevice final : public CaptureDevice {
public:
    explicit FakeCaptureDevice(std::shared_ptr<FakeCaptureLog> log) : m_log(std::move(log)) {}
    ~FakeCaptureDevice() override { close(); }

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
    bool running() const { return m_running; }

    // A filled block from the "sound card"; ignored unless capturing.
    void deliver(const QByteArray& block) {
        if (m_running && onBlock)
            onBlock(block);
    }

private:
    std::shared_ptr<FakeCaptureLog> m_log;
    bool m_open = false;
    bool m_running = false;
};

// Hands out fake devices and remembers the last one for the test.
class FakeCapturePlatform final : public CapturePlatform {
public:
    std::shared_ptr<FakeCaptureLog> log = std::make_shared<FakeCaptureLog>();
    FakeCaptureDevice* last = nullptr;

    std::unique_ptr<CaptureDevice> createDevice() override {
        auto device = std::make_unique<FakeCaptureDevice>(log);
        last = device.get();
        return device;
    }
};

} // namespace kelbrin
