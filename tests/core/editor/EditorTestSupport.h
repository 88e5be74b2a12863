#pragma once
// Shared set-up of the editor's core tests: the English catalogue, an
// in-memory settings store, scripted message boxes, tracks made to measure and
// a host that records what the editor asks of the window.

#include "core/app/MessageService.h"
#include "core/app/ProgramObjects.h"
#include "support/ProgramState.h"
#include "core/app/TextCatalog.h"
#include "core/document/cPozycjeMP3.h"
#include "core/editor/GraphEditor.h"
#include "platform/settings/MemorySettingsStore.h"
#include "support/BasicServices.h"
#include "support/ScriptedMessages.h"
#include "support/TestEnvironment.h"
#include "support/TrackFactory.h"

#include <QStringList>
#include <gtest/gtest.h>
#include <memory>

namespace kelbrin::test {

class RecordingEditorHost : public GraphEditorHost {
public:
    void TworzUndo() override {
        ++snapshots;
        if (history && tracks)
            history->Take(*tracks);
    }
    void showTrackMenu() override { calls << "trackMenu"; }
    void showLoopMenu() override { calls << "loopMenu"; }
    void openProperties(std::shared_ptr<cPozycjaMP3> track) override {
        calls << QStringLiteral("properties %1").arg(track->lngNrPozycji);
    }
    bool canOpenProperties() const override { return trackPanel; }
    void addTrack() override { calls << "addTrack"; }
    void openFadeEditor(std::shared_ptr<cPozycjaMP3> ending,
                        std::shared_ptr<cPozycjaMP3> starting) override {
        calls << QStringLiteral("fade %1/%2").arg(ending->lngNrPozycji).arg(starting->lngNrPozycji);
    }
    bool canOpenFadeEditor() const override { return fadeEditor; }
    void applyCommandStates(const CommandStates& s) override {
        for (auto it = s.cbegin(); it != s.cend(); ++it)
            states[it.key()] = it.value();
    }
    void showHoverText(const QString& text) override { hover = text; }
    void trackLinkChanged(std::int32_t number) override { relinked << number; }
    void update() override { ++updates; }

    bool trackPanel = true; // the track panel and the fade editor are there
    bool fadeEditor = true;
    int snapshots = 0;
    UndoHistory* history = nullptr;
    cPozycjeMP3* tracks = nullptr;
    QStringList calls;
    CommandStates states;
    QString hover;
    QList<std::int32_t> relinked;
    int updates = 0;
};

class EditorTest : public ::testing::Test, protected BasicServices {
protected:
    void SetUp() override {
        test::ResetProgramObjects();
        host.history = &history;
        host.tracks = &tracks;
    }
    // A track numbered `number` centred at (x, y), following `pred`
    // (0 = the start box, its own number = detached).
    std::shared_ptr<cPozycjaMP3> add(std::int32_t number, int x, int y, std::int32_t pred) {
        auto t = test::MakeTrackAt(number, x, y, pred, QStringLiteral("T%1").arg(number));
        tracks.Add(t);
        return t;
    }
    std::shared_ptr<cPozycjaMP3> at(std::int32_t position) { return tracks.Item(position); }
    QList<std::int32_t> numbers() const {
        QList<std::int32_t> n;
        for (std::int32_t i = 1; i <= tracks.Count(); ++i)
            n << tracks.Item(i)->lngNrPozycji;
        return n;
    }

    cPozycjeMP3 tracks;
    UndoHistory history;
    RecordingEditorHost host;
};

using L = QList<std::int32_t>;

} // namespace kelbrin::test
