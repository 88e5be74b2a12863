#include "FolderNames.h"

#include <QFile>

#include <dirent.h>

namespace kelbrin {

std::optional<QSet<QByteArray>> NamesInFolder(const QString& folder) {
    DIR* dir = ::opendir(QFile::encodeName(folder).constData());
    if (!dir)
        return std::nullopt;
    QSet<QByteArray> names;
    while (const dirent* entry = ::readdir(dir))
        names.insert(QByteArray(entry->d_name));
    ::closedir(dir);
    return names;
}

} // namespace kelbrin
