#pragma once
// "formatex.ini": the chosen codec format as one raw 68-byte WAVE format record,
// kept beside the settings file. The editor writes it from the format chooser;
// the editor and the encoder server read it back.

#include <QByteArray>
#include <QString>

namespace kelbrin {

// The file in the settings folder.
QString FormatFilePath();

enum class FormatFileStatus { Ok, Missing, Unreadable, Damaged };

struct FormatFileResult {
    FormatFileStatus status = FormatFileStatus::Missing;
    QByteArray record;   // the 68 bytes when Ok
    int problemText = 0; // catalogue number of what is wrong when Damaged
    QString error;       // the system's text when Unreadable
    bool ok() const { return status == FormatFileStatus::Ok; }
};

// The catalogue number of what makes a record unusable (size, tag, channels,
// rate, block size, data rate, codec byte count), or 0 when it is sound.
int FormatRecordProblem(const QByteArray& record);

// Reads and checks the file without showing anything.
FormatFileResult ReadFormatFile(const QString& path);

// Reads the file; a damaged or unreadable file is reported in a message box
// and gives nothing, as does a missing one (silently).
bool LoadFormatFile(const QString& path, QByteArray* record);

// Replaces the file with the record (68 bytes); the old file stays when the
// write fails, which is reported in a message box. Returns true on success.
bool SaveFormatFile(const QString& path, const QByteArray& record);

} // namespace kelbrin
