#pragma once
// A whole file (an export output, a project, a script) written as a temporary
// file in the target's
// folder that takes the target's name only when it is complete. Whatever stops
// the writing before that (a failure, a cancel, an early return) removes the
// temporary file, so the target is either the old file or the whole new one.
//
// A new target is written as a file without a name (O_TMPFILE) and linked
// under the target's name: one creating open, no rename, nothing left behind
// by a killed run. A target that exists, or a folder that takes no unnamed
// file, gets a hidden temporary file named after the target, this program and
// its process (so that a run killed before it could clean up is recognised
// and tidied by the next one), renamed over the target. A replaced file's new
// contents reach the disk (fdatasync) before the rename, so a crash after it
// never leaves an empty or short file where the old one was whole.
//
// Every write is checked; positions are 64-bit.

#include <QString>
#include <cstdint>

class QByteArray;
class QFileInfo;

namespace kelbrin {

class SafeFileWriter {
public:
    explicit SafeFileWriter(const QString& targetPath);
    ~SafeFileWriter();
    SafeFileWriter(const SafeFileWriter&) = delete;
    SafeFileWriter& operator=(const SafeFileWriter&) = delete;

    // What the caller already knows of the target: a caller that has just
    // looked spares the writer looking again.
    enum class Target { Unknown, Missing };
    // Creates the temporary file; false when the folder takes no new file.
    bool open(Target known = Target::Unknown);
    bool isOpen() const { return m_fd >= 0; }
    const QString& targetPath() const { return m_target; }

    // Appends; false when not every byte was written.
    bool write(const char* data, std::int64_t count);
    bool write(const QByteArray& bytes);
    // Appends up to `count` bytes of another open file, from its 0-based
    // `position`, copied by the kernel without passing through this program.
    struct Appended {
        std::int64_t bytes = 0; // appended, fewer than asked at that file's end
        // The kernel copies nothing between these two files: append otherwise.
        bool unsupported = false;
    };
    Appended appendFrom(int sourceHandle, std::int64_t position, std::int64_t count);
    // The file is kept in memory (a tmpfs), not on a disk.
    bool inMemory() const;
    // Overwrites bytes already written, at a 0-based position.
    bool writeAt(std::int64_t position, const QByteArray& bytes);
    std::int64_t size() const { return m_size; }
    // A new file's contents reach the disk before it takes its name too. A
    // project the user saves is worth that; an export piece, made again from
    // its source in a moment, is not.
    void flushNewFile() { m_flushNew = true; }

    // Closes and gives the file the target's name; false on failure (the
    // temporary file is then removed and the target left as it was).
    bool commit();
    // Closes and removes the temporary file.
    void abandon();
    // The system's reason for the last failure of open(), a write or commit().
    const QString& errorText() const { return m_error; }

    // Removes the temporary files that runs killed mid-way left in the
    // folder: those of this program whose process is gone, and those of this
    // process that no open writer holds. Returns how many.
    static int RemoveLeftovers(const QString& folder);

private:
    bool openNamed(const QFileInfo& info);
    bool commitUnnamed();
    void failed();

    QString m_target;
    QString m_temporary; // empty while an unnamed file is written
    QString m_error;
    int m_fd = -1;
    std::int64_t m_size = 0;
    bool m_replacing = false; // the target was there when the writing began
    bool m_flushNew = false;
};

} // namespace kelbrin
