#include "FileStamp.h"

#include <QFile>
#include <sys/stat.h>

namespace kelbrin {

FileStamp FileStamp::Of(const QString& path) {
    FileStamp stamp;
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return stamp;
    stamp.size = static_cast<std::int64_t>(info.st_size);
    stamp.modifiedNs =
        static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1000000000LL + info.st_mtim.tv_nsec;
    return stamp;
}

} // namespace kelbrin
