#pragma once
// The track panel's frame of the main window with its controls, placed in
// twips; the window's layout and language pass place and caption them. The
// TrackPanel object connects them to the panel track and its preview.

#include <QFrame>
#include <QList>
#include <QPair>
#include <QRect>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollBar;

namespace kelbrin {

class TrackPanelFrame : public QFrame {
public:
    explicit TrackPanelFrame(QWidget* parent);

    // Keeps the preview player's column at the panel's right edge and the
    // bars, the device and tag frames that the layout stretches left of it.
    // A panel too narrow for the column beside the tempo and tag frames puts
    // it under the range and tempo frames, right of the bars. Called after
    // each layout pass.
    void FitPreviewColumn();
    // The panel's height (twips) at a width (twips): its design height while
    // the column fits beside the frames, more when it goes under them.
    static double HeightForWidth(double width);
    // Shows the track's caption over its playing time. The caption wraps at
    // its blanks over the lines its place leaves above the time and ends in
    // an ellipsis when even those are too few (the whole text is then its
    // tooltip); the time stays on one line of its own.
    void SetCaption(const QString& caption, const QString& duration);

    QGroupBox* Frame2;    // tempo
    QGroupBox* fraTAG;    // tag fields, in the advanced view
    QComboBox* cboGenre;
    QLineEdit* txtTitle;
    QLineEdit* txtArtist;
    QLineEdit* txtAlbum;
    QLineEdit* txtYear;
    QLineEdit* txtComment;
    QScrollBar* HScrSpeed;
    QLabel* lblSpeed;
    QScrollBar* HScrBalance;
    QLabel* lblBal;
    QGroupBox* fraDevice;
    QComboBox* cboDevice;
    QLabel* lblSync;
    QLabel* txtBPM;

    // The range: frame boxes and time boxes share their place; in frames
    // the milliseconds spinner of each side steps its frame box.
    QGroupBox* Frame1[2];
    QLabel* Label1[2]; // unit captions: 0 above the end boxes, 1 above the begin boxes
    QLineEdit* txtRamkaOd;
    QLineEdit* txtRamkaDo;
    QLineEdit* Text1[6];
    QScrollBar* VscrTime[6];
    // Begin and end marks from the preview, the range undo, the unit menu.
    QPushButton* cmdMark[2];
    QPushButton* cmdUndo2;
    QPushButton* cmdTime;
    // Tempo: tap and reset.
    QPushButton* cmdBPM;
    QPushButton* cmdReset;

    // The preview player.
    QPushButton* cmdPlay2;
    QPushButton* cmdPause2;
    QPushButton* cmdStop2;
    QPushButton* cmdMove2[4];
    QPushButton* cmdMenu2;
    QPushButton* cmdTest[2];
    QScrollBar* HScrSeek;
    QScrollBar* VScrVolume;
    QLabel* lblTime2;
    QLabel* lblCaption;  // the panel's caption: the track
    QLabel* lblDuration; // the source's playing time, under the caption

private:
    void buildRangeFrames();
    void buildTempoFrame();
    void buildTagFrame();
    void buildSpeedBalanceAndDevice();
    void buildPreviewColumn();
    // The tempo frame at a width, its buttons kept at its right edge.
    void fitTempoFrame(double width);
    // The column under the top frames; `right` is where the column ends.
    void placeColumnUnderFrames(double right);
    // The bars, the device frame and the labels end short of `limit` (px).
    void endRowsAt(int limit);
    // The caption and the time share `place` (px), the time under the caption.
    void placeCaption(const QRect& place);
    // The tag boxes that show names reach the tag frame's right margin.
    void fitTagFields();
    bool eventFilter(QObject* watched, QEvent* event) override;
    QRect m_captionPlace; // the caption's place in the column, x from the column's left (px)
    QRect m_shownCaption; // where the caption and the time are now (px)
    QString m_captionText;
    QList<QPair<QWidget*, QRect>> m_column; // preview controls at their design places, x from the column's left (px)
};

} // namespace kelbrin
