#pragma once
// The hidden-text window: reads the text stored in the private bits of a
// file's frames and writes a new one, changing only those bits in place.

#include <QDialog>
#include <QPointer>

class QComboBox;
class QGroupBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace kelbrin {

class SourceToolHost;

class frmHidden : public QDialog {
    Q_OBJECT
public:
    // Shows the window, modeless, once; the host outlives it.
    static frmHidden* PokazMnie(SourceToolHost& host, QWidget* parent = nullptr);
    // The open files changed under the window (New or Open project, a source
    // closed): an entry kept from before names one file and, by the id
    // another file took, would read and write that one. The list is filled
    // anew and nothing is chosen.
    static void FollowOpenFiles();

    QGroupBox* fraInfo;
    QLabel* Label4;
    QComboBox* cboPlik;
    QPushButton* cmdPlik;
    QLabel* lblTekst;
    QPlainTextEdit* txtTekst;
    QPushButton* cmdEdit;
    QPushButton* cmdHidden;
    QPushButton* cmdRefresh;

    void cboPlik_Click();
    void cmdPlik_Click();
    void cmdEdit_Click();
    void cmdHidden_Click();
    void cmdRefresh_Click();
    void txtTekst_Change();
    // A read or a write is running.
    bool isBusy() const { return m_reading || m_writing; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    frmHidden(SourceToolHost& host, QWidget* parent);
    void Form_Load();
    void setControlsEnabled(bool on);

    SourceToolHost& m_host;
    bool m_reading = false;
    bool m_writing = false;
    bool m_stop = false;      // asks the running write to stop
    int m_readGeneration = 0; // a newer read ends the one running
    bool m_closeWhenDone = false;
    static QPointer<frmHidden> s_instance;
};

} // namespace kelbrin
