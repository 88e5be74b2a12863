#pragma once
// The fade editor's preview: plays the last part of the ending track and the
// first part of the starting track on two graphs of its own, starts the
// second where the overtake says (an overlap by position, a gap by a delay on
// the clock), applies both ramps while they play, repeats or ends.
//
// It is a state machine driven by the clock it is given, one pass per tick, not
// a loop inside a click: a second start while it runs is ignored, and stop()
// or destroying it ends it at once without anything left that still uses the
// graphs. It reads the tracks' fields afresh on every pass (the bars may move
// during a preview) and writes none of them.

#include <QString>
#include <functional>
#include <memory>

namespace kelbrin {

class Clock;
struct AudioOutputs;
struct LoadedSettings;
class PlaybackGraph;
class cPozycjaMP3;

// The fade editor's window, shown how the preview goes.
class FadePreviewObserver {
public:
    virtual ~FadePreviewObserver() = default;
    // The picture of the ending (0) or the starting (1) track: playing or idle.
    virtual void PictureChanged(int picture, bool playing) = 0;
    // The line between the pictures: red while the delay runs, blue otherwise.
    virtual void DelayChanged(bool delayArmed) = 0;
    // The preview has ended (by itself or by stop()).
    virtual void PreviewFinished() = 0;
};

class FadeEditorPreview {
public:
    // Milliseconds between passes.
    static constexpr int kPassMs = 10;

    // `endingShown` false: the starting track alone (it has no predecessor).
    FadeEditorPreview(std::shared_ptr<cPozycjaMP3> ending, std::shared_ptr<cPozycjaMP3> starting,
                      bool endingShown, Clock& clock, const LoadedSettings& settings,
                      const AudioOutputs& outputs);
    ~FadeEditorPreview();
    FadeEditorPreview(const FadeEditorPreview&) = delete;
    FadeEditorPreview& operator=(const FadeEditorPreview&) = delete;

    // Who is shown how the preview goes (none: nobody).
    void setObserver(FadePreviewObserver* observer) { m_observer = observer; }
    // The repeat switch, asked when a pass reaches the preview's end.
    std::function<bool()> repeat;

    // Builds both graphs on `device` (each track's own device when empty),
    // the ending one first; a graph that cannot be built (reported by
    // BuildPlaybackGraph) stops the building. Keeps the durations for the
    // time rescaling. Returns true when every graph needed was built.
    bool OpenPreviewGraphs(const QString& device);
    double endDuration() const { return m_endDuration; }
    double startDuration() const { return m_startDuration; }

    // Starts a preview on the graphs built; false (and nothing done) while
    // one runs or when a graph is missing.
    bool start();
    // Ends a running preview at once; nothing when none runs.
    void stop();
    bool running() const { return m_running; }

    // One pass (the clock calls it; tests may too).
    void tick();

    // For tests: the graphs in use.
    std::shared_ptr<PlaybackGraph> endGraph() const { return m_end; }
    std::shared_ptr<PlaybackGraph> startGraph() const { return m_start; }

private:
    void startEnding();
    void startStarting();
    void applyFadeOut();
    void applyFadeIn();
    void armDelay();
    void disarmDelay();
    void schedule();
    void finish();
    double toEndGraph(double t) const;
    double toStartGraph(double t) const;

    std::shared_ptr<cPozycjaMP3> m_e, m_s;
    bool m_endingShown;
    Clock& m_clock;
    const LoadedSettings& m_settings;
    const AudioOutputs& m_outputs;
    std::shared_ptr<PlaybackGraph> m_end, m_start;
    double m_endDuration = 0, m_startDuration = 0;
    bool m_running = false;
    int m_phase = 1; // 1: the starting track waits; 0: it plays
    bool m_endRunning = false;
    float m_previewEnd = 0;
    int m_passCall = 0;
    int m_delayCall = 0;
    bool m_delayArmed = false;
    bool m_delayDone = false;
    FadePreviewObserver* m_observer = nullptr;
};

} // namespace kelbrin
