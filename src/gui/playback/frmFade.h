#pragma once
// The fade editor: the transition from an ending track to the track after it.
// Seven bars edit the fade lengths, the overtake and the four volumes and
// write each change into the tracks at once; the graph shows the envelope and
// carries the two preview markers; the preview plays the transition.
// Opening the editor changes nothing in either track. One window per pair,
// modeless, deleted on close; closing ends a running preview.

#include "core/playback/FadeEditorBars.h"
#include "core/playback/FadeEditorLayout.h"
#include "core/playback/FadeEditorPreview.h"

#include <QFrame>
#include <QWidget>
#include <functional>
#include <memory>

class QAction;
class QComboBox;
class QLabel;
class QMenu;
class QPushButton;
class QScrollBar;

namespace kelbrin {

struct AudioOutputs;
struct LoadedSettings;
class cPozycjaMP3;
class frmFade;

// The graph: draws the envelope and lets the user drag the markers.
class FadeGraph : public QFrame {
    Q_OBJECT
public:
    explicit FadeGraph(frmFade* owner);
    QString caption;

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent*) override;
    void mouseMoveEvent(QMouseEvent*) override;
    void mouseReleaseEvent(QMouseEvent*) override;

private:
    frmFade* m_owner;
};

class frmFade : public QWidget, private FadePreviewObserver {
    Q_OBJECT
public:
    // Opens a new editor for the pair. `overtakeChanged` runs after the
    // overtake bar wrote the starting track (the ending track's successor
    // list is sorted by overtakes). The preview reads `settings` and plays on
    // `outputs`, which outlive the window.
    static frmFade* PokazMnie(std::shared_ptr<cPozycjaMP3> ending,
                              std::shared_ptr<cPozycjaMP3> starting,
                              std::function<void()> overtakeChanged, const LoadedSettings& settings,
                              AudioOutputs& outputs, QWidget* parent = nullptr);
    ~frmFade() override;

    std::shared_ptr<cPozycjaMP3> cPozEnd, cPozStart;
    bool endingShown() const { return m_endingShown; }
    const FadeEditorLayout& layoutTwips() const { return m_layout; }
    FadeEditorPreview& preview() const { return *m_preview; }

    QLabel *shpTrack0, *shpTrack1, *lblFadeOutName, *lblFadeInName;
    FadeGraph* fraGraf;
    QScrollBar *VScrVolumeOut, *VScrVolumeOutEnd, *VScrVolumeInStart, *VScrVolumeIn;
    QScrollBar *HScrFadeOutTime, *HScrFadeInTime, *HscrOvertake;
    QLabel *lblFadeOutTime, *lblFadeInTime, *lblOverTake;
    QPushButton *cmdPlay, *cmdStop, *cmdMenu, *cmdMove0, *cmdMove1;
    QComboBox* cboDevice;
    QMenu* mnuPlay;
    QAction* mnuPlay_Rep;

    void cmdPlay_Click();
    void cmdStop_Click();
    void mnuPlay_Rep_Click();
    void ShowMarkerTimes(bool resetAllowed);

    // Marker dragging, in twips of the graph.
    void GraphMouseDown(double x);
    void GraphMouseMove(double x);
    void GraphMouseUp();
    bool blnMarkerHit = false, blnMarkerTo = false, blnMarkerDrag = false;
    // Where a line stands while it is dragged before a move was accepted.
    double dragX = -1;

protected:
    void resizeEvent(QResizeEvent*) override;
    void paintEvent(QPaintEvent*) override;
    void closeEvent(QCloseEvent*) override;
    void keyReleaseEvent(QKeyEvent*) override;

private:
    frmFade(std::shared_ptr<cPozycjaMP3> ending, std::shared_ptr<cPozycjaMP3> starting,
            const LoadedSettings& settings, AudioOutputs& outputs, QWidget* parent);
    void postPokazMnie();
    void Form_Load();
    FadeEditorBars bars() const;
    void barChanged(QScrollBar* bar);
    void Relayout();
    void ShowLabels();
    void setPicture(int index, bool playing);
    // The preview's pictures and the line between them follow it.
    void PictureChanged(int picture, bool playing) override { setPicture(picture, playing); }
    void DelayChanged(bool delayArmed) override;
    void PreviewFinished() override {}

    const LoadedSettings& m_settings;
    AudioOutputs& m_outputs;
    std::unique_ptr<FadeEditorPreview> m_preview;
    std::function<void()> m_overtakeChanged;
    FadeEditorLayout m_layout;
    bool m_endingShown = true;
    bool m_loading = true;
    bool m_delayArmed = false;
};

} // namespace kelbrin
