#pragma once
// The settings dialog: general options (confirmations, auto-open, autosave,
// seek step, output naming, language, folders) and advanced options (audio
// outputs, overlap time, font size, track box size, mouse sensitivity). It
// has no OK or Cancel: closing it stores every option. Shown modeless, once.

#include <QWidget>
#include <memory>

class QCheckBox;
class QComboBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QScrollBar;
class QTabWidget;

namespace kelbrin {

class cPozycjeMP3;
struct ProgramObjects;

class frmSettings : public QWidget {
    Q_OBJECT
public:
    // Shows the dialog (a new one, or the open one raised). `tracks` are the
    // project's tracks that "apply to every track" changes.
    // `program`: the settings and outputs the dialog shows and changes.
    static frmSettings* PokazMnie(ProgramObjects& program, QWidget* parent,
                                  std::shared_ptr<cPozycjeMP3> tracks);
    static frmSettings* Instance();

    explicit frmSettings(ProgramObjects& program, QWidget* parent = nullptr,
                         std::shared_ptr<cPozycjeMP3> tracks = {});

    void FillDeviceCombo();
    void chkMultiDev_Click();
    void cmdSet_Click();
    void cmdRefresh_Click();
    void cmdAdd_Click();
    void lstDev_DblClick();
    void Command1_Click();
    void cmdFolder_Click();
    void cmdSource_Click();
    void TabStrip1_Click();

    QTabWidget* TabStrip1;
    QWidget* Frame1;
    QWidget* Frame2;
    QCheckBox* chkPytaj;
    QCheckBox* chkOpen;
    QCheckBox* chkAutoSave;
    QCheckBox* chkMultiDev;
    QLineEdit* txtMove;
    QLineEdit* txtOverTake;
    QComboBox* cboName;
    QComboBox* cboDevice;
    QLabel* lblFolder;
    QLabel* lblSource;
    QLabel* lblDevice;
    QLabel* lblNaming;
    QLabel* Label1[2]; // the captions above the destination and the source folder
    QLabel* lblFont;
    QLabel* lblNode;
    QLabel* lblMouse;
    QScrollBar* vscrFont;
    QScrollBar* VScrNode;
    QScrollBar* VScrMouse;
    QPushButton* Command1;
    QPushButton* cmdFolder;
    QPushButton* cmdSource;
    QPushButton* cmdSet;
    QPushButton* cmdRefresh;
    QPushButton* cmdAdd;
    QListWidget* lstDev;

signals:
    // "Apply to every track" gave the tracks the device of the box.
    void devicesApplied();

protected:
    void closeEvent(QCloseEvent* event) override;
    // Esc closes the dialog as its close box does, unless it is there to take
    // the device list away.
    void keyPressEvent(QKeyEvent* event) override;
    // Sees the keys released in any of the dialog's controls, as the dialog's
    // own keys (F10, Esc) must work wherever the focus is.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void buildGeneralPage();
    void buildAdvancedPage();
    void buildSizeBars(QGridLayout* g2, int r);
    void connectControls();
    void LoadLang();
    void Form_Load();
    void Form_Unload();
    void hideDeviceList();
    bool keyReleased(int key);

    ProgramObjects& m_program;
    std::shared_ptr<cPozycjeMP3> m_tracks;
    bool m_saved = false;
};

} // namespace kelbrin
