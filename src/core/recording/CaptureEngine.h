#pragma once
// The capture side of a recording: the sound-card device, the shared buffer
// file and the blocks written into it for the encoder server.
//
// The buffer file, "Bufor<device>.tmp" in the temporary recording folder,
// holds raw PCM blocks of exactly the block size, no header. The handshake
// (RecordingHandshake) counts the blocks written and acknowledged; once the
// server has acknowledged every block, the next block empties the file
// first, so the file never holds more than the server's backlog.

#include "CaptureStatus.h"
#include "RecordingHandshake.h"
#include "platform/capture/CaptureDevice.h"

#include <QFile>
#include <QString>
#include <functional>
#include <memory>

namespace kelbrin {

class Clock;
struct RecordingConfiguration;

// Told when the recording cannot go on as it is. Every call comes from inside
// the device's delivery of a block: whoever listens stops the recording at
// the next chance and shows nothing before the delivery has returned.
class CaptureFailures {
public:
    virtual ~CaptureFailures() = default;
    // The disk of the temporary folder has room for fewer than 20 blocks.
    virtual void DiskNearlyFull() = 0;
    // A block could not be written; the recording cannot go on.
    virtual void WriteFailed(const QString& error) = 0;
    // The device failed while capturing.
    virtual void DeviceFailed(const QString& error) = 0;
};

class CaptureEngine : private CaptureReceiver {
public:
    // `clock` frees a device that was torn down from inside its own delivery.
    CaptureEngine(CapturePlatform& platform, Clock& clock, RecordingConfiguration& recording, CaptureStatus& status);

    CaptureStatus& status() { return m_status; }
    ~CaptureEngine();

    // The name of the buffer file of a capture device ("Bufor-1.tmp" for the default).
    static QString BufferFileName(std::int32_t device);

    // Opens and starts the device; the handshake counters start at 0.
    // False with *error and *function (the failing step) when it cannot.
    bool StartDevice(std::int32_t device, const CapturePcmFormat& format, std::int64_t blockBytes,
                     QString* error, QString* function);
    // Stops and releases the device (safe when none is open).
    void TearDownDevice();

    // -1: a new, empty buffer file; 0: reopened after a pause, written on at its end.
    bool OpenBufferFile(int mode, QString* error);
    void CloseBufferFile();
    QString BufferFilePath() const;

    // One filled block from the device (the device calls it; tests too). A
    // shorter one is the part captured before a stop or a pause.
    void HandleBlock(const QByteArray& block);
    // Writes the part of a block captured so far, before a stop or a pause
    // closes the buffer file, so the recording holds everything captured.
    void WritePartBlock();

    // Any of the first 101 samples is louder than 10 (on the 16-bit scale;
    // 8-bit samples are unsigned around 128 and count 256 to a step).
    static bool BlockHasSound(const QByteArray& block, int bitsPerSample);

    // A timed recording keeps at most `bytes` (-1: no end): what the device
    // captures beyond them is left out, so the recording lasts its time to the
    // sample however late the clock sees the end.
    void setByteLimit(std::int64_t bytes) { m_byteLimit = bytes; }
    bool limitReached() const { return m_byteLimit >= 0 && capturedBytes() >= m_byteLimit; }
    // This recording's bytes so far: written, and held by the device for the next block.
    std::int64_t capturedBytes() const;
    std::int64_t bytesPerSecond() const { return std::int64_t(m_format.sampleRate) * m_format.blockAlign(); }

    bool SoundPresent = true;
    std::int64_t blockBytes() const { return m_blockBytes; }
    // The recording's side of the handshake with the encoder server.
    CaptureHandshake& handshake() { return m_handshake; }

    // Who hears of the failures (none: nobody).
    void setFailures(CaptureFailures* failures) { m_failures = failures; }
    // The free bytes of the buffer file's disk (tests replace it).
    std::function<std::int64_t(const QString& folder)> freeBytes;

private:
    // The device's deliveries.
    void BlockCaptured(const QByteArray& block) override;
    void CaptureFailed(const QString& error) override;

    CapturePlatform& m_platform;
    Clock& m_clock;
    RecordingConfiguration& m_recording; // folder, device and format of the buffer
    CaptureStatus& m_status;
    CaptureFailures* m_failures = nullptr;
    std::unique_ptr<CaptureDevice> m_device;
    std::shared_ptr<int> m_delivering = std::make_shared<int>(0); // the device's callbacks now running
    QFile m_file;
    CapturePcmFormat m_format;
    CaptureHandshake m_handshake;
    std::int64_t m_blockBytes = 0;
    std::int64_t m_byteLimit = -1;
    std::int64_t m_written = 0; // bytes of this recording in the buffer file
    int m_freeSpaceCounter = 0;
    bool m_testNext = false; // the silence test runs on every second block
};

} // namespace kelbrin
