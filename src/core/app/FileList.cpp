#include "FileList.h"

#include "PathProcedures.h"
#include "core/recording/RecordingConfiguration.h"
#include "TextCatalog.h"
#include "core/app/AppSettings.h"
#include "core/document/cPozycjePlikow.h"
#include "core/app/SettingsKeys.h"
#include "core/recording/RecordingHandshake.h"
#include "platform/settings/SettingsStore.h"
#include "platform/shell/SystemFolders.h"

#include <QDir>

namespace kelbrin {

bool ListContains(const QStringList& entries, const QString& text) { return entries.contains(text); }

bool IsFileSavable(const cPozycjePlikow* files, const QString& path) {
    if (!files)
        return false;
    for (std::int32_t i = 1; i <= files->Count(); ++i) {
        const auto file = files->Item(i);
        if (file && file->strFileName == path)
            return !file->blnNoSave;
    }
    return false;
}

FileListFolders CurrentFileListFolders(const RecordingConfiguration& recording, bool recordingRuns) {
    FileListFolders f;
    f.recordFolder = recording.RecordFolder;
    f.sourceFolder = GetSetting(settingkeys::kSPath,
                                DefaultFolderRoot(DefaultLoadSettingsEnvironment(HostFolders())));
    if (recordingRuns) {
        // The encoder server names the file without its folder, the recording folder.
        Settings().sync();
        const QString recorded = GetSetting(handshake::kFilePath);
        if (!recorded.isEmpty())
            f.recordingPath = QDir::cleanPath(QDir(f.recordFolder).filePath(recorded));
    }
    return f;
}

FileListContent BuildFileList(const cPozycjePlikow* files, bool withDiskFiles, bool extra,
                              const FileListFolders& folders) {
    FileListContent content;
    QStringList texts;
    if (files) {
        for (std::int32_t i = 1; i <= files->Count(); ++i) {
            const auto file = files->Item(i);
            if (!file || file->blnExtraArray != extra)
                continue;
            if (withDiskFiles || !file->blnNoSave) {
                content.entries.append({file->strFileName, file->lngNrPozycji});
                texts.append(file->strFileName);
                content.selected = static_cast<int>(content.entries.size()) - 1;
            }
        }
    }
    if (!withDiskFiles)
        return content;
    for (const QString& folderText : {folders.recordFolder, folders.sourceFolder}) {
        if (folderText.isEmpty())
            continue;
        const QString folder = WithTrailingSlash(folderText);
        const QDir dir(folder);
        const std::pair<const char*, int> groups[] = {{"*.mp*", 3152}, {"*.wav", 3153}};
        for (const auto& group : groups) {
            bool headed = false;
            const QStringList names =
                dir.entryList({QLatin1String(group.first)}, QDir::Files, QDir::Name);
            for (const QString& name : names) {
                const QString path = folder + name;
                if (ListContains(texts, path) || QDir::cleanPath(path) == folders.recordingPath)
                    continue;
                if (!headed) {
                    content.entries.append({GetText(group.second), 0});
                    texts.append(content.entries.last().text);
                    headed = true;
                }
                content.entries.append({path, 0});
                texts.append(path);
            }
        }
    }
    return content;
}

} // namespace kelbrin
