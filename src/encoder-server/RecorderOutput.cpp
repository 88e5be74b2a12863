#include "RecorderOutput.h"

#include "OutputNames.h"
#include "WholeMpegFrames.h"

#include "core/recording/RecordingHandshake.h"
#include "platform/settings/SettingsStore.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <limits>

namespace kelbrin {

namespace {
// A "fact" count holds no more than 32 bits.
quint32 FactCount(qint64 samples) {
    return static_cast<quint32>(std::min<qint64>(samples, std::numeric_limits<quint32>::max()));
}
} // namespace

RecorderOutput::RecorderOutput(std::function<QDateTime()> now) : m_now(std::move(now)) {}

void RecorderOutput::startRecording(const OutputOptions& options) {
    m_options = options;
    while (m_options.folder.size() > 1 && m_options.folder.endsWith(QLatin1Char('/')))
        m_options.folder.chop(1);
    m_names.clear();
}

QString RecorderOutput::path() const { return m_options.folder + QLatin1Char('/') + m_name; }

bool RecorderOutput::openFile() {
    const QString extension = m_options.wave ? QStringLiteral(".wav") : QStringLiteral(".mp3");
    const QString base = FreeOutputBaseName(m_options.folder, OutputBaseName(m_options.prefix, m_now()),
                                            extension, m_options.segmentList);
    m_bytes = 0;
    m_frames = 0;
    m_samples = 0;
    m_lastBytes = 0;
    m_lastSamples = 0;
    m_samplesToKeep = 0; // until the loop says what a codec carried over
    m_cutShort = false;
    m_canKeepRoom = true;
    m_roomEnd = 0;
    m_name = base + extension;
    m_file.setFileName(path());
    // A new name is never an existing file, so nothing is overwritten. What
    // is written goes straight to the system: a block counts as encoded only
    // once its sound is in the file, so a killed server loses none of it.
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered)) {
        m_error = m_file.errorString();
        m_name.clear();
        return false;
    }
    m_names.append(m_name);
    if (m_options.wave) {
        const QByteArray header = WaveHeader(m_options.format, &m_layout);
        errno = 0;
        if (m_file.write(header) != header.size()) {
            // A file without its whole header is no recording: it goes.
            m_error = systemError();
            m_file.close();
            QFile::remove(path());
            m_names.removeLast();
            m_name.clear();
            return false;
        }
    }
    if (m_options.segmentList &&
        !m_segments.open(SegmentListOfStem(m_options.folder + QLatin1Char('/') + base), m_names.size() == 1)) {
        m_error = QStringLiteral("segment list");
        return false;
    }
    return true;
}

// After a part of a write went through, the file names no reason: the
// system's own, of the write that failed, says it.
QString RecorderOutput::systemError() const {
    const int failed = errno;
    return failed != 0 ? QString::fromLocal8Bit(std::strerror(failed)) : m_file.errorString();
}

bool RecorderOutput::write(const char* data, qint64 size, qint64 sourceFrames, qint64 samplesHeld) {
    if (!m_file.isOpen() || m_cutShort)
        return false;
    if (samplesHeld < 0)
        samplesHeld = m_samples + sourceFrames;
    errno = 0;
    const qint64 done = size > 0 ? m_file.write(data, size) : 0;
    if (done != size) {
        m_error = systemError();
        // A full disk may take part of the write. Its whole codec blocks stay:
        // they hold the end of the block before, which the encoder kept back
        // until now, and that block counts as encoded. The rest is cut off;
        // this block does not count and its sound stays in the capture
        // buffer. The encoder's later output would follow a gap: nothing more
        // is written.
        cutWrite(data, size, std::max<qint64>(0, done), samplesHeld);
        return false;
    }
    m_lastBytes = m_bytes;
    m_lastSamples = m_samples;
    m_bytes += size;
    m_frames += sourceFrames;
    m_samples = samplesHeld;
    // The sound is in the file: sizes that could not follow it now are
    // written again at the next write and at the close.
    if (m_options.wave && size > 0)
        MarkWaveSizes(m_file, m_layout, FactCount(m_samples));
    return true;
}

void RecorderOutput::cutWrite(const char* data, qint64 size, qint64 done, qint64 samplesHeld) {
    m_cutShort = true;
    const qint64 kept = keptOfCutWrite(data, size, done, samplesHeld);
    // Blocks of one size hold samples alike, so the share of the bytes is
    // the share of the samples.
    m_samples += size > 0 ? (samplesHeld - m_samples) * kept / size : 0;
    m_bytes += kept;
    if (m_file.resize(dataStart() + m_bytes))
        m_file.seek(dataStart() + m_bytes);
    if (m_options.wave)
        MarkWaveSizes(m_file, m_layout, FactCount(m_samples));
}

void RecorderOutput::takeBackLastWrite(const char* data, qint64 size, qint64 samplesHeld) {
    if (!m_file.isOpen() || m_cutShort)
        return;
    m_bytes = m_lastBytes;
    m_samples = m_lastSamples;
    cutWrite(data, size, size, samplesHeld);
}

qint64 RecorderOutput::wholeUnits(const char* data, qint64 bytes, qint64 most, qint64* count) const {
    if (!m_options.wave || m_options.format.wFormatTag == wave::kMpegLayer3) {
        // Every write starts on a frame; output that is no frames is not cut.
        qint64 frames = 0;
        const qsizetype whole = WholeFramesLength(QByteArray::fromRawData(data, bytes), most, &frames);
        if (count)
            *count = whole < 0 ? 0 : frames;
        return whole < 0 ? 0 : whole;
    }
    const qint64 unit = std::max<qint64>(1, m_options.format.nBlockAlign);
    const qint64 units = most < 0 ? bytes / unit : std::min(bytes / unit, most);
    if (count)
        *count = units;
    return units * unit;
}

qint64 RecorderOutput::keptOfCutWrite(const char* data, qint64 size, qint64 done, qint64 samplesHeld) const {
    const qint64 fitted = wholeUnits(data, done);
    const qint64 samples = samplesHeld - m_samples;
    if (samples <= 0)
        return fitted;
    // The blocks of one write hold samples alike: as many as hold the rest of
    // the counted blocks' sound, and one more where frames overlap.
    qint64 units = 0;
    wholeUnits(data, size, -1, &units);
    const qint64 missing = std::max<qint64>(0, m_samplesToKeep - m_samples);
    const bool framed = !m_options.wave || m_options.format.wFormatTag == wave::kMpegLayer3;
    const qint64 needed = (missing * units + samples - 1) / samples + (framed && missing > 0 ? 1 : 0);
    return std::min(fitted, wholeUnits(data, size, needed));
}

bool RecorderOutput::keepRoom(qint64 bytes) {
    if (!m_file.isOpen() || m_cutShort)
        return false;
    if (bytes <= 0 || !m_canKeepRoom)
        return true;
    const qint64 end = dataStart() + m_bytes;
    if (::fallocate(m_file.handle(), FALLOC_FL_KEEP_SIZE, end, bytes) == 0) {
        m_roomEnd = std::max(m_roomEnd, end + bytes);
        return true;
    }
    const int failed = errno;
    if (failed == ENOSPC || failed == EDQUOT || failed == EFBIG) {
        m_error = QString::fromLocal8Bit(std::strerror(failed));
        return false;
    }
    // A file system that keeps no room ahead: only a write finds the disk full.
    m_canKeepRoom = false;
    return true;
}

void RecorderOutput::releaseRoom() {
    const qint64 size = m_file.size();
    if (m_roomEnd > size)
        ::fallocate(m_file.handle(), FALLOC_FL_PUNCH_HOLE | FALLOC_FL_KEEP_SIZE, size, m_roomEnd - size);
    m_roomEnd = 0;
}

qint64 RecorderOutput::dataStart() const { return m_options.wave ? m_layout.dataStart : 0; }

qint64 RecorderOutput::seconds() const {
    return m_options.sampleRate > 0 ? m_frames / m_options.sampleRate : 0;
}

bool RecorderOutput::fits(qint64 more) const {
    return dataStart() + m_bytes + more + 1 <= kMaxRiffFileSize - 8;
}

bool RecorderOutput::closeFile(qint64 samplesHeld) {
    m_segments.close();
    if (!m_file.isOpen())
        return true;
    bool ok = true;
    if (m_options.wave) {
        // A file cut short holds the samples of what it kept, whatever the codec took in.
        ok = PatchWaveSizes(m_file, m_layout, FactCount(samplesHeld >= 0 && !m_cutShort ? samplesHeld : m_samples));
    }
    ok = m_file.flush() && ok;
    releaseRoom();
    if (!ok)
        m_error = m_file.errorString();
    m_file.close();
    SaveSetting(handshake::kLastFile, m_name);
    Settings().sync();
    return ok;
}

} // namespace kelbrin
