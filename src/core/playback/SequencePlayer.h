#pragma once
// The sequence player: plays the project's chain of tracks, each on its own
// graph. A run starts on the player timer's tick after the play command;
// then a pass over the run list (PlayRunState::colPlayRun, the positions of
// the tracks started and not yet finished) runs on every tick of the clock,
// starts successors when a track ends or, by their overtake, earlier (an
// overlap) or later (a gap, measured by the track's delay timer), repeats
// loops, ramps fades and writes the time labels. The commands (pause, move,
// next, previous, stop, the play modes) only change the shared fields below,
// which the next pass reads, so everything runs on the Qt thread and on the
// clock it is given: tests drive it on virtual time.
//
// Numbers and positions: a start target, a loop target and a predecessor are
// track numbers; the run list, successor lists and lngOverTakingIndex hold
// positions, which a deletion shifts. Numbers are mapped to positions through
// the collection whenever they are used, and nothing is cached across ticks.
//
// Every end of a run (all tracks done, stop, a graph that cannot be built,
// the window going away) stops and releases the graphs the run built or
// started, so no output stays open after it.

#include "DelayTimerArray.h"

#include <QList>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

namespace kelbrin {

class Clock;
struct AudioOutputs;
struct LoadedSettings;
class PlayerView;
class cPozycjaMP3;
class cPozycjeMP3;
class PlaybackGraph;
struct PlayRunState;

class SequencePlayer {
public:
    using TracksGetter = std::function<cPozycjeMP3*()>;
    // `run` is the run list the editor's deletions keep in line; `selected`
    // gives lngSelectedTrack, where a run that is not play-all starts.
    // `settings` and `outputs` are read at each use.
    SequencePlayer(Clock& clock, TracksGetter tracks, PlayRunState& run, PlayerView& view,
                   std::function<std::int32_t()> selected, const LoadedSettings& settings,
                   const AudioOutputs& outputs);
    ~SequencePlayer();
    SequencePlayer(const SequencePlayer&) = delete;
    SequencePlayer& operator=(const SequencePlayer&) = delete;

    // The pass period while something changes from pass to pass (a fade
    // ramps, a gap delay runs, a moment is due), and the yield between
    // passes. Between the moments of its tracks a pass waits until the
    // soonest one, at most kQuietMaxMs; every command wakes it at once.
    static constexpr std::int64_t kPassMs = 10;
    static constexpr std::int64_t kQuietMaxMs = 50;
    // The player timer's interval: a run starts this long after the play command.
    static constexpr std::int64_t kTimerMs = 100;

    // --- commands ---
    // Switches the player timer on: a run starts on its tick; during a run the
    // loop ends the run (or, with repeat, restarts it) at the end of its pass.
    void cmdPlay_Click();
    // Stops every track (graphs kept until the run ends) and unchecks repeat;
    // a run that was asked for and has not started yet does not start.
    void cmdStop_Click();
    void cmdPause_Click();
    // Index 0 back, 1 forward, by MoveStep seconds.
    void cmdMove_Click(int index);
    void cmdNext_Click();
    void cmdPrev_Click();
    void mnuPlay_All_Click();
    void mnuPlay_Marker_Click();
    void mnuPlay_Repeat_Click();
    // Ends a run at once through its exit (the window is closing).
    void Shutdown();
    // Before a source file is rewritten: every unlocked track's graph is
    // stopped and released (a run then finds its tracks done), the pause is
    // cleared and repeat switched off. Graphs are built again on the next play.
    void ReleaseGraphsBeforeTagWrite();

    // Starts the track at this position with all its play settings (see
    // PlayTrack in the .cpp); notFirst is false only for the first track of a
    // run or repeat.
    void PlayTrack(std::int32_t position, bool notFirst);

    // --- shared state ---
    bool blnPause = false;
    bool blnStartPhase = false;
    std::int64_t lngRefTime = 0; // clock milliseconds
    // Play modes (the Play menu's check marks).
    bool mnuPlay_All = false;
    bool mnuPlay_Marker = false;
    bool mnuPlay_MarkerEnabled = true;
    bool mnuPlay_Repeat = false;
    DelayTimerArray Timer;

    bool isRunning() const { return m_busy; }
    bool timerEnabled() const { return m_timerEnabled; }

private:
    // Failed: a playing track's media failed to play; the run ends.
    enum class PassEnd { Done, Jump, Failed };
    cPozycjeMP3& tracks() const { return *m_tracks(); }
    void setTimer(bool enabled);
    // Stop's work on the tracks, without touching the player timer.
    void stopTracks();
    void tmrPlayer_Timer();
    bool startRun();
    void runPasses();
    // The loop head: the start target itself or its successors start. False
    // when the run must end (a graph is missing).
    bool loopHead();
    PassEnd pass();
    // The graph's times of a run-list entry, read once per pass.
    struct EntryTimes {
        double cur;
        double stop;
        double dur;
    };
    // The steps of a pass for the run-list entry at index i; nothing when the
    // pass goes on to the next entry.
    std::optional<PassEnd> passEntry(std::int32_t i, double lead);
    // Step 2, for a track that plays: its loop, its successor's moment or a
    // previous-track request.
    std::optional<PassEnd> whilePlaying(cPozycjaMP3& track, std::int32_t i, const EntryTimes& at, double lead);
    PassEnd loopBack(cPozycjaMP3& track, std::int32_t i);
    PassEnd startSuccessor(cPozycjaMP3& track);
    PassEnd previousDuringGap(cPozycjaMP3& track);
    // Step 3, at the end of the range: a track with a gap starts its delay
    // timer; any other leaves the run list.
    void startGapDelay(cPozycjaMP3& track);
    PassEnd finishEntry(cPozycjaMP3& track, std::int32_t i);
    // The deferred deletion of pass step 1.
    void deletePending(std::int32_t index);
    void finishLook(cPozycjaMP3& track);
    void applyFadesAndLabel(cPozycjaMP3& track);
    void removeEntry(std::int32_t index);
    void markToDeleteAfter();
    void deleteWaiting();
    void exitPath();
    void remember(const std::shared_ptr<cPozycjaMP3>& track);
    void scheduleNext(std::int64_t delayMs = kPassMs);
    // The wait before the next pass, from what this pass saw.
    std::int64_t nextPassMs() const;
    void noteQuiet(const cPozycjaMP3& track, const PlaybackGraph& graph, const EntryTimes& at, double lead);
    // A command changed what the next pass reads: it comes within kPassMs.
    void wake();

    Clock& m_clock;
    TracksGetter m_tracks;
    PlayRunState& m_run;
    PlayerView& m_view;
    std::function<std::int32_t()> m_selected;
    const LoadedSettings& m_settings;
    const AudioOutputs& m_outputs;

    bool m_timerEnabled = false;
    int m_timerCall = 0;
    int m_passCall = 0;
    std::int64_t m_passDueMs = 0;  // clock time of the pending pass
    std::int64_t m_quietMs = 0;    // the longest wait this pass allows
    bool m_busy = false;
    bool m_gotoHead = false;
    bool m_active = false;
    bool m_firstStart = false;
    std::int32_t m_startTarget = 0; // a track number, 0 = every head track
    std::int32_t m_startTrack = 0;
    bool m_retry = false;
    std::int32_t m_deleteAfter = 0; // a marked track that left the run list, by number
    // The tracks whose graphs this run built or started, released at its end.
    QList<std::weak_ptr<cPozycjaMP3>> m_runTracks;
};

} // namespace kelbrin
