#pragma once
// The ".tim" segment list beside an output file: entries of CR LF and signed
// whole seconds ("\r\n12\r\n-95"), a positive value starting a segment and a
// negative one ending it. Seconds count from the start of that output file.

#include <QFile>
#include <QString>

namespace kelbrin {

class SegmentList {
public:
    // Creates the list (empty); false when it cannot be created. The list of
    // the recording's first file leaves out starts in its first second.
    bool open(const QString& path, bool firstOfRecording = true);
    bool isOpen() const { return m_file.isOpen(); }
    // A segment start; in the recording's first second it is not written. A
    // later file's list writes one in its own first second as second 1, since
    // only a positive entry reads as a start.
    bool writeStart(qint64 seconds);
    bool writeEnd(qint64 seconds);
    void close();

private:
    bool append(const QByteArray& entry);
    QFile m_file;
    bool m_firstOfRecording = true;
};

} // namespace kelbrin
