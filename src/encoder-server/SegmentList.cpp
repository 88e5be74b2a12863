#include "SegmentList.h"

namespace kelbrin {

bool SegmentList::open(const QString& path, bool firstOfRecording) {
    close();
    m_firstOfRecording = firstOfRecording;
    m_file.setFileName(path);
    return m_file.open(QIODevice::WriteOnly | QIODevice::Truncate);
}

bool SegmentList::append(const QByteArray& entry) {
    if (!m_file.isOpen())
        return false;
    return m_file.write(entry) == entry.size() && m_file.flush();
}

bool SegmentList::writeStart(qint64 seconds) {
    if (seconds <= 0) {
        if (m_firstOfRecording)
            return true;
        seconds = 1;
    }
    return append("\r\n" + QByteArray::number(seconds));
}

bool SegmentList::writeEnd(qint64 seconds) { return append("\r\n" + QByteArray::number(-seconds)); }

void SegmentList::close() {
    if (m_file.isOpen())
        m_file.close();
}

} // namespace kelbrin
