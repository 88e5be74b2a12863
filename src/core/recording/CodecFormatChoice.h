#pragma once
// Choosing the codec format of recordings: the format chooser opened on the
// current record, and the format button's work of storing a choice in
// "formatex.ini" and the settings (DestFormat, RecLast).

#include "FormatFile.h"
#include "platform/codecs/WaveFormat.h"

#include <QByteArray>
#include <QString>

namespace kelbrin {

struct RecordingConfiguration;

// The chooser dialog, shown by the windows (a fake in tests).
class FormatChooser {
public:
    virtual ~FormatChooser() = default;
    // Opens on `format`. A choice writes the format and the tag's and the
    // format's texts and returns 0; a cancel returns 515 (format unchanged);
    // any other value is a failure.
    virtual int choose(WaveFormatEx& format, const QString& title, QString& tagText, QString& formatText) = 0;
};

// The format an empty record opens on: MPEG Layer-3, stereo, 44100 Hz, 128 kbit/s.
void PresetEmptyRecord(QByteArray& record);

// Shows the chooser on `record` (68 bytes, changed in place). On a choice the
// record holds the new format, `description` the tag's text, a blank and the
// format's text, and RecLast becomes "1" for any tag but MPEG Layer-3; returns
// true. A cancel returns false silently, a failure with a message.
bool ChooseCodecFormat(FormatChooser& chooser, QByteArray& record, QString& description);

// What the recording settings window shows after its format button.
struct FormatButtonOutcome {
    bool changed = false;        // a format was chosen and stored
    QString description;         // for lblRecordFormat
    bool recordBoxEnabled = true; // chkRecord: available only for MPEG Layer-3
    bool recordBoxTicked = false; // other codecs always write a ".wav" file
};

// The format button: chooses on the shared RecordFormat, then writes the file,
// saves DestFormat and says how the window shows it. When the file cannot be
// written the failure is reported, and the record and settings keep their old
// values.
FormatButtonOutcome ChooseAndStoreRecordFormat(RecordingConfiguration& recording, FormatChooser& chooser,
                                               const QString& formatFile = FormatFilePath());

} // namespace kelbrin
