#pragma once
// The track panel at work: puts a track into the panel's controls
// (PokazMnie_FA), and maps the controls, the panel's pop-up menus and its two
// timers to the preview player (core/playback/PreviewPlayer) and the tag
// fields. Filling the controls from a track goes through no change handler,
// so showing a track never changes it. The range (TrackPanelRange) and the
// tempo box (TrackPanelTempo) have their own parts.

#include "core/playback/PreviewPlayer.h"

#include <QObject>
#include <functional>
#include <memory>

class QAction;
class QTimer;

namespace kelbrin {

class cPozycjaMP3;
class frmDazudizi;
class TrackPanelFrame;
class TrackPanelRange;
class TrackPanelTempo;

class TrackPanel final : public QObject, private PreviewHost {
public:
    explicit TrackPanel(frmDazudizi& window);
    ~TrackPanel() override;

    // Shows the panel with the track; nothing of the track changes.
    void PokazMnie_FA(std::shared_ptr<cPozycjaMP3> track);
    // Stops the preview and drops its graph and points (project reset).
    void ReleasePreview();
    // The device box shows the panel track's device again (after the
    // settings gave every track a device).
    void ShowDevice();

    void cmdPlay2_Click();
    void cmdPause2_Click();
    void cmdStop2_Click();
    void cmdMove2_Click(int index);
    void mnuTest_B_Click();
    void mnuTest_E_Click();
    void mnuOption_Scan_Click();
    void mnuOption_Scan_B_Click();
    // Play mode 0..3 (mnuPlayR, mnuPlayZa, mnuPlayS, mnuPlayAll).
    void SetPlayMode(int mode);
    void Timer1_Timer();
    void Timer2_Timer();
    // Begin (0) or end (1) mark from the preview's position; range undo.
    void cmdMark_Click(int index);
    void cmdUndo2_Click();
    // Tempo tap and its reset.
    void cmdBPM_Click();
    void cmdReset_Click();
    // The buttons whose tooltip is not the text of their picture's number;
    // after the window gave every button its picture.
    void ApplyTooltips();
    TrackPanelRange& Range() const { return *m_range; }
    TrackPanelTempo& Tempo() const { return *m_tempo; }

    PreviewPlayer& preview() { return m_preview; }
    const std::shared_ptr<cPozycjaMP3>& Cpoz() const { return m_preview.Cpoz; }
    bool blnPanelBusy() const { return m_preview.blnPanelBusy; }
    // Texts of the captions that change with the language.
    void Retranslate();

private:
    QString deviceName() const override;
    bool mainWindowVisible() const override;
    bool framesUnit() const override;

    void connectControls();
    // The action, then the controls brought up to date.
    std::function<void()> after(std::function<void()> action);
    void connectButtons();
    void connectBars();
    void connectMenuItems();
    void connectFields();
    void postPokazMnie();
    void fillDevices();
    void fillGenre();
    void showCaption();
    // Copies the preview's bars, checks and colours into the controls.
    void refresh();
    QAction* item(const char* name) const;
    void tagEdited();

    frmDazudizi& m_window;
    TrackPanelFrame& m_frame;
    PreviewPlayer m_preview;
    QTimer* m_timer1;
    QTimer* m_timer2;
    TrackPanelRange* m_range;
    TrackPanelTempo* m_tempo;
    QString m_caption;  // text 3202 and the track's label
    QString m_duration; // text 2113 and the source's length
    bool m_filling = false;
};

} // namespace kelbrin
