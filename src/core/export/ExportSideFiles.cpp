#include "ExportSideFiles.h"

#include "CueSheetWriter.h"
#include "core/app/MessageService.h"
#include "core/app/TextCatalog.h"
#include "core/app/TextNumbers.h"
#include "core/app/WriteFaultTexts.h"
#include "platform/files/SafeFileWriter.h"
#include "platform/shell/DesktopOpener.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

namespace kelbrin {

namespace {
using texts::kSideFileFailed;
using texts::kSideFileFailedWhy;

// The system's reason, when there is one, tells a full disk from a folder
// removed meanwhile or a name taken by a folder.
bool writeSideFile(const QString& path, const QByteArray& bytes) {
    SafeFileWriter file(path);
    if (file.open() && file.write(bytes) && file.commit())
        return true;
    const QString why = file.errorText();
    file.abandon();
    if (why.isEmpty())
        ShowText(kSideFileFailed, mb::Information, QStringLiteral("|1"), path);
    else
        ShowText(kSideFileFailedWhy, mb::Information, QStringLiteral("|1"), path,
                 QStringLiteral("|2"), why);
    return false;
}

// The side files name the outputs by path, and a path is only found again
// when written as the file system's own name, byte for byte: UTF-8 here
// (QFile::encodeName). The titles go in the same encoding, so the file reads
// as one text. The code page would point every non-ASCII name elsewhere.
QByteArray sideFileBytes(const QString& text) { return QFile::encodeName(text); }
} // namespace

QString PlaylistFileName() {
    QString name = QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
    if (name.isEmpty())
        name = QStringLiteral("kelbrin");
    return name + QStringLiteral(".m3u");
}

QString CueSheetPath(const QString& folder) { return folder + QStringLiteral("/cdr.cue"); }

QString PlaylistPath(const QString& folder) { return folder + QLatin1Char('/') + PlaylistFileName(); }

QString WriteCueSheet(const QString& folder, const CueSheetWriter& sheet) {
    const QString path = CueSheetPath(folder);
    if (!writeSideFile(path, sideFileBytes(sheet.Text())))
        return QString();
    return path;
}

QString WritePlaylist(const QString& folder, const QStringList& outputs) {
    if (outputs.isEmpty() || !QFileInfo::exists(outputs.last()))
        return QString();
    QString text;
    for (const QString& output : outputs)
        text += output + QStringLiteral("\r\n");
    const QString path = PlaylistPath(folder);
    if (!writeSideFile(path, sideFileBytes(text)))
        return QString();
    // The player starts after the export; when none can, the user must hear
    // why nothing plays.
    Desktop().openOrSayWhy(path, [path] {
        ShowText(texts::kNoPlaylistPlayer, mb::Information, QStringLiteral("|1"), path);
    });
    return path;
}

} // namespace kelbrin
