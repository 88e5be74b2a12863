#include "FileIdentity.h"

#include <QFile>
#include <sys/stat.h>

namespace kelbrin {

std::optional<FileIdentity> FileIdentity::Of(const QString& path) {
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return std::nullopt;
    return FileIdentity{static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino)};
}

} // namespace kelbrin
