#include "StreamServer.h"

#include "CodecBlockEncoder.h"
#include "DeferredBoxes.h"
#include "LameBlockEncoder.h"
#include "ServerTexts.h"
#include "SpeechDetector.h"

#include "core/app/AppSettings.h"
#include "core/app/MessageService.h"
#include "core/app/Numbers.h"
#include "core/app/TextCatalog.h"
#include "core/recording/BlockSizes.h"
#include "core/recording/CaptureFormats.h"
#include "core/recording/FormatFile.h"
#include "core/recording/LameConfiguration.h"
#include "platform/media/Clock.h"
#include "core/app/SettingsKeys.h"
#include "platform/settings/SettingsStore.h"
#include "platform/shell/SystemFolders.h"

#include <QDir>
#include <QFileInfo>

namespace kelbrin {

namespace {

constexpr qint64 kDefaultLameBlock = 230400;
constexpr qint64 kLargestBlock = 64LL * 1024 * 1024;
constexpr qint64 kFreeSpaceFloor = 8LL * 1024 * 1024;

qint64 BlockSizeSetting(const QString& key, const QString& defaultText, double factor, qint64 fallback) {
    const qint64 size = RoundHalfEven(Val(GetSetting(key, defaultText)) * factor);
    return size > 0 && size <= kLargestBlock ? size : fallback;
}

QString RecordingFolder() {
    QString folder = GetSetting(settingkeys::kRecDir);
    if (folder.trimmed().isEmpty())
        folder = DefaultFolderRoot(DefaultLoadSettingsEnvironment(HostFolders()));
    return folder;
}

} // namespace

StreamServer::StreamServer(Clock& clock) : m_clock(clock) {}

StreamServer::~StreamServer() {
    shutdown();
    if (m_closeCall)
        m_clock.cancel(m_closeCall);
}

void StreamServer::UstawStanZapisu(int recording) { m_state = recording; }

qint16 StreamServer::DajStanPliku() const { return m_output.isOpen() ? 1 : 0; }

bool StreamServer::fail() {
    closeRecording();
    m_state = 0;
    return false;
}

bool StreamServer::openCodec(const QString& formatFile) {
    if (!QFileInfo::exists(formatFile)) {
        ShowText(servertext::kFormatFileMissing, mb::OkOnly);
        return false;
    }
    QByteArray record;
    if (!LoadFormatFile(formatFile, &record))
        return false;
    m_destination = WaveFormatEx::fromRecord(record);
    const WaveFormatEx source = CodecSourceFormat(m_destination);
    m_frameBytes = source.nBlockAlign;
    m_pcm = PcmLayout::fromWaveFormat(source);
    int error = codec::kOk;
    auto encoder = std::make_unique<CodecBlockEncoder>(source, m_destination, &error);
    if (error != codec::kOk) {
        ShowText(servertext::kErrorIn, mb::Critical, QStringLiteral("|1"), QStringLiteral("openStream"),
                 QStringLiteral("|2"), CodecErrorText(error));
        return false;
    }
    m_encoder = std::move(encoder);
    return true;
}

bool StreamServer::INIT(const QString& formatFile, const QString& bufferFile) {
    const DeferredBoxes boxesAfterTheCall(m_clock);
    // Whatever an earlier refusal said is not this call's reason.
    Settings().sync();
    SaveSetting(handshake::kStartRefusal, QString());
    Settings().sync();
    if ((m_open && m_state == kRecording) || passRunning())
        return false; // one recording at a time; the open one goes on
    const quint64 shownBefore = LastShownMessage().count;
    if (openRecording(formatFile, bufferFile))
        return true;
    // The editor may have nobody to show this box to (a scheduled run): it
    // says the reason itself.
    const ShownMessage& why = LastShownMessage();
    if (why.count != shownBefore)
        SaveSetting(handshake::kStartRefusal, QString::number(why.number) + QLatin1Char('\t') + why.text);
    Settings().sync();
    return false;
}

bool StreamServer::openRecording(const QString& formatFile, const QString& bufferFile) {
    closeRecording();
    m_bufferPath = bufferFile;
    m_speech = m_state != 0;
    m_lame = Val(GetSetting(settingkeys::kEngineType, QStringLiteral("1"))) != 0;

    OutputOptions options;
    options.folder = RecordingFolder();
    options.prefix = GetSetting(settingkeys::kRecPrefix, QStringLiteral("R"));
    options.segmentList = m_speech;
    if (m_lame) {
        m_blockSize = BlockSizeSetting(settingkeys::kRecBufor2, QStringLiteral("230400"), 1,
                                       kDefaultLameBlock);
        m_config = BuildLameConfig(ReadLameSettings());
        m_frameBytes = m_config.nMode == BE_MP3_MODE_MONO ? 2 : 4;
        m_pcm = PcmLayout{16, m_frameBytes / 2, static_cast<int>(m_config.dwSampleRate)};
        options.sampleRate = static_cast<int>(m_config.dwSampleRate);
        m_encoder = std::make_unique<LameBlockEncoder>(m_config);
    } else {
        if (!openCodec(formatFile))
            return fail();
        m_blockSize = CodecBlockBytes(CodecSourceFormat(m_destination)); // as the editor reads it
        // MPEG Layer-3 goes into a WAVE file when the user asked for one,
        // every other codec always.
        options.wave = m_destination.wFormatTag != wave::kMpegLayer3 ||
                       Val(GetSetting(settingkeys::kRecLast, QStringLiteral("0"))) == 1;
        options.format = m_destination;
        options.sampleRate = static_cast<int>(m_destination.nSamplesPerSec);
    }
    // A whole number of sample frames per block.
    m_blockSize -= m_blockSize % m_frameBytes;

    m_buffer.setFileName(bufferFile);
    if (!m_buffer.open(QIODevice::ReadOnly)) {
        ShowText(servertext::kBufferOpenFailed, mb::Critical, QStringLiteral("|1"),
                 QDir::toNativeSeparators(bufferFile));
        return fail();
    }
    m_output.startRecording(options);
    if (!m_output.openFile()) {
        // The folder and the system's reason, as when a later file of a split fails.
        ShowText(servertext::kOutputCreateFailed, mb::Critical, QStringLiteral("|1"),
                 QDir::toNativeSeparators(m_output.folder()) + QStringLiteral(": ") +
                     m_output.lastError());
        return fail();
    }
    m_fileRec.clear();
    m_handshake.begin();
    // Nothing is encoded yet: all the file holds is its header.
    m_handshake.setOutputFile(m_output.name(), m_output.path(), m_output.fileBytes());
    m_state = kRecording;
    m_open = true;
    return true;
}

void StreamServer::Start(int intervalMs) {
    if (m_state != kRecording || loopRunning() || !m_encoder)
        return;
    LoopOptions options;
    options.blockSize = m_blockSize;
    options.frameBytes = m_frameBytes;
    options.pcm = m_pcm;
    options.splitLimitKb = RoundHalfEven(Val(GetSetting(settingkeys::kNewFileRec, QStringLiteral("0"))));
    options.freeSpaceFloor = kFreeSpaceFloor;
    // Stress runs make the server's pace uneven.
    options.jitterMs = qEnvironmentVariableIntValue("KELBRIN_SERVER_JITTER_MS");
    if (m_adjustLoop)
        m_adjustLoop(options);
    m_loop = std::make_unique<ConversionLoop>(m_handshake, m_buffer, *m_encoder, m_output, options, m_clock);
    if (m_freeSpace)
        m_loop->setFreeSpace(m_freeSpace);
    m_loop->setFinished([this](int reason) { loopFinished(reason); });
    if (m_speech)
        m_loop->setSpeechDetector(CreateSpeechDetector());
    m_loop->start(intervalMs);
    if (m_lame) {
        auto* lame = static_cast<LameBlockEncoder*>(m_encoder.get());
        if (!lame->open()) {
            const QString why = lame->lastError();
            m_loop->stopNow(servertext::kEncoderFailed);
            // After the call has returned: a box must not hold the editor's call.
            m_clock.callAfter(0, [why] {
                ShowText(servertext::kEncoderFailed, mb::Critical, QStringLiteral("|1"), why);
            });
        }
    }
}

void StreamServer::loopFinished(int reason) {
    m_state = kLoopEnded;
    if (reason != handshake::kEndedAsAsked && reason != servertext::kEncoderFailed &&
        reason != servertext::kEditorGone && reason != servertext::kServerAskedToEnd)
    {
        // Shown once the loop has unwound; the editor learns the reason itself.
        QString detail = m_output.lastError();
        // The text names the folder the next file was refused in, or the
        // file that ends early and how much sound it holds.
        QString held;
        if (reason == servertext::kOutputCreateFailed)
            detail = QDir::toNativeSeparators(m_output.folder()) + QStringLiteral(": ") + detail;
        if (reason == servertext::kOutputWriteFailed) {
            detail = QDir::toNativeSeparators(m_output.path()) + QStringLiteral(": ") + detail;
            held = QString::number(m_output.seconds());
        }
        m_clock.callAfter(0, [reason, detail, held] {
            ShowText(reason, mb::Exclamation, QStringLiteral("|1"), detail, QStringLiteral("|2"), held);
        });
    }
}

void StreamServer::UNINIT() {
    if (loopRunning())
        m_loop->stopNow(handshake::kEndedAsAsked);
    m_fileRec = m_output.names();
    closeRecording();
}

void StreamServer::closeRecording() {
    m_open = false;
    if (passRunning()) {
        // Called from inside a box of the loop's pass: the loop, its encoder
        // and its buffer are let go once that pass has returned.
        if (!m_closeCall)
            m_closeCall = m_clock.callAfter(50, [this] {
                m_closeCall = 0;
                closeRecording();
            });
        return;
    }
    // Closing now settles a close still waiting for its pass: left pending, it
    // would end whatever recording starts next.
    if (m_closeCall) {
        m_clock.cancel(m_closeCall);
        m_closeCall = 0;
    }
    m_loop.reset();
    if (m_output.isOpen()) {
        const QString path = m_output.path();
        m_output.closeFile();
        if (m_encoder)
            m_encoder->finishFile(path);
    }
    m_encoder.reset();
    if (m_buffer.isOpen())
        m_buffer.close();
}

void StreamServer::shutdown(int reason) {
    if (loopRunning())
        m_loop->stopNow(reason);
    closeRecording();
}

} // namespace kelbrin
