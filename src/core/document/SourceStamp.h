#pragma once
// What a source file looked like when its frames were read: its size and its
// modification time. An index is only as good as the file it was made from;
// a file truncated, retagged or rewritten since then has moved its frames.

#include <QFile>
#include <QString>
#include <cstdint>
#include <sys/stat.h>

namespace kelbrin {

struct SourceStamp {
    std::int64_t size = -1;          // -1: never read
    std::int64_t modifiedNs = 0;     // nanoseconds since the epoch

    bool known() const { return size >= 0; }
    bool operator==(const SourceStamp& other) const {
        return size == other.size && modifiedNs == other.modifiedNs;
    }
    bool operator!=(const SourceStamp& other) const { return !(*this == other); }

    // The file as it is now; unknown when it cannot be looked at.
    static SourceStamp Of(const QString& path) {
        SourceStamp stamp;
        struct stat info {};
        if (::stat(QFile::encodeName(path).constData(), &info) != 0)
            return stamp;
        stamp.size = static_cast<std::int64_t>(info.st_size);
        stamp.modifiedNs = static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1000000000LL +
                           info.st_mtim.tv_nsec;
        return stamp;
    }
};

} // namespace kelbrin
