#pragma once
// The recording settings window: the engine (LAME or a system codec), the
// LAME options, the codec format, the capture device, the folders, the file
// name prefix, the buffer sizes, speech marking, automatic pause and the
// split size. There is no Cancel: closing the window in any way stores what
// it shows (RecordingOptions). Shown modeless, without an owner, once, on
// top of other windows; it starts fresh at each opening.

#include <QWidget>
#include <functional>
#include <memory>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QScrollBar;
class QSlider;

namespace kelbrin {

class FormatChooser;
struct RecordingConfiguration;

class frmRecording : public QWidget {
    Q_OBJECT
public:
    static frmRecording* PokazMnie(RecordingConfiguration& recording);
    static frmRecording* Instance();

    // Tests replace the folder browser and the codec format chooser.
    using FolderBrowser = std::function<QString(QWidget* owner, const QString& title)>;
    using ChooserFactory = std::function<std::unique_ptr<FormatChooser>(QWidget* owner)>;
    static FolderBrowser SetFolderBrowser(FolderBrowser browser);
    static ChooserFactory SetChooserFactory(ChooserFactory factory);

    explicit frmRecording(RecordingConfiguration& recording);

    void LoadLang();
    void FillLameLists();

    void Option1_Click(int index);
    void cboMPEG_Click();
    void chkVBR_Click();
    void chkABR_Click();
    void VScroll1_Change();
    void VScroll2_Change();
    void lblLameBuf_Change();
    void cmdFormat_Click();
    void cmdRecord_Click();
    void cmdTemp_Click();
    void cmdInfo_Click();

    QRadioButton* Option1[2];
    QGroupBox* fraEngine[2];
    QComboBox* cboMPEG;
    QComboBox* cboSRate;
    QComboBox* cboBRate;
    QComboBox* Combo1[2];
    QComboBox* cboChannelMode;
    QComboBox* cboQuality;
    QCheckBox* chkVBR;
    QCheckBox* chkABR;
    QCheckBox* chkXing;
    QGroupBox* Frame3;
    QSlider* sldVBR;
    QLabel* lblVbrQ[2];
    QCheckBox* chkCRC;
    QCheckBox* chkPriv;
    QCheckBox* chkCopy;
    QCheckBox* chkOry;
    QCheckBox* chkPad;
    QLabel* lblLameBuf;
    QScrollBar* VScroll2;
    QLabel* lblBufor;
    QScrollBar* VScroll1;
    QLabel* lblRecordFormat;
    QPushButton* cmdFormat;
    QCheckBox* chkRecord;
    QComboBox* cboDeviceIn;
    QLabel* lblRecord;
    QPushButton* cmdRecord;
    QLabel* lblTemp;
    QPushButton* cmdTemp;
    QLineEdit* txtPrefix;
    QCheckBox* chkSpeech;
    QLineEdit* txtSek;
    QLineEdit* txtMin;
    QPushButton* cmdInfo;
    QLabel* Label1[4]; // captions: 0 prefix, 1 output folder, 2 device, 3 buffer folder

protected:
    void closeEvent(QCloseEvent* event) override;
    // Esc closes the window as its close box does.
    void keyPressEvent(QKeyEvent* event) override;

private:
    RecordingConfiguration& m_recording;
    void buildControls();
    QWidget* buildLameFrame();
    QWidget* buildCodecFrame();
    QWidget* buildCaptureFrame();
    void Form_Load();
    void Form_Unload();
    void selectStored(QComboBox* list, int index);
    // The codec buffer bar reaches only blocks of a few seconds of the chosen format.
    void limitCodecBuffer();

    bool m_saved = false;
};

} // namespace kelbrin
