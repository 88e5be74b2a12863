#pragma once
// The player on virtual time: a VirtualClock, the fake media platform on it,
// a view that records what the player shows, and tracks made to measure whose
// source files exist (empty files; the fake graph plays them for their given
// length).

#include "core/app/MessageService.h"
#include "core/app/ProgramObjects.h"
#include "support/ProgramState.h"
#include "core/app/TextCatalog.h"
#include "core/document/Successors.h"
#include "core/document/cPozycjeMP3.h"
#include "core/editor/PlayRun.h"
#include "core/editor/TrackDeletion.h"
#include "core/editor/TrackGraph.h"
#include "core/playback/PlayerView.h"
#include "core/playback/SequencePlayer.h"
#include "platform/media/FakeMediaPlatform.h"
#include "platform/media/VirtualClock.h"
#include "platform/settings/MemorySettingsStore.h"
#include "support/BasicServices.h"
#include "support/ScriptedMessages.h"
#include "support/TestEnvironment.h"

#include <QHash>
#include <QStringList>
#include <gtest/gtest.h>
#include <memory>

namespace kelbrin::test {

class RecordingPlayerView : public PlayerView {
public:
    void showLook(const cPozycjaMP3& t, PlayLook look) override { looks[t.lngNrPozycji] = look; }
    void setTimeText(std::int32_t n, const QString& text) override {
        times[n] = text;
        ++timeWrites;
    }
    void setTimeVisible(std::int32_t n, bool v) override { timeShown[n] = v; }
    void setBusyPointer(bool busy) override { busyCalls << busy; }
    void runChanged(bool running) override { runs << running; }
    void modesChanged() override { ++modeChanges; }
    void deleteTrack(std::int32_t number) override {
        deleted << number;
        if (tracks)
            DeleteTrack(*tracks, number, run);
    }

    QHash<std::int32_t, PlayLook> looks;
    QHash<std::int32_t, QString> times;
    QHash<std::int32_t, bool> timeShown;
    QList<bool> busyCalls;
    QList<bool> runs;
    QList<std::int32_t> deleted;
    int modeChanges = 0;
    int timeWrites = 0; // one a pass for every playing track
    cPozycjeMP3* tracks = nullptr;
    PlayRunState* run = nullptr;
};

class PlayerTest : public ::testing::Test, protected BasicServices {
protected:
    void SetUp() override {
        test::ResetProgramObjects();
        auto fake = std::make_unique<FakeMediaPlatform>(clock);
        media = fake.get();
        previousMedia = SetMediaPlatform(std::move(fake));
        Program().settings.OverTakeSeconds = 0;
        Program().outputs.UseDefaultRenderer = true;
        folder = MakeTempDir("player");
        view.tracks = &tracks;
        view.run = &run;
        player = std::make_unique<SequencePlayer>(
            clock, [this] { return &tracks; }, run, view, [this] { return selected; },
            Program().settings, Program().outputs);
    }
    void TearDown() override {
        player.reset();
        SetMediaPlatform(std::move(previousMedia));
    }

    // A track numbered `number` following `pred`, playing `seconds` of a file
    // that long (a range from 0), with `overtake` against its predecessor.
    std::shared_ptr<cPozycjaMP3> add(std::int32_t number, std::int32_t pred, double seconds,
                                     float overtake = 0) {
        auto t = std::make_shared<cPozycjaMP3>();
        t->lngNrPozycji = number;
        t->lngTrack = pred;
        t->strLabel = QStringLiteral("T%1").arg(number);
        t->strFileNameSource = WriteFile(folder + QStringLiteral("/t%1.mp3").arg(number), "x");
        t->dblDuration = seconds;
        const auto ms = static_cast<std::int32_t>(seconds * 1000 + 0.5);
        t->lngKoniec_M = ms / 60000;
        t->lngKoniec_S = ms / 1000 % 60;
        t->lngKoniec_SS = ms % 1000;
        t->sngOvertake = overtake;
        media->durations[t->strFileNameSource] = seconds;
        tracks.Add(t);
        return t;
    }
    void link() { RebuildAllSuccessors(tracks); }
    std::shared_ptr<FakePlaybackGraph> graphOf(const std::shared_ptr<cPozycjaMP3>& t) {
        return media->graphFor(t->strFileNameSource);
    }
    // Plays: the play command, then the clock until the run has ended.
    void playToTheEnd(qint64 limitMs = 120000) {
        player->cmdPlay_Click();
        for (qint64 waited = 0; waited < limitMs; waited += 10) {
            clock.advance(10);
            recordStarts();
            if (!player->isRunning() && !player->timerEnabled() && waited > 200)
                return;
        }
        ADD_FAILURE() << "the run did not end";
    }
    // The moment every track began to play, by number (graphs are released
    // at the end of a run, so they are noted while it goes).
    void recordStarts() {
        for (std::int32_t p = 1; p <= tracks.Count(); ++p) {
            auto t = tracks.Item(p);
            if (t->blnPlayed && !wasPlaying.value(t->lngNrPozycji)) {
                starts[t->lngNrPozycji] << clock.milliseconds();
            }
            wasPlaying[t->lngNrPozycji] = t->blnPlayed;
        }
        if (keepGraphs)
            for (const auto& b : media->built)
                if (auto g = b.graph.lock())
                    if (!kept.contains(g))
                        kept << g;
    }
    // The clock times of every Run of the graphs of this file.
    QList<qint64> runTimes(const std::shared_ptr<cPozycjaMP3>& t) const {
        QList<qint64> at;
        for (const auto& g : kept)
            if (g->file == t->strFileNameSource)
                for (const auto& e : g->eventsOf(FakePlaybackGraph::Op::Run))
                    at << e.ms;
        return at;
    }
    bool allGraphsReleased() const {
        for (const auto& b : media->built)
            if (!b.graph.expired())
                return false;
        return true;
    }

    VirtualClock clock{1000};
    FakeMediaPlatform* media = nullptr;
    cPozycjeMP3 tracks;
    PlayRunState run;
    RecordingPlayerView view;
    std::int32_t selected = 0;
    std::unique_ptr<SequencePlayer> player;
    QString folder;
    QHash<std::int32_t, QList<qint64>> starts;
    QHash<std::int32_t, bool> wasPlaying;
    bool keepGraphs = true;
    QList<std::shared_ptr<FakePlaybackGraph>> kept;

private:
    std::unique_ptr<MediaPlatform> previousMedia;
};

} // namespace kelbrin::test
