#pragma once
// The split dialog: the one window through which tracks are cut from a source
// file (one track, every N minutes with an overlap, by the segment list beside
// the source, or by a CUE sheet), and through which an existing track is
// pointed at another source and output name. The plan is made in the core
// (SplitPlan); this window maps its controls to it and hands the result to the
// main window through a SplitHost.

#include "core/export/SplitPlan.h"

#include <QDateTime>
#include <QDialog>
#include <QPointer>
#include <array>
#include <cstdint>
#include <memory>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QStatusBar;

namespace kelbrin {

class cPozycjaMP3;
class cPozycjaPlikow;
class SplitHost;

struct SplitOpenOptions {
    bool newTrack = true;    // make new tracks; false: edit `track`, a track of the project
    bool openSource = false; // open the track's source first (the open dialog when it has none)
    bool autoOK = false;     // run OK at once, without showing the window
    QDateTime date;          // for the default output name; invalid = now
    // The mode of a run started at once (the recorder asks for the segment list).
    SplitMode autoMode = SplitMode::Manual;
};

class frmPozycje : public QDialog {
    Q_OBJECT
public:
    // Shows the dialog for `track`, modeless, and returns it. A run at once
    // (autoOK) finishes inside the call, never shows a window and returns null.
    static frmPozycje* PokazMnie(std::shared_ptr<SplitHost> host, std::shared_ptr<cPozycjaMP3> track,
                                 const SplitOpenOptions& options, QWidget* parent = nullptr);
    // The shown dialog, or null.
    static frmPozycje* Instance();
    ~frmPozycje() override;

    QGroupBox* fraFileS = nullptr;
    QComboBox* cboPlikZ = nullptr;
    QPushButton* cmdPlik = nullptr;
    QCheckBox* chkVBR = nullptr;
    QGroupBox* fraDest = nullptr;
    std::array<QRadioButton*, 4> optDest{};
    QLabel* lblDest = nullptr;
    QComboBox* cboPlikD = nullptr;
    QLabel* Label1 = nullptr;
    QLineEdit* txtMin = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLineEdit* txtOverlap = nullptr;
    QLabel* Label4 = nullptr;
    QLineEdit* txtCueFile = nullptr;
    QPushButton* cmdCueFile = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdAnuluj = nullptr;
    QStatusBar* StatusBar1 = nullptr;

    void cboPlikZ_Click();
    void cboPlikD_GotFocus();
    void cmdPlik_Click();
    void cmdCueFile_Click();
    void optDest_Click(int index);
    // False keeps the focus in the box.
    bool txtMin_Validate();
    bool txtOverlap_Validate();
    void cmdOK_Click();
    void cmdAnuluj_Click();

    // Opens a source (the open dialog for an empty path); a file that is
    // already open is only selected. Returns its path, "" when nothing opened.
    QString OpenSourceFile(const QString& path, std::int32_t fileType);
    // False when the CUE mode is chosen and no file exists under its path.
    bool CueFileReady() const;
    SplitMode SelectedMode() const;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    frmPozycje(std::shared_ptr<SplitHost> host, QWidget* parent);
    void buildControls();
    void buildSourceFrame();
    void buildDestinationChoices();
    void buildMinutesBoxes();
    void buildCueFileBoxes();
    void buildButtons();
    void connectControls();
    void watchControls();
    void Form_Load();
    void LoadLang();
    void fitTexts();
    // False when a run at once has no source to work on.
    bool postPokazMnie(const SplitOpenOptions& options);
    void Form_Unload();
    void fillSourceList();
    bool selectSource(const QString& path);
    void updateSegmentOption();
    void applyDestinationState();
    bool runNewTracks(const std::shared_ptr<cPozycjaPlikow>& file, const QString& outputName);
    bool handleKeyPress(QKeyEvent* event);
    bool handleKeyRelease(QKeyEvent* event);

    std::shared_ptr<SplitHost> m_host;
    std::shared_ptr<cPozycjaMP3> cPozTrack;
    bool blnNewTrack = true;
    std::int32_t lngTrackNo = 0;
    bool blnAutoOK = false;
    bool blnOpenSource = false;
    bool blnKeyDown = false;
    bool m_sourceSavable = true;
    bool m_unloaded = false;
    bool m_runFinished = false;

    // The folder the open dialog starts in, kept for the program's run.
    static QString s_dialogFolder;
    static QPointer<frmPozycje> s_instance;
};

} // namespace kelbrin
