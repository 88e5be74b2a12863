#pragma once
// The track panel's range controls as a model: two frame boxes, six time
// boxes (begin and end minutes, seconds, milliseconds) with a spinner each,
// the unit menu, the two mark buttons and the range undo. The window owns the
// widgets and mirrors this object: the user's edits come in through the Set
// calls, and afterwards the window copies every text and value back without
// their change signals.
//
// A Set call that changes a box's text or a spinner's value runs that
// control's change handling at once, nested inside the writer, as the
// widgets' own change events would; writing the same value runs nothing.
//
// The update guard: while the program itself writes into the boxes and
// spinners, `enabled` (the panel frame's enabled state) is false, so no undo
// record is pushed and the spinners do nothing. `tag` holds "ustawianie"
// while the panel is being filled; range edits tick the track for export only
// while it is empty.

#include "RangeUndoStack.h"

#include <QString>
#include <cstdint>
#include <memory>
#include <optional>

namespace kelbrin {

class cPozycjaMP3;
class cPozycjaPlikow;
class PlaybackGraph;
struct EditorSession;

class RangeEditorHost {
public:
    virtual ~RangeEditorHost() = default;
    // The track's begin, end and length columns in the track list.
    virtual void UpdateTrackListRow(const cPozycjaMP3& track) = 0;
    // Puts the keyboard focus on time box `index`.
    virtual void FocusTimeBox(int index) = 0;
    // Runs the frame scanner over the open file again; false when nothing
    // was scanned.
    virtual bool RescanSource(std::shared_ptr<cPozycjaPlikow>& file) = 0;
};

class RangeEditor {
public:
    RangeEditor(RangeEditorHost& host, const EditorSession& session);

    // Spinner ranges: minutes 0..9999, seconds 0..59, milliseconds -1..1000
    // (one beyond each end, which is what makes a carry or a borrow).
    static int SpinnerMin(int index);
    static int SpinnerMax(int index);
    // Highest minute count a carry reaches (what the minutes box holds).
    static constexpr std::int32_t kMaxMinutes = 9999;

    // Shows the track: the unit from its blnJednostka (which may ask to scan
    // an unindexed source), the boxes and spinners from its fields, the undo
    // emptied. Runs no change handling, so the track is not changed.
    void Load(std::shared_ptr<cPozycjaMP3> track);

    // Writes, by the user or the program.
    void SetTimeText(int index, const QString& text);
    void SetFrameText(int side, const QString& text); // 0 begin, 1 end
    void SetSpinner(int index, int value);

    // Unit menu: 0 frames, 1 seconds. A range held in time that the user
    // switches to frames gets the frames its times fall on.
    void mnuUnits_Jednostki_Click(int index);
    // Begin (0) or end (1) mark from the preview's position; nothing without
    // a preview graph. testB and testE: the preview's tests are running.
    // oldAlgorithm: the preview time is taken as the track time unscaled.
    void cmdMark_Click(int index, PlaybackGraph* preview, bool testB, bool testE,
                       bool oldAlgorithm);
    void PushRangeUndo();
    void cmdUndo2_Click();

    // State of the controls.
    std::shared_ptr<cPozycjaMP3> Cpoz;
    QString txtRamka[2] = {QStringLiteral("0"), QStringLiteral("0")}; // txtRamkaOd, txtRamkaDo
    QString Text1[6] = {QStringLiteral("0000"), QStringLiteral("00"), QStringLiteral("000"),
                        QStringLiteral("0000"), QStringLiteral("00"), QStringLiteral("000")};
    int VscrTime[6] = {0, 0, 0, 0, 0, 0};
    bool enabled = true;  // the update guard (panel frame enabled)
    bool visible = false; // the panel is shown
    QString tag;          // "ustawianie" while the panel is filled
    bool framesChecked = false; // the item "mnuUnits_Jednostki(0)" is checked
    bool secondsChecked = true; // the item "mnuUnits_Jednostki(1)" is checked
    bool framesShown = false;   // the frame boxes stand in place of the time boxes
    int unitCaption = 2129;     // text number of the unit captions above the boxes
    QString mnuTime;            // the unit menu's caption: the source's length
    std::int32_t lngSourceFrames = 0;
    RangeUndoStack RangeUndo;

    // The open file of the track's source, or nothing.
    std::shared_ptr<cPozycjaPlikow> source() const;

private:
    // Clears the update guard for the program's own writes and puts it back.
    class GuardOff {
    public:
        explicit GuardOff(bool& guard) : m_guard(guard), m_was(guard) { m_guard = false; }
        ~GuardOff() { m_guard = m_was; }
        GuardOff(const GuardOff&) = delete;
        GuardOff& operator=(const GuardOff&) = delete;

    private:
        bool& m_guard;
        bool m_was;
    };

    void Text1_Change(int index);
    void txtRamka_Change(int side);
    void VscrTime_Change(int index, int previous);
    void stepFrame(int index, int previous);
    void carry(int index);
    void borrow(int index);
    // The milliseconds box and its spinner both at `value`.
    void writeMilliseconds(int index, std::int32_t value);
    // The six time boxes and spinners from the track, without any handling.
    void showTimeFields();
    void markTime(int index, double seconds);
    void markFrame(int index, const cPozycjaPlikow& file, double seconds);
    // The frame fields and boxes from the time fields (a switch from time to frames).
    void takeFramesFromTimes(const cPozycjaPlikow& file);
    void touched();

    RangeEditorHost& m_host;
    const EditorSession& m_session;
    bool m_stepping = false; // the frame stepper is writing
};

// The whole frame at a track time: the sample at that time (rounded, halves
// to even) divided by the samples of one frame. Nothing when the file has no
// sampling rate.
std::optional<std::int32_t> FrameAtSeconds(const cPozycjaPlikow& file, double seconds);

// Minutes, seconds (0-59) and milliseconds of a time, the milliseconds
// truncated; computed on the number, so a time that is a whole number of
// milliseconds splits exactly. Negative times split as 0.
struct TimeParts {
    std::int32_t minutes = 0;
    std::int32_t seconds = 0;
    std::int32_t milliseconds = 0;
};
TimeParts SplitSeconds(double seconds);

} // namespace kelbrin
