#pragma once
// Shared set-up of the project tests: the English catalogue, in-memory
// settings, scripted message boxes, a fresh shared state, a window that
// records what the project procedures ask of it, and little-endian byte
// builders for reference files made by hand.

#include "core/app/ProgramObjects.h"
#include "core/app/TextCatalog.h"
#include "core/document/FrameScanHost.h"
#include "core/document/cPozycjaMP3.h"
#include "core/document/cPozycjaPlikow.h"
#include "core/document/cPozycjeMP3.h"
#include "core/document/cPozycjePlikow.h"
#include "core/project/ProjectRecords.h"
#include "core/project/ProjectWindow.h"
#include "core/project/ScriptExport.h"
#include "platform/settings/MemorySettingsStore.h"
#include "support/ProgramState.h"
#include "support/ScriptedMessages.h"
#include "support/TestEnvironment.h"

#include <QQueue>
#include <QtEndian>
#include <gtest/gtest.h>

namespace kelbrin::test {

// Appends fields the way the file format lays them out, written out by hand.
struct Bytes {
    QByteArray data;
    template <typename T> Bytes& le(T v) {
        char raw[sizeof(T)];
        qToLittleEndian(v, raw);
        data.append(raw, sizeof(T));
        return *this;
    }
    Bytes& i32(std::int32_t v) { return le(v); }
    Bytes& i16(std::int16_t v) { return le(v); }
    Bytes& f32(float v) { return le(v); }
    Bytes& f64(double v) { return le(v); }
    Bytes& u8(std::uint8_t v) {
        data.append(static_cast<char>(v));
        return *this;
    }
    Bytes& flag(bool v) { return i16(v ? -1 : 0); }
    Bytes& str(const QByteArray& s) {
        le(static_cast<std::uint16_t>(s.size()));
        data.append(s);
        return *this;
    }
    Bytes& fixed30(const QByteArray& s) {
        data.append(s.leftJustified(30, ' ', true));
        return *this;
    }
};

class ScanHostStub : public HeadlessScanHost {
public:
    std::optional<SourceFileChoice> ChooseSourceFiles(const SourceFileDialog& d) override {
        dialogs.append(d);
        if (picks.isEmpty())
            return std::nullopt;
        SourceFileChoice c;
        c.paths << picks.dequeue();
        return c;
    }
    QList<SourceFileDialog> dialogs;
    QQueue<QString> picks; // files chosen in the source open dialog
};

class FakeProjectWindow : public ProjectWindow {
public:
    EditorSession& Session() override { return Program().session; }
    LoadedSettings& Loaded() override { return Program().settings; }
    ScriptExport& ScriptExporter() override { return *exporter; }
    std::shared_ptr<cPozycjeMP3>& Tracks() override { return tracks; }
    double ProjectDateValue() const override { return date; }
    void SetProjectDateValue(double value) override { date = value; }
    void SetSelectedTrack(std::int32_t n) override { selected = n; }
    void ReleaseClipboardTrack() override { clipboard.reset(); }
    void ClearUndoHistory() override { ++undoClears; }
    void ReleasePreviewPlayer() override { ++previewReleases; }
    bool IsReady() const override { return ready; }
    void SetReady(bool r) override {
        ready = r;
        readyChanges.append(r);
    }
    bool IsPlayerIdle() const override { return playerIdle; }
    void StopPlayer() override {}
    void SetInputEnabled(bool e) override { inputEnabled = e; }
    void SetBusyPointer(bool) override {}
    FrameScanHost& ScanHost() override { return scan; }
    bool SettleHeaderEdits() override { return true; }
    void ClearTrackViews() override { ++viewClears; }
    void RebuildTree() override { ++treeRebuilds; }
    void SetTreeRootText(const QString& t) override { rootText = t; }
    void ShowLoadedTrack(const cPozycjaMP3& t, std::uint32_t colour, bool listed) override {
        shown.append({t.lngNrPozycji, colour, listed});
    }
    void FinishProjectLoad() override { ++loadsFinished; }
    void SetCloneEnabled(bool e) override { cloneEnabled = e; }
    ProjectGeometry Geometry() const override { return geometry; }
    void SetTemplateBoxPosition(std::int32_t l, std::int32_t t) override {
        geometry.templateLeft = l;
        geometry.templateTop = t;
    }
    void SetAutosave(bool on) override { autosave = on; }
    QString ProjectFile() const override { return projectFile; }
    void SetProjectFile(const QString& path) override { projectFile = path; }
    void SetCheckedRecentItem(int element) override { checkedItem = element; }
    void RefreshRecentMenu() override { ++recentRefreshes; }
    QString ChooseFile(const QString& folder, const QString& filter, int& index,
                       bool save) override {
        fileDialogs.append({folder, filter, save});
        if (fileAnswers.isEmpty())
            return QString();
        const auto [path, chosenIndex] = fileAnswers.dequeue();
        index = chosenIndex;
        return path;
    }
    QString ChooseFolder(const QString& title, int) override {
        folderTitles.append(title);
        return folderAnswers.isEmpty() ? QString() : folderAnswers.dequeue();
    }

    struct Shown {
        std::int32_t number;
        std::uint32_t colour;
        bool listed;
    };
    struct FileDialog {
        QString folder, filter;
        bool save;
    };
    std::shared_ptr<cPozycjeMP3> tracks = std::make_shared<cPozycjeMP3>();
    double date = project_format::DateValue(QDate(2001, 2, 3));
    std::int32_t selected = 0;
    std::shared_ptr<cPozycjaMP3> clipboard;
    int undoClears = 0, previewReleases = 0, viewClears = 0, treeRebuilds = 0;
    int loadsFinished = 0, recentRefreshes = 0;
    bool ready = true, playerIdle = true, inputEnabled = true, cloneEnabled = false,
         autosave = false;
    QList<bool> readyChanges;
    ScanHostStub scan;
    QString rootText;
    QList<Shown> shown;
    ProjectGeometry geometry;
    int checkedItem = -1;
    QString projectFile;
    QList<FileDialog> fileDialogs;
    QQueue<std::pair<QString, int>> fileAnswers; // (path, filter index)
    QList<QString> folderTitles;
    QQueue<QString> folderAnswers;
    std::unique_ptr<ScriptExport> exporter = std::make_unique<EngineScriptExport>();
};

class ProjectTest : public ::testing::Test {
protected:
    void SetUp() override {
        store = test::FreshProgramState();
        Catalog().load(SourceDir() + "/resources/Kelbrin.ini");
        Catalog().setLanguage("ENGLISH");
        auto scripted = std::make_unique<ScriptedMessages>();
        messages = scripted.get();
        previousMessages = SetMessageService(std::move(scripted));
        dir = MakeTempDir("project");
    }
    void TearDown() override {
        SetMessageService(std::move(previousMessages));
        SetSettingsStore(nullptr);
    }
    QList<int> shownNumbers() const {
        QList<int> n;
        for (const auto& m : messages->shown)
            n << m.textNumber;
        return n;
    }
    std::shared_ptr<cPozycjaPlikow> addSource(const QString& path, std::int32_t id,
                                              float duration = 10) {
        auto f = std::make_shared<cPozycjaPlikow>();
        f->strFileName = path;
        f->lngNrPozycji = id;
        f->sngCzasTrwania = duration;
        Program().session.OpenFiles->Add(f);
        return f;
    }

    MemorySettingsStore* store = nullptr;
    ScriptedMessages* messages = nullptr;
    std::unique_ptr<MessageService> previousMessages;
    QString dir;
};

} // namespace kelbrin::test
