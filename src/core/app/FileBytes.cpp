#include "FileBytes.h"

#include <QFile>
#include <QSaveFile>

namespace kelbrin {

FileBytesResult ReadFileBytes(const QString& path, qint64 maxBytes) {
    FileBytesResult result;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        result.error = file.errorString();
        return result;
    }
    const qint64 size = file.size();
    if (size > maxBytes) {
        result.status = FileBytesStatus::TooLarge;
        return result;
    }
    result.bytes = file.read(size);
    if (result.bytes.size() != size || file.error() != QFileDevice::NoError) {
        result.error = file.errorString();
        result.bytes.clear();
        return result;
    }
    result.status = FileBytesStatus::Ok;
    return result;
}

FileBytesResult ReplaceFileBytes(const QString& path, const QByteArray& bytes) {
    FileBytesResult result;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        result.error = file.errorString();
        return result;
    }
    // The flush is checked on its own: a short write found only while
    // flushing would not stop commit() from replacing the target.
    if (file.write(bytes) != bytes.size() || !file.flush() ||
        file.error() != QFileDevice::NoError) {
        result.error = file.errorString();
        file.cancelWriting();
        return result;
    }
    if (!file.commit()) {
        result.error = file.errorString();
        return result;
    }
    result.status = FileBytesStatus::Ok;
    return result;
}

} // namespace kelbrin
