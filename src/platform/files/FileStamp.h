#pragma once
// What a file looked like at one moment: its size and its modification time.
// Whatever was read from a file is only as good as the file it was read from;
// a file truncated, retagged or rewritten since has another stamp.

#include <QString>
#include <cstdint>

namespace kelbrin {

struct FileStamp {
    std::int64_t size = -1;      // -1: never read
    std::int64_t modifiedNs = 0; // nanoseconds since the epoch

    bool known() const { return size >= 0; }
    bool operator==(const FileStamp& other) const {
        return size == other.size && modifiedNs == other.modifiedNs;
    }
    bool operator!=(const FileStamp& other) const { return !(*this == other); }

    // The file as it is now; unknown when it cannot be looked at.
    static FileStamp Of(const QString& path);
};

} // namespace kelbrin
