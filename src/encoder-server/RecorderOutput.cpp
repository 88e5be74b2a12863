#include "RecorderOutput.h"

#include "OutputNames.h"

#include "core/recording/RecordingHandshake.h"
#include "platform/settings/SettingsStore.h"

#include <cerrno>
#include <cstring>
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
    m_cutShort = false;
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

bool RecorderOutput::write(const char* data, qint64 size, qint64 sourceFrames) {
    if (!m_file.isOpen() || m_cutShort)
        return false;
    errno = 0;
    if (size > 0 && m_file.write(data, size) != size) {
        m_error = systemError();
        // A full disk may take part of the write: the file is cut back to the
        // last whole write, as the block is not counted as encoded and its
        // sound stays in the capture buffer. The encoder's tail of that block
        // would follow a gap: nothing more is written.
        m_cutShort = true;
        if (m_file.resize(dataStart() + m_bytes))
            m_file.seek(dataStart() + m_bytes);
        return false;
    }
    m_bytes += size;
    m_frames += sourceFrames;
    // The sound is in the file: sizes that could not follow it now are
    // written again at the next write and at the close.
    if (m_options.wave && size > 0)
        MarkWaveSizes(m_file, m_layout, FactCount(m_frames));
    return true;
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
        // A file cut short holds the frames of its whole writes, whatever the codec took in.
        ok = PatchWaveSizes(m_file, m_layout, FactCount(samplesHeld >= 0 && !m_cutShort ? samplesHeld : m_frames));
    }
    ok = m_file.flush() && ok;
    if (!ok)
        m_error = m_file.errorString();
    m_file.close();
    SaveSetting(handshake::kLastFile, m_name);
    Settings().sync();
    return ok;
}

} // namespace kelbrin
