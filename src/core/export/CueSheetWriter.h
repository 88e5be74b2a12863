#pragma once
// The CUE sheet "cdr.cue" of an export, built while the pieces are written.
// One file per track: every piece has its own FILE line and starts at 00:00:00.
// One joined file: a single FILE line, and each track's INDEX 01 where its
// piece begins inside the joined file, in CD frames of 1/75 second.

#include <QString>
#include <cstdint>

namespace kelbrin {

class CueSheetWriter {
public:
    explicit CueSheetWriter(bool joined) : m_joined(joined) {}

    // A piece written to `outputPath`, starting `startSamples` samples (at
    // `sampleRate`) into that file.
    void AddPiece(const QString& outputPath, const QString& performer, const QString& title,
                  std::int64_t startSamples = 0, std::int32_t sampleRate = 0);

    int TrackCount() const { return m_tracks; }
    // The sheet, lines ended by CR LF.
    const QString& Text() const { return m_text; }

    // "mm:ss:ff" for a position in samples.
    static QString IndexTime(std::int64_t samples, std::int32_t sampleRate);

private:
    bool m_joined;
    int m_tracks = 0;
    QString m_text;
};

} // namespace kelbrin
