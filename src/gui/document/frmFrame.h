#pragma once
// The frame header editor: shows the four-byte header of any frame of an open
// source file field by field and lets the user change each field, and where
// the header goes, frame by frame. Edits live in the file's frame index until
// the Save button writes the edited headers back into the file.

#include "core/document/FrameHeaderFields.h"

#include <QDialog>
#include <QPointer>
#include <map>
#include <memory>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollBar;

namespace kelbrin {

class cPozycjaPlikow;
class cPozycjePlikow;
class SourceToolHost;

class frmFrame : public QDialog {
    Q_OBJECT
public:
    // Shows the window, modeless, once; the host outlives it.
    static frmFrame* PokazMnie(SourceToolHost& host, QWidget* parent = nullptr);
    // The window while it is open, else null.
    static frmFrame* Instance() { return s_instance; }
    // The open files changed under the window (New or Open project, a source
    // closed): its list follows them at once. An entry kept from before would
    // name one file and, by the id another file took, show and write that one.
    static void FollowOpenFiles();

    QLabel* Label2;
    QComboBox* cboPlik;
    QPushButton* cmdPlik;
    QPushButton* cmdTAG;
    QPushButton* cmdSave;
    QLabel* Label3;
    QLineEdit* txtRamka;
    QScrollBar* VScroll1;
    QLineEdit* txtOffset;
    std::map<int, QLabel*> lblInfo; // 0 time, 2 playing time, 3 last byte, 8 frames
    std::map<int, QLabel*> Label1;  // captions and units by their index
    QGroupBox* fraHeader;
    std::map<HeaderField, QComboBox*> lists;
    QComboBox* cboVersion;
    QComboBox* cboLayer;
    QComboBox* cboCRC;
    QComboBox* cboBiteRate;
    QComboBox* cboSamplingRate;
    QComboBox* cboPadding;
    QComboBox* cboPrivate;
    QComboBox* cboChannelMode;
    QComboBox* cboExtension;
    QComboBox* cboCopyrights;
    QComboBox* cboOriginal;
    QComboBox* cboEmphasis;

    std::shared_ptr<cPozycjaPlikow> GetSelectedFile() const;
    void ShowFrame(std::int32_t n);
    void cmdPlik_Click();
    void cmdTAG_Click();
    // Writes the edited headers back into the file.
    void cmdSave_Click();
    void txtRamka_KeyUp();
    bool isWriting() const { return m_writing; }

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    frmFrame(SourceToolHost& host, QWidget* parent);
    void buildInfo();
    void buildLists();
    void Form_Load();
    void RefillBitrateList();
    void ShowHeader(std::int64_t offset, std::uint8_t b2, std::uint8_t b3, std::uint8_t b4,
                    float time);
    void SelectByItemData(QComboBox* list, int value);
    void fill(QComboBox* list, const QList<HeaderFieldEntry>& entries, int select);
    void fieldSelected(HeaderField field);
    void markEdited(cPozycjaPlikow& file, std::int32_t n);
    void setInfo(int index, const QString& text);
    void txtRamka_Change();
    void txtOffset_Change();
    void VScroll1_Change(int value);
    std::int32_t shownFrame() const;
    void setWriting(bool on);
    void listOpenFiles();
    void showNoFile();

    SourceToolHost& m_host;
    bool blnFillingBitrates = false;
    bool blnFillingRates = false;
    bool blnEditsCount = false;
    bool blnKeyDown = false;
    bool m_spinBusy = false;
    bool m_writing = false;
    bool m_stop = false;
    bool m_closeWhenDone = false;
    // The offset the shown frame had when it was shown: what a refused or
    // emptied offset box gives back.
    std::int64_t m_shownOffset = 0;
    // The collection the list was filled from: New and Open put another in
    // its place, whose ids mean other files.
    std::weak_ptr<const cPozycjePlikow> m_listedFiles;
    static QPointer<frmFrame> s_instance;
};

} // namespace kelbrin
