#pragma once
// The track panel's preview: the panel track played through a graph of its
// own (apart from the sequence player's graphs) in one of four play modes,
// steered by the panel's volume, balance, speed and seek bars, with a watch
// (every 250 ms), a scan (every 1000 ms), begin and end tests of three
// seconds and marker stepping through the points of the track's segment list.
//
// The window owns the controls and mirrors this object: a control's event
// calls the handler of the same name here, and afterwards the window copies
// the bars, checks and colours back into its controls without their change
// signals. Timers are the window's; it calls Timer1_Timer and Timer2_Timer
// and switches Timer2 by scanTimerOn.

#include <QList>
#include <QString>
#include <cstdint>
#include <memory>
#include <optional>

namespace kelbrin {

class cPozycjaMP3;
class PlaybackGraph;
struct AudioOutputs;
struct EditorSession;
struct LoadedSettings;

class PreviewHost {
public:
    virtual ~PreviewHost() = default;
    // The text of the panel's device list.
    virtual QString deviceName() const = 0;
    // The main window is shown (the track's own graph is steered only then).
    virtual bool mainWindowVisible() const = 0;
    // The time display is in frames (the item "mnuUnits_Jednostki(0)" checked).
    virtual bool framesUnit() const = 0;
};

class PreviewPlayer {
public:
    // `settings` and `outputs` are read at each use (the settings dialog
    // changes them while the panel lives).
    PreviewPlayer(PreviewHost& host, const EditorSession& session, const LoadedSettings& settings,
                  const AudioOutputs& outputs);
    ~PreviewPlayer();

    // Puts a track into the panel: stops the preview and releases its graph
    // and segment points, so the next start builds them anew for this track.
    // The bars are set from the track's fields without writing anything back.
    void Load(std::shared_ptr<cPozycjaMP3> track);
    // Drops the graph and the points (project reset, another track loaded).
    void Release();
    const EditorSession& session() const { return m_session; }
    const LoadedSettings& settings() const { return m_settings; }

    // Panel state.
    std::shared_ptr<cPozycjaMP3> Cpoz;
    // MediaControl, MediaPosition and MediaBasicAudio: one graph.
    std::shared_ptr<PlaybackGraph> MediaControl;
    std::int32_t lngOffs = -2;
    QList<std::int32_t> lngTimPoints;
    bool blnPause2 = false;
    bool blnPanelBusy = false;

    // The bars, in their own units: volume 0..-100 (dB, 0 at the top),
    // balance 10000..-10000, speed 0..200 (per cent), seek 0..32767.
    static constexpr int kSeekMax = 32767;
    int volumeBar = 0;
    int balanceBar = 0;
    int speedBar = 100;
    int seekBar = 0;

    // Checked menu items and lit test buttons.
    bool mnuTest_B = false;
    bool mnuTest_E = false;
    bool mnuOption_Scan = false;
    bool mnuOption_Scan_B = false;
    bool mnuPLoop = false;
    bool scanTimerOn = false;   // Timer2 enabled
    bool testLit[2] = {false, false}; // cmdTest items 0 and 1 in the running colour
    // The tempo caption (txtBPM): the stored tempo scaled by the speed; right
    // after a match, the tempo matched to, for as long as the speed and the
    // stored tempo stay those of the match (the whole-per-cent speed would
    // read a little short of it).
    std::int32_t bpmTag = 0;
    struct MatchedTempo {
        int speed = 0;
        std::int32_t stored = 0;
        std::int32_t target = 0;
    };
    std::optional<MatchedTempo> matchedTempo;
    QString bpmCaption() const;

    // The preview.
    void cmdPlay2_Click();
    void PlayPreviewRange();
    void cmdPause2_Click();
    void cmdStop2_Click();
    // Play-mode items: mode 0 mnuPlayR, 1 mnuPlayZa, 2 mnuPlayS, 3 mnuPlayAll.
    void SetPlayMode(int mode);

    // The bars; each stores the value in the track and applies it to the
    // graphs that exist.
    void VScrVolume_Change(int value);
    void HScrBalance_Change(int value);
    void HScrSpeed_Change(int value);
    void HScrSeek_Scroll(int value);

    // The watch. Returns the time display's new text, "" to clear it, or
    // nothing to keep it.
    std::optional<QString> Timer1_Timer();
    // The scan.
    void Timer2_Timer();
    void mnuOption_Scan_Click();
    void mnuOption_Scan_B_Click();
    void mnuTest_B_Click();
    void mnuTest_E_Click();
    void cmdMove2_Click(int index);
    void mnuBalans_Set_Click();
    void mnuSpeed2_Set_Click();
    // The device box: the track moves to the output `device` (its next play
    // rebuilds its graph there), and a preview in progress goes on there from
    // where it was.
    void cboDevice_Click(const QString& device);

    // Begin and end of the range in the preview graph's time.
    double graphBegin() const;
    double graphEnd() const;

private:
    bool buildGraph(bool useDefault);
    void startOnGraph();
    void loadPoints();
    PlaybackGraph* trackAudio() const;

    PreviewHost& m_host;
    const EditorSession& m_session;
    const LoadedSettings& m_settings;
    const AudioOutputs& m_outputs;
};

// The watch's time display for a track time in seconds: "m : s" in time
// units; in frame units the frame number at that time in the open source
// `source`, or nothing when the source is not open or has no frames.
std::optional<QString> PreviewTimeText(const EditorSession& session, double trackSeconds,
                                       bool framesUnit, const QString& source);

} // namespace kelbrin
