#include "RecorderOutput.h"

#include "OutputNames.h"

#include "core/recording/RecordingHandshake.h"
#include "platform/settings/SettingsStore.h"

#include <limits>

namespace kelbrin {

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
    m_name = base + extension;
    m_file.setFileName(path());
    // A new name is never an existing file, so nothing is overwritten.
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        m_error = m_file.errorString();
        m_name.clear();
        return false;
    }
    m_names.append(m_name);
    if (m_options.wave) {
        const QByteArray header = WaveHeader(m_options.format, &m_layout);
        if (m_file.write(header) != header.size()) {
            m_error = m_file.errorString();
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

bool RecorderOutput::write(const char* data, qint64 size, qint64 sourceFrames) {
    if (!m_file.isOpen())
        return false;
    if (size > 0 && m_file.write(data, size) != size) {
        m_error = m_file.errorString();
        return false;
    }
    m_bytes += size;
    m_frames += sourceFrames;
    return true;
}

qint64 RecorderOutput::seconds() const {
    return m_options.sampleRate > 0 ? m_frames / m_options.sampleRate : 0;
}

bool RecorderOutput::fits(qint64 more) const {
    const qint64 header = m_options.wave ? m_layout.dataStart : 0;
    return header + m_bytes + more + 1 <= kMaxRiffFileSize - 8;
}

bool RecorderOutput::closeFile(qint64 samplesHeld) {
    m_segments.close();
    if (!m_file.isOpen())
        return true;
    bool ok = true;
    if (m_options.wave) {
        const qint64 held = samplesHeld >= 0 ? samplesHeld : m_frames;
        const qint64 samples = std::min<qint64>(held, std::numeric_limits<quint32>::max());
        ok = PatchWaveSizes(m_file, m_layout, static_cast<quint32>(samples));
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
