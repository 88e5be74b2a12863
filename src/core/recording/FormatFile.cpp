#include "FormatFile.h"

#include "core/app/FileBytes.h"
#include "core/app/MessageService.h"
#include "core/app/TextCatalog.h"
#include "core/app/TextNumbers.h"
#include "platform/codecs/WaveFormat.h"
#include "platform/settings/SettingsStore.h"

#include <QDir>
#include <QFileInfo>

namespace kelbrin {

namespace {
using texts::kFormatFileDamaged;
using texts::kFormatNotSaved;
using texts::kFormatFileUnreadable;
using texts::kFormatWrongSize;
using texts::kFormatNotChosen;
using texts::kFormatWrongChannels;
using texts::kFormatWrongRate;
using texts::kFormatWrongBlock;
using texts::kFormatExtraTooLong;

constexpr std::uint32_t kLowestRate = 1000;
constexpr std::uint32_t kHighestRate = 384000;
} // namespace

QString FormatFilePath() { return Settings().folder() + QStringLiteral("/formatex.ini"); }

int FormatRecordProblem(const QByteArray& record) {
    if (record.size() != wave::kRecordSize)
        return kFormatWrongSize;
    const WaveFormatEx f = WaveFormatEx::fromRecord(record);
    if (f.wFormatTag == wave::kNone)
        return kFormatNotChosen;
    // The capture side records one or two channels.
    if (f.nChannels < 1 || f.nChannels > 2)
        return kFormatWrongChannels;
    if (f.nSamplesPerSec < kLowestRate || f.nSamplesPerSec > kHighestRate)
        return kFormatWrongRate;
    if (f.nBlockAlign == 0 || f.nAvgBytesPerSec == 0)
        return kFormatWrongBlock;
    if (f.cbSize > wave::kMaxExtraSize)
        return kFormatExtraTooLong;
    return 0;
}

FormatFileResult ReadFormatFile(const QString& path) {
    FormatFileResult result;
    if (!QFileInfo::exists(path))
        return result;
    // Anything larger than a record is damaged; there is no need to read it all.
    const FileBytesResult read = ReadFileBytes(path, 4096);
    if (read.status == FileBytesStatus::TooLarge) {
        result.status = FormatFileStatus::Damaged;
        result.problemText = kFormatWrongSize;
        return result;
    }
    if (!read.ok()) {
        result.status = FormatFileStatus::Unreadable;
        result.error = read.error;
        return result;
    }
    result.problemText = FormatRecordProblem(read.bytes);
    if (result.problemText != 0) {
        result.status = FormatFileStatus::Damaged;
        return result;
    }
    result.status = FormatFileStatus::Ok;
    result.record = read.bytes;
    return result;
}

bool LoadFormatFile(const QString& path, QByteArray* record) {
    const FormatFileResult result = ReadFormatFile(path);
    const QString shown = QDir::toNativeSeparators(path);
    switch (result.status) {
    case FormatFileStatus::Ok:
        if (record)
            *record = result.record;
        return true;
    case FormatFileStatus::Missing:
        return false;
    case FormatFileStatus::Unreadable:
        ShowText(kFormatFileUnreadable, mb::Exclamation, QStringLiteral("|1"), shown, QStringLiteral("|2"),
                 result.error);
        return false;
    case FormatFileStatus::Damaged:
        ShowText(kFormatFileDamaged, mb::Exclamation, QStringLiteral("|1"), shown, QStringLiteral("|2"),
                 GetText(result.problemText));
        return false;
    }
    return false;
}

bool SaveFormatFile(const QString& path, const QByteArray& record) {
    const QByteArray bytes = record.left(wave::kRecordSize).leftJustified(wave::kRecordSize, '\0');
    QDir().mkpath(QFileInfo(path).absolutePath());
    const FileBytesResult written = ReplaceFileBytes(path, bytes);
    if (written.ok())
        return true;
    ShowText(kFormatNotSaved, mb::Critical, QStringLiteral("|1"), QDir::toNativeSeparators(path),
             QStringLiteral("|2"), written.error);
    return false;
}

} // namespace kelbrin
