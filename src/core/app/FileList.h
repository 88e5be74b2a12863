#pragma once
// What the source-file lists of the tool windows show: the open files, then
// optionally the audio files lying in the recording and source folders.

#include <QList>
#include <QString>
#include <QStringList>
#include <cstdint>

namespace kelbrin {

class cPozycjePlikow;
struct RecordingConfiguration;

struct FileListEntry {
    QString text;
    std::int32_t itemData = 0; // the open file's id; 0 for disk files and headings
};

struct FileListContent {
    QList<FileListEntry> entries;
    int selected = -1; // the entry to select: the last open file added, -1 for none
};

struct FileListFolders {
    QString recordFolder;  // RecordFolder
    QString sourceFolder;  // setting SPath
    QString recordingPath; // the file being recorded, empty when none
};

// The entries of a file list: open files whose blnExtraArray equals `extra`
// (without disk files only those usable as sources), then, with disk files,
// "*.mp*" and "*.wav" files of the two folders under headings 3152 and 3153.
FileListContent BuildFileList(const cPozycjePlikow* files, bool withDiskFiles, bool extra,
                              const FileListFolders& folders);
// The folders of the running program.
FileListFolders CurrentFileListFolders(const RecordingConfiguration& recording, bool recordingRuns);

// The list holds an entry with exactly this text.
bool ListContains(const QStringList& entries, const QString& text);

// True when an open file has this exact path and may be used as a source.
bool IsFileSavable(const cPozycjePlikow* files, const QString& path);

} // namespace kelbrin
