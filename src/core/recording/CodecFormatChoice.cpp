#include "CodecFormatChoice.h"

#include "core/app/MessageService.h"
#include "RecordingConfiguration.h"
#include "core/app/TextCatalog.h"
#include "core/app/TextNumbers.h"
#include "platform/codecs/CodecLibrary.h"
#include "core/app/SettingsKeys.h"
#include "platform/settings/SettingsStore.h"

namespace kelbrin {

namespace {
using texts::kRecordingFormatTitle;
}

void PresetEmptyRecord(QByteArray& record) {
    record = record.left(wave::kRecordSize).leftJustified(wave::kRecordSize, '\0');
    WaveFormatEx f = WaveFormatEx::fromRecord(record);
    if (f.wFormatTag != wave::kNone)
        return;
    // Only the header is set; the codec bytes stay as they are.
    f.wFormatTag = wave::kMpegLayer3;
    f.nChannels = 2;
    f.nSamplesPerSec = 44100;
    f.nAvgBytesPerSec = 16000;
    f.nBlockAlign = 1;
    f.wBitsPerSample = 0;
    f.cbSize = 12;
    record.replace(0, wave::kHeaderSize, f.toBytes(wave::kHeaderSize));
}

bool ChooseCodecFormat(FormatChooser& chooser, QByteArray& record, QString& description) {
    PresetEmptyRecord(record);
    WaveFormatEx format = WaveFormatEx::fromRecord(record);
    QString tagText;
    QString formatText;
    const int result = chooser.choose(format, GetText(kRecordingFormatTitle), tagText, formatText);
    if (result == codec::kCanceled)
        return false;
    if (result != 0) {
        ShowMessage(QStringLiteral("acmFormatChoose Error nr. %1").arg(result), mb::Information, QString());
        return false;
    }
    record = format.toRecord();
    tagText.remove(QChar(0));
    formatText.remove(QChar(0));
    description = tagText + QLatin1Char(' ') + formatText;
    if (format.wFormatTag != wave::kMpegLayer3) {
        SaveSetting(settingkeys::kRecLast, QStringLiteral("1"));
        Settings().sync();
    }
    return true;
}

FormatButtonOutcome ChooseAndStoreRecordFormat(RecordingConfiguration& recording, FormatChooser& chooser,
                                               const QString& formatFile) {
    FormatButtonOutcome outcome;
    QByteArray& record = recording.RecordFormat;
    const QByteArray before = record;
    const QString recLastKey = settingkeys::kRecLast;
    const bool hadRecLast = Settings().contains(recLastKey);
    const QString recLastBefore = GetSetting(recLastKey);
    QString description;
    ChooseCodecFormat(chooser, record, description);
    if (description.isEmpty())
        return outcome;
    if (!SaveFormatFile(formatFile, record)) {
        // The recorder must not capture for a format the server would not
        // find, nor write the ".wav" file meant for a format never stored.
        record = before;
        SaveSetting(recLastKey, hadRecLast ? recLastBefore : QStringLiteral("0")); // missing reads as 0
        Settings().sync();
        return outcome;
    }
    outcome.changed = true;
    outcome.description = description;
    const bool mpeg = WaveFormatEx::fromRecord(record).wFormatTag == wave::kMpegLayer3;
    outcome.recordBoxEnabled = mpeg;
    outcome.recordBoxTicked = !mpeg;
    SaveSetting(settingkeys::kDestFormat, description);
    Settings().sync();
    return outcome;
}

} // namespace kelbrin
