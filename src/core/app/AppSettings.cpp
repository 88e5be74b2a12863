#include "AppSettings.h"

#include "Numbers.h"
#include "PathProcedures.h"
#include "LoadedSettings.h"
#include "core/recording/RecordingConfiguration.h"
#include "TextCatalog.h"
#include "core/recording/CaptureBufferFolder.h"
#include "core/recording/FormatFile.h"
#include "core/app/SettingsKeys.h"
#include "platform/settings/SettingsStore.h"
#include "platform/shell/SystemFolders.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace kelbrin {

namespace {

bool missingOrEmpty(const QString& key) { return GetSetting(key).isEmpty(); }

// The launcher and the file types on the first run, and once more for users
// who started the editor before it wrote them (their SPath is set while the
// launcher is missing). The mark is set only when everything was written, so
// a failed attempt is tried again at the next start; failures never stop
// start-up.
void IntegrateWithDesktop(const LoadSettingsEnvironment& env, bool firstRun) {
    DesktopIntegration* desktop = env.desktop;
    if (!desktop || !missingOrEmpty(QLatin1String(kDesktopIntegrationKey)))
        return;
    if (!firstRun && desktop->isInstalled())
        return;
    bool written = false;
    if (QFileInfo::exists(env.programFile)) {
        QString workingFolder = env.programFolder;
        if (workingFolder.size() > 1 && workingFolder.endsWith(QLatin1Char('/')))
            workingFolder.chop(1);
        written = desktop->createDesktopShortcut(GetText(105).trimmed(), env.programFile, workingFolder);
    }
    const QString typeName = GetText(108).trimmed();
    written = desktop->registerProjectFileType(typeName, GetText(6550, QStringLiteral("|1"), typeName)) &&
              written;
    if (written)
        SaveSetting(QLatin1String(kDesktopIntegrationKey), QStringLiteral("1"));
}

} // namespace

LoadSettingsEnvironment DefaultLoadSettingsEnvironment(const SystemFolders& system) {
    LoadSettingsEnvironment env;
    env.programFolder = WithTrailingSlash(QCoreApplication::applicationDirPath());
    env.programFile = QCoreApplication::applicationFilePath();
    // The recordings' buffer holds the user's sound: by default it lies in
    // the user's own folder, not in the system's, which every user may write in.
    env.tempFolder = PrivateBufferFolderPath();
    if (env.tempFolder.isEmpty())
        env.tempFolder = system.tempFolder();
    env.mediaFolder = system.userMediaFolder();
    env.formatFile = FormatFilePath();
    return env;
}

QString DefaultFolderRoot(const LoadSettingsEnvironment& env) { return WithTrailingSlash(env.mediaFolder); }

QString DefaultFolder(const LoadSettingsEnvironment& env) {
    QString folder = env.mediaFolder;
    while (folder.size() > 1 && folder.endsWith(QLatin1Char('/')))
        folder.chop(1);
    return folder;
}

void LoadSettings(LoadedSettings& s, RecordingConfiguration& r, const LoadSettingsEnvironment& env) {
    const QString folderRoot = DefaultFolderRoot(env);
    const QString folder = DefaultFolder(env);

    // A missing TempRecDir marks the very first start.
    if (missingOrEmpty(settingkeys::kTempRecDir)) {
        SaveSetting(settingkeys::kTempRecDir, WithTrailingSlash(env.tempFolder.trimmed()));
        SaveSetting(settingkeys::kExactSave, QStringLiteral("1"));
    }
    r.TempRecordFolder = GetSetting(settingkeys::kTempRecDir, folderRoot);
    s.UseOldAlgorithm = Val(GetSetting(QStringLiteral("OldAlg"), QStringLiteral("0"))) == 1.0;
    if (missingOrEmpty(settingkeys::kRecBufor))
        SaveSetting(settingkeys::kRecBufor, QStringLiteral("500"));
    if (missingOrEmpty(settingkeys::kS_Buf))
        SaveSetting(settingkeys::kS_Buf, QStringLiteral("100000"));
    if (missingOrEmpty(settingkeys::kEngineType))
        SaveSetting(settingkeys::kEngineType, QStringLiteral("1"));
    s.CopyChunkSize = 65535;
    if (missingOrEmpty(settingkeys::kDestPath))
        SaveSetting(settingkeys::kDestPath, folder);
    if (missingOrEmpty(settingkeys::kRecDir))
        SaveSetting(settingkeys::kRecDir, folderRoot);
    r.RecordFolder = WithTrailingSlash(GetSetting(settingkeys::kRecDir));
    if (missingOrEmpty(settingkeys::kViewNode))
        SaveSetting(settingkeys::kViewNode, QStringLiteral("1"));
    const QString dest = GetSetting(settingkeys::kDestPath, folder);
    if (!dest.isEmpty())
        s.DestFolder = dest;

    const bool firstRun = missingOrEmpty(settingkeys::kSPath);
    if (firstRun)
        SaveSetting(settingkeys::kSPath, folderRoot);
    IntegrateWithDesktop(env, firstRun);
    const QString source = GetSetting(settingkeys::kSPath, folderRoot);
    if (!source.isEmpty())
        s.SourceFolder = source;

    if (missingOrEmpty(settingkeys::kOverTake))
        SaveSetting(settingkeys::kOverTake, QStringLiteral("150"));
    // Values beyond what their controls can show are clamped, never refused.
    s.MoveStep = std::max(1, ValLong(GetSetting(settingkeys::kMove, QStringLiteral("5"))));
    s.MouseSensitivity = ClampTo(ValLong(GetSetting(settingkeys::kMouseSens, QStringLiteral("150"))),
                                 kMouseSensMin, kMouseSensMax);
    s.OverTakeSeconds = static_cast<float>(
        std::max(0.0, Val(GetSetting(settingkeys::kOverTake, QStringLiteral("150"))) / 1000.0));
    if (GetSetting(settingkeys::kDeviceIn, QStringLiteral("0")).isEmpty())
        SaveSetting(settingkeys::kDeviceIn, QStringLiteral("0"));
    r.CaptureDevice = std::max<std::int32_t>(
        -1, static_cast<std::int32_t>(
                RoundHalfEven(Val(GetSetting(settingkeys::kDeviceIn, QStringLiteral("0"))) - 1)));

    // A damaged format file is reported and left unused: the chooser starts anew.
    QByteArray record;
    if (LoadFormatFile(env.formatFile, &record))
        r.RecordFormat = record;
}

void LoadSettings(LoadedSettings& settings, RecordingConfiguration& recording) {
    LoadSettings(settings, recording, DefaultLoadSettingsEnvironment(HostFolders()));
}

} // namespace kelbrin
