#pragma once
// An existing file opened for changes in place (tag blocks, frame headers).
// It is never created: a missing file fails to open. Every positioned read and
// write is checked, and a failure keeps the system's description. Offsets are
// 0-based and 64-bit.

#include "SourceWriteHost.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <cstdint>

namespace kelbrin {

class InPlaceFile {
public:
    enum class Mode { Read, ReadWrite };

    InPlaceFile(const QString& path, Mode mode);
    InPlaceFile(const InPlaceFile&) = delete;
    InPlaceFile& operator=(const InPlaceFile&) = delete;
    ~InPlaceFile();

    bool isOpen() const { return m_open; }
    // The file did not exist when it was to be opened.
    bool missing() const { return m_missing; }
    std::int64_t size() const { return m_size; }
    // The system's description of the last failure.
    QString error() const { return m_error; }

    // Exactly `count` bytes at `offset`; an empty array when they are not all
    // there or the read fails.
    QByteArray readAt(std::int64_t offset, std::int64_t count);
    // All of `bytes` at `offset`; false when the seek or the write fails.
    bool writeAt(std::int64_t offset, const QByteArray& bytes);
    // Flushes and closes; false when the data could not be handed to the system.
    bool close();

private:
    QFile m_file;
    bool m_open = false;
    bool m_missing = false;
    std::int64_t m_size = 0;
    QString m_error;
};

// False, with the reason in the result, when a write cannot open its file.
inline bool OpenedForWrite(const InPlaceFile& file, SourceWriteResult& result) {
    if (file.isOpen())
        return true;
    result.status = file.missing() ? SourceWriteStatus::Missing : SourceWriteStatus::CannotOpen;
    result.error = file.error();
    return false;
}

} // namespace kelbrin
