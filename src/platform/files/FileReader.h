#pragma once
// A regular file opened read-only for one operation, read by position; closed
// when it goes. Reads never move a shared position, so one reader serves any
// number of ranges in any order.

#include <QString>
#include <cstdint>

namespace kelbrin {

class FileReader {
public:
    // Opens `path` when it is a regular file; the system is told the file
    // will be read front to back.
    explicit FileReader(const QString& path);
    ~FileReader();
    FileReader(const FileReader&) = delete;
    FileReader& operator=(const FileReader&) = delete;

    bool isOpen() const { return m_fd >= 0; }
    // The size when it was opened.
    std::int64_t size() const { return m_size; }
    // Exactly `count` bytes at a 0-based position into `destination`; false
    // when not every byte could be read (a failure or the end of the file).
    bool readAt(std::int64_t position, void* destination, std::int64_t count) const;
    // The open file's descriptor, for a copy the kernel makes; -1 when closed.
    int handle() const { return m_fd; }

private:
    int m_fd = -1;
    std::int64_t m_size = 0;
};

} // namespace kelbrin
