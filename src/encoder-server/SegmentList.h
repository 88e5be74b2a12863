#pragma once
// The ".tim" segment list beside an output file: entries of CR LF and signed
// whole seconds ("\r\n12\r\n-95"), a positive value starting a segment and a
// negative one ending it. Seconds count from the start of that output file.

#include <QFile>
#include <QString>

namespace kelbrin {

class SegmentList {
public:
    // Creates the list (empty); false when it cannot be created.
    bool open(const QString& path);
    bool isOpen() const { return m_file.isOpen(); }
    // A segment start is written only after the file's first second.
    bool writeStart(qint64 seconds);
    bool writeEnd(qint64 seconds);
    void close();

private:
    bool append(const QByteArray& entry);
    QFile m_file;
};

} // namespace kelbrin
