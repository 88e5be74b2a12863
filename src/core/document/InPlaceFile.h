#pragma once
// An existing file opened for changes in place (tag blocks, frame headers).
// It is never created: a missing file fails to open. Every positioned read and
// write is checked, and a failure keeps the system's description. Offsets are
// 0-based and 64-bit. Writes go to the system at once (no buffer of the
// program's own), so a failure is known at the write that met it.

#include "SourceWriteHost.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <cstdint>
#include <vector>

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

    // From now on every write keeps the bytes it replaces, so that a change
    // of many places that fails half-way can be taken back whole.
    void keepOldBytes() { m_keepOld = true; }
    // Writes the kept bytes back, the last write first; a place the file no
    // longer reaches (someone cut it meanwhile) is left as it is. False, with
    // the reason in error(), when not all of them went back.
    bool putOldBytesBack();
    // The path still leads to the file that was opened: it was not removed
    // or replaced by another file meanwhile.
    bool stillUnderItsName() const;

    QString path() const { return m_file.fileName(); }

private:
    QFile m_file;
    bool m_open = false;
    bool m_missing = false;
    std::int64_t m_size = 0;
    QString m_error;
    struct OldBytes {
        std::int64_t offset;
        QByteArray bytes;
    };
    std::vector<OldBytes> m_old;
    bool m_keepOld = false;
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
