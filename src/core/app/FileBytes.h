#pragma once
// Whole-file reads and writes (projects, scripts, side files). A write never
// destroys the old file: the bytes go to a temporary file in the same folder,
// which replaces the target only when every write succeeded.

#include <QByteArray>
#include <QString>

namespace kelbrin {

enum class FileBytesStatus { Ok, Failed, TooLarge };

struct FileBytesResult {
    FileBytesStatus status = FileBytesStatus::Failed;
    QString error;    // the system's description when it failed
    QByteArray bytes; // what was read
    bool ok() const { return status == FileBytesStatus::Ok; }
};

// Larger files are refused unread; real projects and scripts are a few kilobytes.
constexpr qint64 kMaxProjectFileBytes = 256LL * 1024 * 1024;

FileBytesResult ReadFileBytes(const QString& path, qint64 maxBytes = kMaxProjectFileBytes);
FileBytesResult ReplaceFileBytes(const QString& path, const QByteArray& bytes);

} // namespace kelbrin
