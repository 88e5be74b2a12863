#pragma once
// The export dialog: which tracks are written, in which order, under which
// names, into which folder and with which options. It runs the save engine in
// its Preview and Save buttons and stays locked (only Cancel works) while the
// engine runs. One instance at a time; it deletes itself when closed.

#include "core/export/SaveRequest.h"

#include <QDialog>
#include <QPointer>
#include <array>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QRadioButton;

namespace kelbrin {

class frmDazudizi;

class frmSave : public QDialog {
    Q_OBJECT
public:
    // Fills and shows the dialog (modeless); with fromScript it runs the export
    // at once with the options a batch script forces, never shown, and closes.
    // Nothing while a run is going on; with no open source file says so.
    static frmSave* PokazMnie(frmDazudizi& main, bool fromScript = false);
    static frmSave* Instance();
    // What the last run ended with.
    static const SaveOutcome& LastOutcome();

    void LoadLang();
    void SetBusy(bool busy);
    bool IsBusy() const { return blnBusy; }
    void StartSave(bool preview);
    // The dialog's choices and a copy of the ticked tracks, in list order.
    SaveRequest BuildRequest(bool preview) const;

    // Handlers, by the controls' names.
    void cmdWytnij_Click(int index);
    void cmdOK_Click();
    void cmdDir_Click();
    void chkDetails_Click();
    void chkTurbo_Click();
    void optSave_Click(int index);
    void lstSource_ItemCheck(QListWidgetItem* item);
    void txtFileName_Change();
    void txtFileName_LostFocus();
    void txtWGore_Click();
    void txtWDol_Click();
    void Form_Resize();

    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    QListWidget* lstSource;
    QPushButton* txtWGore;
    QPushButton* txtWDol;
    QLineEdit* txtSave;
    QPushButton* cmdDir;
    std::array<QRadioButton*, 2> optSave;
    QLineEdit* txtFileName;
    QCheckBox* chkNazwy;
    QCheckBox* chkWinamp;
    QCheckBox* chkDetails;
    QCheckBox* chkTurbo;
    QCheckBox* chkCue;
    QGroupBox* fraTurbo;
    std::array<QRadioButton*, 3> optTurbo;
    std::array<QPushButton*, 2> cmdWytnij;
    QPushButton* cmdOK;

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit frmSave(frmDazudizi& main);
    void buildControls();
    void createControls();
    void placeControls();
    void connectControls();
    void Form_Load();
    void fillList();
    void moveItem(int from, int to);
    void saveOptions();
    void setDeleteTrackEnabled(bool enabled);
    void fitTexts();
    void showFolderFromItsStart();

    frmDazudizi& m_main;
    bool blnBusy = false;
    bool m_keyDown = false;
    bool m_unloaded = false;
    double m_columnExtent = 0; // twips: how far the option column's widest caption reaches
    static QPointer<frmSave> s_instance;
};

} // namespace kelbrin
