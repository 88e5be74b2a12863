#pragma once
// The track panel's frame of the main window with the controls that the
// window's layout and language pass place and caption. The playback work
// fills it with the preview player and the range editing.

#include <QFrame>

class QComboBox;
class QGroupBox;
class QLabel;
class QScrollBar;

namespace kelbrin {

class TrackPanelFrame : public QFrame {
public:
    explicit TrackPanelFrame(QWidget* parent);

    QGroupBox* Frame2;    // tempo
    QGroupBox* fraTAG;    // tag fields, in the advanced view
    QComboBox* cboGenre;
    QScrollBar* HScrSpeed;
    QLabel* lblSpeed;
    QScrollBar* HScrBalance;
    QLabel* lblBal;
    QGroupBox* fraDevice;
    QComboBox* cboDevice;
    QLabel* lblSync;
};

} // namespace kelbrin
