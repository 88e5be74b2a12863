#include "CaptureEngine.h"

#include "CaptureBufferFolder.h"
#include "RecordingConfiguration.h"
#include "platform/media/Clock.h"

#include <QStorageInfo>
#include <algorithm>
#include <cstdlib>

namespace kelbrin {

namespace {
constexpr int kRetireRetryMs = 20;
constexpr int kSilenceValues = 101;
constexpr int kSilenceLevel = 10;
constexpr int kFreeSpaceEvery = 10;
constexpr int kFreeSpaceBlocks = 20;
// Frees a device once it has returned from its own callback: at a later turn
// of the event loop, and again later while a nested loop still runs inside it.
void RetireLater(Clock& clock, std::shared_ptr<CaptureDevice> device, std::shared_ptr<int> delivering) {
    clock.callAfter(kRetireRetryMs, [&clock, device = std::move(device), delivering]() mutable {
        if (*delivering > 0)
            RetireLater(clock, std::move(device), std::move(delivering));
    });
}

} // namespace

CaptureEngine::CaptureEngine(CapturePlatform& platform, Clock& clock, RecordingConfiguration& recording,
                             CaptureStatus& status)
    : m_platform(platform), m_clock(clock), m_recording(recording), m_status(status) {
    freeBytes = [](const QString& folder) -> std::int64_t {
        const QStorageInfo storage(folder);
        return storage.isValid() ? storage.bytesAvailable() : -1;
    };
}

CaptureEngine::~CaptureEngine() {
    TearDownDevice();
    CloseBufferFile();
}

QString CaptureEngine::BufferFileName(std::int32_t device) {
    return QStringLiteral("Bufor") + QString::number(device) + QStringLiteral(".tmp");
}

bool CaptureEngine::StartDevice(std::int32_t device, const CapturePcmFormat& format, std::int64_t blockBytes,
                                QString* error, QString* function) {
    TearDownDevice();
    m_format = format;
    m_blockBytes = blockBytes;
    m_device = m_platform.createDevice();
    m_device->setReceiver(this);
    if (!m_device->open(device, format, blockBytes, error)) {
        if (function)
            *function = QStringLiteral("open");
        m_device.reset();
        return false;
    }
    // The device is open: a new recording with nothing written.
    m_freeSpaceCounter = 0;
    m_testNext = false;
    m_written = 0;
    m_byteLimit = -1;
    m_handshake.reset();
    if (!m_device->start(error)) {
        if (function)
            *function = QStringLiteral("start");
        TearDownDevice();
        return false;
    }
    return true;
}

// The depth counter outlives this engine: it tells a teardown from inside a
// delivery that the device is still on the stack.
void CaptureEngine::BlockCaptured(const QByteArray& block) {
    const std::shared_ptr<int> delivering = m_delivering;
    ++*delivering;
    HandleBlock(block);
    --*delivering;
}

void CaptureEngine::CaptureFailed(const QString& error) {
    const std::shared_ptr<int> delivering = m_delivering;
    ++*delivering;
    if (m_failures)
        m_failures->DeviceFailed(error);
    --*delivering;
}

void CaptureEngine::TearDownDevice() {
    if (!m_device)
        return;
    m_device->stop();
    m_device->close();
    if (*m_delivering > 0) {
        // Called from inside the device's own callback: it is freed once that
        // has returned. Stopped and closed, it delivers nothing more.
        RetireLater(m_clock, std::move(m_device), m_delivering);
        return;
    }
    m_device->setReceiver(nullptr);
    m_device.reset();
}

QString CaptureEngine::BufferFilePath() const {
    return m_recording.TempRecordFolder + m_status.bufferName;
}

bool CaptureEngine::OpenBufferFile(int mode, QString* error) {
    CloseBufferFile();
    if (mode == -1)
        SettleBufferFolder(m_recording);
    m_status.bufferName = BufferFileName(m_recording.CaptureDevice);
    const QString path = BufferFilePath();
    if (mode == -1 && QFile::exists(path))
        QFile::remove(path);
    m_file.setFileName(path);
    // ReadWrite keeps what a resumed recording has not yet had encoded. The
    // sound is the user's alone: a new file is readable by nobody else.
    const QFileDevice::Permissions ownerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
    if (!m_file.open(QIODevice::ReadWrite | QIODevice::Unbuffered, ownerOnly) || !m_file.seek(m_file.size())) {
        if (error)
            *error = m_file.errorString();
        m_file.close();
        return false;
    }
    // What was captured during the pause is not part of the recording.
    if (mode == 0 && m_device)
        m_device->takePart();
    if (mode == -1 && !m_file.resize(0)) {
        if (error)
            *error = m_file.errorString();
        m_file.close();
        return false;
    }
    m_status.fileOpen = true;
    return true;
}

void CaptureEngine::WritePartBlock() {
    if (!m_device || !m_status.fileOpen)
        return;
    const QByteArray part = m_device->takePart();
    if (!part.isEmpty())
        HandleBlock(part);
}

std::int64_t CaptureEngine::capturedBytes() const {
    const bool open = m_status.fileOpen && m_device;
    return m_written + (open ? m_device->partBytes() : 0);
}

void CaptureEngine::CloseBufferFile() {
    if (m_file.isOpen())
        m_file.close();
    m_status.fileOpen = false;
}

bool CaptureEngine::BlockHasSound(const QByteArray& block, int bitsPerSample) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(block.constData());
    if (bitsPerSample == 8) {
        const qsizetype n = std::min<qsizetype>(block.size(), kSilenceValues);
        for (qsizetype i = 0; i < n; ++i)
            if (std::abs((int(bytes[i]) - 128) * 256) > kSilenceLevel)
                return true;
        return false;
    }
    const qsizetype n = std::min<qsizetype>(block.size() / 2, kSilenceValues);
    for (qsizetype i = 0; i < n; ++i) {
        const auto value = static_cast<std::int16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
        if (std::abs(int(value)) > kSilenceLevel)
            return true;
    }
    return false;
}

void CaptureEngine::HandleBlock(const QByteArray& block) {
    if (m_status.recordingFlag < 1)
        return;
    // The test runs while paused too: the automatic pause resumes on sound.
    if (m_testNext)
        SoundPresent = BlockHasSound(block, m_format.bitsPerSample);
    m_testNext = !m_testNext;
    if (!m_status.fileOpen || !m_file.isOpen())
        return;

    // A part block keeps whole sample frames and its own length.
    const qint64 frame = std::max(1, m_format.blockAlign());
    qint64 bytes = block.size() >= m_blockBytes ? m_blockBytes : block.size() - block.size() % frame;
    if (m_byteLimit >= 0)
        bytes = std::min(bytes, std::max<qint64>(0, m_byteLimit - m_written) / frame * frame);
    if (bytes <= 0)
        return;
    if (!m_handshake.appendBlock(m_file, block.constData(), bytes, m_blockBytes)) {
        const QString message = m_file.errorString();
        CloseBufferFile();
        if (m_failures)
            m_failures->WriteFailed(message);
        return;
    }
    m_written += bytes;
    if (m_freeSpaceCounter >= kFreeSpaceEvery) {
        const std::int64_t free = freeBytes ? freeBytes(m_recording.TempRecordFolder) : -1;
        if (free >= 0 && free < kFreeSpaceBlocks * m_blockBytes && m_failures)
            m_failures->DiskNearlyFull();
        m_freeSpaceCounter = 0;
    }
    ++m_freeSpaceCounter;
}

} // namespace kelbrin
