#pragma once
// The MP3 encoder's output cut at frame boundaries. What LAME gives for one
// block ends anywhere inside a frame; a file that ends there (a killed server,
// a full disk) ends with a frame a reader finds cut. The part of the last
// frame waits here for the rest of it.

#include <QByteArray>

namespace kelbrin {

class WholeMpegFrames {
public:
    // Appends encoder output; the frames now complete go on to `out`.
    void take(const char* data, qsizetype size, QByteArray& out);
    // The stream has ended: whatever is held goes on to `out`.
    void release(QByteArray& out);
    qsizetype held() const { return m_held.size(); }
    // The sample frames of PCM the frames passed on decode to (-1 when the
    // output was no frames).
    qint64 samples() const { return m_framed ? m_samples : -1; }

private:
    QByteArray m_held;
    // Output that does not walk as frames from its first byte cannot be cut:
    // it goes on as it comes.
    bool m_framed = true;
    qint64 m_samples = 0;
};

// The length of the whole frames at the start of `data`, at most `most` of
// them when not negative; -1 when its first bytes are no frame header (nothing
// to walk by). `frames` and `samples` get what they count and decode to.
qsizetype WholeFramesLength(const QByteArray& data, qint64 most = -1, qint64* frames = nullptr,
                            qint64* samples = nullptr);

} // namespace kelbrin
