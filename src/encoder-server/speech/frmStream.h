#pragma once
// The encoder server's window: the speech coefficient of the last period with
// its bar, the approval threshold (red while a segment is open) and the
// detector's tuning sliders with their values. Shown only in speech-marker
// mode; without the diagnostics setting only the coefficient and the
// threshold rows are visible.

#include "SpeechMarker.h"

#include <QWidget>
#include <functional>

class QLabel;
class QScrollBar;

namespace kelbrin {

class frmStream : public QWidget, public SpeechView {
    Q_OBJECT
public:
    explicit frmStream(QWidget* parent = nullptr);

    // The detector the sliders tune (nullptr: none); the window becomes its view.
    void attach(SpeechMarker* marker);
    // Captions in the catalogue's language.
    void LoadLang();
    // Full height with every slider, or only the first two rows.
    void setFullHeight(bool full);
    bool fullHeight() const { return m_full; }

    // The window closes only when this says the recording has ended (-1).
    std::function<int()> recordingState;

    void showParameters(const SpeechParameters& parameters) override;
    void showPeriod(const SpeechPeriod& period, const SpeechParameters& parameters) override;
    void showSegmentOpen(bool open) override;

    // The values on the sliders.
    SpeechParameters sliderParameters() const;

    QLabel* Label8;
    QLabel* Label2;
    QScrollBar* HScroll2;
    QLabel* Label9;
    QLabel* Label3;
    QScrollBar* HScroll3;
    QLabel* Label12;
    QLabel* lblAmp;
    QScrollBar* HScroll1;
    QLabel* Label13;
    QLabel* lblOdrzutM;
    QScrollBar* HScroll8;
    QLabel* Label4;
    QLabel* Label11;
    QScrollBar* HScroll7;
    QLabel* Label6;
    QLabel* Label5;
    QLabel* Label10;
    QLabel* Label7;
    QLabel* Label21;
    QLabel* Label20;
    QScrollBar* VScroll1;
    QLabel* Label19;
    QLabel* lblVolume;
    QScrollBar* HScroll6;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void slider_Change();
    bool anyPeriodShown() const;
    QList<QWidget*> detailControls() const;

    SpeechMarker* m_marker = nullptr;
    bool m_showing = false;
    bool m_full = true;
    bool m_periodShown = false;
};

} // namespace kelbrin
