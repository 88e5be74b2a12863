#include "AppSettings.h"

#include "Numbers.h"
#include "PathProcedures.h"
#include "LoadedSettings.h"
#include "core/recording/RecordingConfiguration.h"
#include "TextCatalog.h"
#include "core/recording/FormatFile.h"
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
    if (missingOrEmpty(QStringLiteral("TempRecDir"))) {
        SaveSetting(QStringLiteral("TempRecDir"), WithTrailingSlash(env.tempFolder.trimmed()));
        SaveSetting(QStringLiteral("ExactSave"), QStringLiteral("1"));
    }
    r.TempRecordFolder = GetSetting(QStringLiteral("TempRecDir"), folderRoot);
    s.UseOldAlgorithm = Val(GetSetting(QStringLiteral("OldAlg"), QStringLiteral("0"))) == 1.0;
    if (missingOrEmpty(QStringLiteral("RecBufor")))
        SaveSetting(QStringLiteral("RecBufor"), QStringLiteral("500"));
    if (missingOrEmpty(QStringLiteral("S_Buf")))
        SaveSetting(QStringLiteral("S_Buf"), QStringLiteral("100000"));
    if (missingOrEmpty(QStringLiteral("EngineType")))
        SaveSetting(QStringLiteral("EngineType"), QStringLiteral("1"));
    s.CopyChunkSize = 65535;
    if (missingOrEmpty(QStringLiteral("DestPath")))
        SaveSetting(QStringLiteral("DestPath"), folder);
    if (missingOrEmpty(QStringLiteral("RecDir")))
        SaveSetting(QStringLiteral("RecDir"), folderRoot);
    r.RecordFolder = WithTrailingSlash(GetSetting(QStringLiteral("RecDir")));
    if (missingOrEmpty(QStringLiteral("ViewNode")))
        SaveSetting(QStringLiteral("ViewNode"), QStringLiteral("1"));
    const QString dest = GetSetting(QStringLiteral("DestPath"), folder);
    if (!dest.isEmpty())
        s.DestFolder = dest;

    const bool firstRun = missingOrEmpty(QStringLiteral("SPath"));
    if (firstRun)
        SaveSetting(QStringLiteral("SPath"), folderRoot);
    IntegrateWithDesktop(env, firstRun);
    const QString source = GetSetting(QStringLiteral("SPath"), folderRoot);
    if (!source.isEmpty())
        s.SourceFolder = source;

    if (missingOrEmpty(QStringLiteral("OverTake")))
        SaveSetting(QStringLiteral("OverTake"), QStringLiteral("150"));
    // Values beyond what their controls can show are clamped, never refused.
    s.MoveStep = std::max(1, ValLong(GetSetting(QStringLiteral("Move"), QStringLiteral("5"))));
    s.MouseSensitivity = ClampTo(ValLong(GetSetting(QStringLiteral("MouseSens"), QStringLiteral("150"))),
                                 kMouseSensMin, kMouseSensMax);
    s.OverTakeSeconds = static_cast<float>(
        std::max(0.0, Val(GetSetting(QStringLiteral("OverTake"), QStringLiteral("150"))) / 1000.0));
    if (GetSetting(QStringLiteral("DeviceIn"), QStringLiteral("0")).isEmpty())
        SaveSetting(QStringLiteral("DeviceIn"), QStringLiteral("0"));
    r.CaptureDevice = std::max<std::int32_t>(
        -1, static_cast<std::int32_t>(
                RoundHalfEven(Val(GetSetting(QStringLiteral("DeviceIn"), QStringLiteral("0"))) - 1)));

    // A damaged format file is reported and left unused: the chooser starts anew.
    QByteArray record;
    if (LoadFormatFile(env.formatFile, &record))
        r.RecordFormat = record;
}

void LoadSettings(LoadedSettings& settings, RecordingConfiguration& recording) {
    LoadSettings(settings, recording, DefaultLoadSettingsEnvironment(HostFolders()));
}

} // namespace kelbrin
