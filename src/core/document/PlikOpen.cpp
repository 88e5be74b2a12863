#include "PlikOpen.h"

#include "FrameScanHost.h"
#include "MpegSourceScan.h"
#include "cPozycjaPlikow.h"
#include "cPozycjePlikow.h"
#include "core/app/MessageService.h"
#include "core/app/Numbers.h"
#include "EditorSession.h"
#include "core/app/TextCatalog.h"
#include "platform/media/MediaDuration.h"
#include "core/app/SettingsKeys.h"
#include "core/recording/RecordingHandshake.h"
#include "platform/settings/SettingsStore.h"

#include <QDir>
#include <QFileInfo>

namespace kelbrin {

namespace {

cPozycjePlikow& openFiles(EditorSession& session) {
    auto& files = session.OpenFiles;
    if (!files)
        files = std::make_shared<cPozycjePlikow>();
    return *files;
}

void removeFileWithId(EditorSession& session, std::int32_t id) {
    cPozycjePlikow& files = openFiles(session);
    for (std::int32_t i = 1; i <= files.Count(); ++i) {
        if (files.Item(i)->lngNrPozycji == id) {
            files.Remove(i);
            return;
        }
    }
}

// The file the recorder is writing, as the encoder server names it.
QString recordingOutputPath() {
    Settings().sync();
    const QString recorded = GetSetting(handshake::kFilePath);
    if (recorded.isEmpty())
        return QString();
    if (QFileInfo(recorded).isAbsolute())
        return QDir::cleanPath(recorded);
    return QDir::cleanPath(GetSetting(settingkeys::kRecDir) + QLatin1Char('/') + recorded);
}

std::optional<SourceFileChoice> askForFiles(FrameScanHost& host, const QString& title,
                                            bool multipleChoice, bool offerMediaFiles,
                                            const QString& folder, const QString& sourceFolder) {
    SourceFileDialog dialog;
    dialog.title = title;
    dialog.multipleChoice = multipleChoice;
    dialog.folder = folder.isEmpty() ? sourceFolder : folder;
    dialog.filters.append({3037, QStringLiteral("*.mp3;*.mp2")});
    dialog.filters.append({3038, QStringLiteral("*.wav")});
    if (offerMediaFiles)
        dialog.filters.append(
            {3160, QStringLiteral("*.wav;*.snd;*.au;*.aif;*.aifc;*.aiff;*.wma;*.asf;*.wm;*.wma;"
                                  "*.mid;*.rmi;*.midi")});
    const std::int32_t stored = ValLong(GetSetting(settingkeys::kTypPliku));
    dialog.initialFilter = (stored < 1 || stored > 3) ? 1 : stored;
    auto choice = host.ChooseSourceFiles(dialog);
    if (choice)
        SaveSetting(settingkeys::kTypPliku, QString::number(choice->filterIndex));
    return choice;
}

// A FIFO, a device or a folder is no source: opening a FIFO would wait for a
// writer for ever. Refused, with its message, before anything opens it.
bool isReadableSource(const QString& path) {
    if (QFileInfo(path).isFile())
        return true;
    ShowText(3301, mb::Information, QStringLiteral("|1"), path);
    return false;
}

// A file the media framework plays as it is: not savable, its length from the
// framework (left as it was when the framework cannot render it).
void openMediaFile(cPozycjaPlikow& file, const QString& path) {
    ShowText(3159, mb::Information);
    file.blnNoSave = true;
    if (const auto duration = MediaDurations().durationSeconds(path))
        file.sngCzasTrwania = static_cast<float>(*duration);
}

// Scans the file and remembers how it looked before the scan read it, so that
// whoever uses the index later can tell that the file changed since. Frames
// already in the index keep the stamp of the read that found them.
bool scanAndStamp(FrameScanHost& host, cPozycjaPlikow& file, const QString& path,
                  bool& buildIndex, const cPozycjaMP3* track, bool noTimeLimit) {
    const bool keepStamp = file.Daj_Naglowek_Ilosc() > 0 && file.stampRead.known();
    const SourceStamp before = SourceStamp::Of(path);
    if (!ScanMpegSource(host, file, path, buildIndex, track, noTimeLimit))
        return false;
    if (!keepStamp)
        file.stampRead = before;
    return true;
}

} // namespace

QString Plik_Open(FrameScanHost& host, EditorSession* session, const QString& sourceFolder,
                  std::shared_ptr<cPozycjaPlikow>& file, bool& buildIndex,
                  bool asNewFile, const QString& title, const cPozycjaMP3* track, bool noTimeLimit,
                  bool offerMediaFiles, QString& folder, std::int32_t filterIndex) {
    if (asNewFile && !session)
        return QString(); // nowhere to add a new record
    if (!file && !asNewFile)
        file = std::make_shared<cPozycjaPlikow>();
    QStringList paths;
    std::int32_t filter = filterIndex;
    if (file && !file->strFileName.isEmpty()) {
        const QString path = file->strFileName;
        if (!QFileInfo::exists(path)) {
            ShowText(3025, mb::Information, QStringLiteral("|1"), path);
            return QString();
        }
        paths.append(path);
    } else {
        const auto choice = askForFiles(host, title, asNewFile, offerMediaFiles, folder, sourceFolder);
        if (!choice || choice->paths.isEmpty())
            return QString();
        paths = choice->paths;
        filter = choice->filterIndex;
        if (asNewFile && paths.size() > 1)
            folder = choice->folder;
    }

    QString lastPath;
    // The hourglass goes on once for all the files and off once after them.
    bool busy = false;
    for (const QString& path : paths) {
        if (host.IsCaptureFileOpen() && QDir::cleanPath(path) == recordingOutputPath()) {
            ShowText(3178, mb::Information);
            lastPath.clear();
            break;
        }
        if (!busy) {
            host.SetBusyPointer(true);
            busy = true;
        }
        if (asNewFile) {
            file = std::make_shared<cPozycjaPlikow>();
            file->lngNrPozycji = session->NextFileId;
            openFiles(*session).Add(file);
        }
        host.blnScanFailed = false;
        bool opened = true;
        if (!isReadableSource(path))
            opened = false;
        else if (filter == source_filter::Media)
            openMediaFile(*file, path);
        else
            opened = scanAndStamp(host, *file, path, buildIndex, track, noTimeLimit);
        if (!opened) {
            host.blnScanFailed = true;
            if (asNewFile)
                removeFileWithId(*session, session->NextFileId);
            continue;
        }
        if (asNewFile) {
            file->strFileName = path;
            file->lngNrPozycji = session->NextFileId;
            ++session->NextFileId;
        }
        lastPath = path;
    }

    const QString result = host.blnScanFailed ? QString() : lastPath;
    host.blnScanFailed = true;
    if (busy)
        host.SetBusyPointer(false);
    host.SetProgressColour(FrameScanHost::kFrameColour);
    return result;
}

} // namespace kelbrin
