#pragma once
// Shared set-up of the split tests: the English catalogue, an in-memory
// settings store, scripted message boxes, a fresh open-files collection,
// sources opened from the generated media, and a host that stands in for the
// main window and records what the split asks of it.

#include "core/app/MessageService.h"
#include "core/app/ProgramObjects.h"
#include "support/ProgramState.h"
#include "core/app/TextCatalog.h"
#include "core/document/FrameScanHost.h"
#include "core/document/PlikOpen.h"
#include "core/document/cPozycjaMP3.h"
#include "core/document/cPozycjaPlikow.h"
#include "core/document/cPozycjeMP3.h"
#include "core/document/cPozycjePlikow.h"
#include "core/export/SplitHost.h"
#include "core/export/SplitSource.h"
#include "platform/settings/MemorySettingsStore.h"
#include "support/ScriptedMessages.h"
#include "support/TestEnvironment.h"

#include <QFile>
#include <gtest/gtest.h>

namespace kelbrin::test {

class FakeSplitHost : public SplitHost {
public:
    EditorSession& Session() override { return Program().session; }
    LoadedSettings& Settings() override { return Program().settings; }
    const RecordingConfiguration& Recording() override { return Program().recording; }
    std::shared_ptr<cPozycjeMP3> Tracks() override { return tracks; }
    std::int32_t SelectedTrack() override { return selected; }
    bool CanChangeProject() override { return canChange; }
    bool IsRecording() override { return false; }
    QString OpenSource(const QString& path, std::int32_t fileType, QString& folder) override {
        openCalls << path;
        const QString chosen = path.isEmpty() ? dialogChoice : path;
        if (chosen.isEmpty())
            return QString();
        HeadlessScanHost scan;
        auto file = std::make_shared<cPozycjaPlikow>();
        file->strFileName = chosen;
        bool buildIndex = false;
        return Plik_Open(scan, &Program().session, Program().settings.SourceFolder, file,
                         buildIndex, true, QString(), nullptr, false, true, folder,
                         fileType < 1 ? 1 : fileType);
    }
    SplitBox BoxOf(std::int32_t number) override {
        for (std::int32_t i = 1; number != 0 && i <= tracks->Count(); ++i) {
            const auto& t = *tracks->Item(i);
            if (t.lngNrPozycji == number)
                return {t.lngLeft - start.width / 2, t.lngTop - start.height / 2, start.width, start.height};
        }
        return start;
    }
    std::int32_t WorkWidth() override { return workWidth; }
    std::int32_t WorkHeight() override { return workHeight; }
    std::optional<std::int32_t> LastListRowTrack() override { return lastListRow; }
    void AddTrackViews(const cPozycjaMP3& track, std::int32_t position) override {
        viewsAdded << track.lngNrPozycji;
        positions << position;
    }
    void SelectTrack(std::int32_t number) override { selected = number; }
    void RefreshTrackRow(const cPozycjaMP3& track) override { rowsRefreshed << track.lngNrPozycji; }
    void EnableCopyAndClone() override { ++copyEnabled; }
    void ResetPreviewPlayMode() override { ++previewResets; }
    void ShowInTrackPanel(const std::shared_ptr<cPozycjaMP3>& track) override { panel << track; }
    void SetAddButtonEnabled(bool enabled) override { addButton << enabled; }
    void TakeUndoSnapshot() override { ++undoSnapshots; }

    std::shared_ptr<cPozycjeMP3> tracks = std::make_shared<cPozycjeMP3>();
    std::int32_t selected = 0;
    bool canChange = true;
    QString dialogChoice; // what the open dialog answers
    SplitBox start{300, 300, 450, 450};
    std::int32_t workWidth = 12000;
    std::int32_t workHeight = 8000;
    std::optional<std::int32_t> lastListRow;

    QStringList openCalls;
    QList<std::int32_t> viewsAdded;
    QList<std::int32_t> positions;
    QList<std::int32_t> rowsRefreshed;
    int copyEnabled = 0;
    int previewResets = 0;
    QList<std::shared_ptr<cPozycjaMP3>> panel;
    QList<bool> addButton;
    int undoSnapshots = 0;
};

class SplitTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::ResetProgramObjects();
        settings = new MemorySettingsStore;
        SetSettingsStore(std::unique_ptr<SettingsStore>(settings));
        messages = new ScriptedMessages;
        SetMessageService(std::unique_ptr<MessageService>(messages));
        Catalog().load(SourceDir() + "/resources/Kelbrin.ini");
        Catalog().setLanguage("ENGLISH");
        Program().session.OpenFiles = std::make_shared<cPozycjePlikow>();
        host = std::make_shared<FakeSplitHost>();
    }
    void TearDown() override {
        SetMessageService(nullptr);
        SetSettingsStore(nullptr);
    }

    // A copy of a generated medium in a fresh folder (so files can lie beside it), opened.
    std::shared_ptr<cPozycjaPlikow> openCopy(const QString& medium, const QString& name = QString()) {
        const QString path = MakeTempDir("split") + "/" + (name.isEmpty() ? medium : name);
        EXPECT_TRUE(QFile::copy(MediaFile(medium), path));
        QString folder;
        EXPECT_EQ(host->OpenSource(path, 1, folder), path);
        host->openCalls.clear();
        return FindOpenFile(Program().session, path);
    }
    QList<int> shownNumbers() const {
        QList<int> n;
        for (const auto& m : messages->shown)
            n << m.textNumber;
        return n;
    }

    MemorySettingsStore* settings = nullptr;
    ScriptedMessages* messages = nullptr;
    std::shared_ptr<FakeSplitHost> host;
};

} // namespace kelbrin::test
