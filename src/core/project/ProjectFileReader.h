#pragma once
// Reads a whole project file and checks it before anything of the open
// project is touched: the version, the header, counts that fit the bytes that
// follow, and records that end inside the file. Track numbers that are used
// twice or are not positive get new numbers, and the next-number counters
// follow every number in use (and only that when they lie far beyond it), so
// the loaded project never collides with itself. Box positions, range times,
// fade markers and rates that no editor could have stored are brought back
// within reach.

#include "ProjectRecords.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace kelbrin {

class AnsiCodec;

enum class ProjectReadStatus {
    Ok,
    Unreadable,     // the file could not be opened or read (error holds why)
    TooLarge,       // far larger than any project; not read
    TooOld,         // version 1001
    UnknownVersion, // any other version outside 1002..1006
    Damaged,        // counts or records that the bytes cannot hold
};

struct ProjectContents {
    ProjectHeader header;
    QList<StoredSource> sources;
    QList<StoredTrack> tracks;
    // Tracks whose stored number was taken or not positive: (old, new).
    QList<QPair<std::int32_t, std::int32_t>> renumbered;
};

struct ProjectReadResult {
    ProjectReadStatus status = ProjectReadStatus::Ok;
    ProjectContents contents;
    QString error;
};

ProjectReadResult ParseProject(const QByteArray& bytes, const AnsiCodec& codec);
ProjectReadResult ReadProjectFile(const QString& path, const AnsiCodec& codec);

} // namespace kelbrin
