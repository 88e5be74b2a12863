#pragma once
// The output files of one recording: the file being written (bare MPEG frames
// in ".mp3", or a RIFF/WAVE file of codec output in ".wav"), its ".tim"
// segment list in speech-marker mode, and the names of every file opened since
// the recording began. Every create and write is checked.

#include "WaveFileLayout.h"

#include "core/export/SegmentList.h"

#include <QDateTime>
#include <QFile>
#include <QStringList>
#include <functional>

namespace kelbrin {

struct OutputOptions {
    QString folder;        // the recording folder
    QString prefix = QStringLiteral("R");
    bool wave = false;     // RIFF/WAVE with `format`, else bare frames
    WaveFormatEx format;   // the codec's format record
    bool segmentList = false;
    int sampleRate = 0;    // of the recorded PCM, for the list's seconds
};

class RecorderOutput {
public:
    explicit RecorderOutput(std::function<QDateTime()> now = [] { return QDateTime::currentDateTime(); });

    // Forgets the names of an earlier recording.
    void startRecording(const OutputOptions& options);
    // Opens the next output file (and its list); false when it cannot be created.
    bool openFile();
    // Appends encoder output; `sourceFrames` sample frames of PCM went into it.
    // `samplesHeld` is the sample count of a WAVE file's data with it, when the
    // codec tells it; otherwise the frames that went in are counted.
    bool write(const char* data, qint64 size, qint64 sourceFrames = 0, qint64 samplesHeld = -1);
    bool write(const QByteArray& bytes, qint64 sourceFrames = 0, qint64 samplesHeld = -1) {
        return write(bytes.constData(), bytes.size(), sourceFrames, samplesHeld);
    }
    // Takes `bytes` of room behind the file's end for what the encoder still
    // holds of the blocks written; false (with lastError) when the disk has
    // none left. Where the file system keeps no room ahead, true.
    bool keepRoom(qint64 bytes);
    // The sample count (as for write) that ends the blocks counted as encoded:
    // a write a full disk cuts keeps what they need of it, and no more.
    void setSamplesToKeep(qint64 samples) { m_samplesToKeep = samples; }
    // The last write, of `data` (`samplesHeld` as it was given), went in
    // whole, but its block cannot count as encoded (no room is left for what
    // the encoder still holds of it): the file keeps of it only what the
    // blocks counted before need, and takes no more.
    void takeBackLastWrite(const char* data, qint64 size, qint64 samplesHeld);
    void takeBackLastWrite(const QByteArray& data, qint64 samplesHeld) {
        takeBackLastWrite(data.constData(), data.size(), samplesHeld);
    }
    // Whether the last write went in whole (a failure was the room's only).
    bool lastWriteWhole() const { return !m_cutShort; }
    // Finishes the file: sizes patched, list closed. False when that failed.
    // `samplesHeld` is as for write.
    bool closeFile(qint64 samplesHeld = -1);

    bool isOpen() const { return m_file.isOpen(); }
    QString folder() const { return m_options.folder; }
    QString name() const { return m_name; }   // without folder
    QString path() const;                     // with folder
    QStringList names() const { return m_names; }
    qint64 bytesWritten() const { return m_bytes; }
    qint64 fileBytes() const { return m_file.isOpen() ? m_file.size() : -1; } // with headers, as on disk
    qint64 framesWritten() const { return m_frames; }
    // Whole seconds of PCM in this file so far.
    qint64 seconds() const;
    // Whether `more` bytes still fit below the 4 GiB a RIFF size can hold.
    bool fits(qint64 more) const;
    SegmentList& segments() { return m_segments; }
    QString lastError() const { return m_error; }

private:
    qint64 dataStart() const; // the header's length
    QString systemError() const;
    // The bytes of the first `most` (all when negative) whole codec blocks
    // (MPEG frames) of `data`; `count` gets how many they are.
    qint64 wholeUnits(const char* data, qint64 bytes, qint64 most = -1, qint64* count = nullptr) const;
    // What of a write of `size` bytes, of which `done` went in, stays.
    qint64 keptOfCutWrite(const char* data, qint64 size, qint64 done, qint64 samplesHeld) const;
    void releaseRoom();
    // Keeps of a write of which `done` bytes went in what the blocks counted
    // as encoded need; nothing more is written into the file.
    void cutWrite(const char* data, qint64 size, qint64 done, qint64 samplesHeld);
    std::function<QDateTime()> m_now;
    OutputOptions m_options;
    QFile m_file;
    QString m_name;
    QStringList m_names;
    WaveLayout m_layout;
    qint64 m_bytes = 0;
    qint64 m_frames = 0;
    qint64 m_samples = 0;    // the samples the data holds
    qint64 m_lastBytes = 0;   // m_bytes and m_samples before the last whole write
    qint64 m_lastSamples = 0;
    qint64 m_samplesToKeep = 0;
    bool m_cutShort = false; // a write failed: nothing more goes into this file
    bool m_canKeepRoom = true;
    qint64 m_roomEnd = 0;    // the end of the room taken behind the file's end
    SegmentList m_segments;
    QString m_error;
};

} // namespace kelbrin
