#include "SplitWindowCommands.h"

#include "SplitCommands.h"
#include "SplitLauncher.h"
#include "SplitViewsAdapter.h"
#include "core/app/ProgramObjects.h"
#include "core/document/cPozycjaMP3.h"
#include "core/document/cPozycjaPlikow.h"
#include "core/export/CloneTrack.h"
#include "core/export/SplitSource.h"
#include "gui/editor/EditorController.h"
#include "gui/editor/TrackCommandSet.h"
#include "gui/editor/TreeNavigator.h"
#include "gui/mainwindow/frmDazudizi.h"

#include <QAbstractButton>
#include <QPointer>

namespace kelbrin {

namespace {

std::unique_ptr<SplitLauncher>& installed() {
    static std::unique_ptr<SplitLauncher> launcher;
    return launcher;
}

} // namespace

std::shared_ptr<SplitHost> MainWindowSplitHost(frmDazudizi& window) {
    SplitViewsParts parts;
    parts.window = &window;
    parts.editor = &window.Editor();
    // A new track's node goes under its predecessor's, so a closed start or
    // track node shows at once that it can be opened.
    QPointer<frmDazudizi> guarded(&window);
    parts.addTreeNode = [guarded](const cPozycjaMP3& track) {
        if (guarded)
            guarded->Tree().TrackAdded(track);
    };
    return MakeSplitHost(parts);
}

void InstallSplitDialog(frmDazudizi& window) {
    QPointer<frmDazudizi> guarded(&window);
    installed() = std::make_unique<SplitLauncher>(
        [guarded]() -> std::shared_ptr<SplitHost> { return guarded ? MainWindowSplitHost(*guarded) : nullptr; },
        &window);
    SetSplitDialogLauncher(installed().get());
    QObject::connect(&window, &QObject::destroyed, [launcher = installed().get()] {
        if (SplitDialog() == launcher) {
            SetSplitDialogLauncher(nullptr);
            installed().reset();
        }
    });
}

void cmdKlon_Click(frmDazudizi& window) {
    EditorController& editor = window.Editor();
    if (!editor.controlEnabled(QStringLiteral("cmdCopy")) || !window.CanChangeProject())
        return;
    window.Commands().mnuTrack_Kopiuj_Click();
    if (!window.CpozSchowek())
        return;
    ContinueClone(
        *window.CpozSchowek(),
        FindOpenFile(window.Objects().session, window.CpozSchowek()->strFileNameSource).get());
    window.Commands().mnuTrack_Wklej_Nowy_Click();
}

void ImportCueSheet(frmDazudizi& window) {
    ImportCueSheet(MainWindowSplitHost(window), window.Objects().settings, &window);
}

void SplitAtOnce(frmDazudizi& window, std::shared_ptr<cPozycjaMP3> track, bool openSource,
                 const QDateTime& when, SplitMode mode) {
    SplitAtOnce(MainWindowSplitHost(window), std::move(track), openSource, when, mode);
}

} // namespace kelbrin
