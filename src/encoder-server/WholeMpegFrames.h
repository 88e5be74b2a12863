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

private:
    QByteArray m_held;
    // Output that does not walk as frames from its first byte cannot be cut:
    // it goes on as it comes.
    bool m_framed = true;
};

// The length of the whole frames at the start of `data`; -1 when its first
// bytes are no frame header (nothing to walk by).
qsizetype WholeFramesLength(const QByteArray& data);

} // namespace kelbrin
