#pragma once
// The ID3v1 tag editor: reads the block at the end of one open source file and
// writes it back in place, or appends one when the file has none.

#include "gui/app/KeyPressedHere.h"

#include <QDialog>
#include <QPointer>
#include <memory>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace kelbrin {

class PlayerGraphs;
class cPozycjaPlikow;
struct Id3v1Tag;

class frmTAG : public QDialog {
    Q_OBJECT
public:
    // Fills the window from the file's block and shows it, modeless, starting
    // afresh each time; a file that no longer exists shows nothing. `players`
    // release their graphs before the file is written.
    static frmTAG* PokazMnie(std::shared_ptr<cPozycjaPlikow> file, PlayerGraphs& players,
                             QWidget* parent = nullptr);

    QLineEdit* txtTitle;
    QLineEdit* txtArtist;
    QLineEdit* txtAlbum;
    QLineEdit* txtYear;
    QLineEdit* txtComment;
    QCheckBox* chkID3;
    QLineEdit* txtTrack;
    QComboBox* cboGenre;
    QPushButton* cmdSave;
    QPushButton* cmdAnuluj;
    QLabel* Label[8]; // Label[1] to Label[7]

    void chkID3_Click();
    void txtTrack_Change();
    // Writes the block; the window closes only when the file took it.
    void cmdSave_Click();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    frmTAG(std::shared_ptr<cPozycjaPlikow> file, PlayerGraphs& players, QWidget* parent);
    void Form_Load();
    void LoadLang();
    void showTag(const Id3v1Tag& tag);
    void selectGenre(int genre);

    std::shared_ptr<cPozycjaPlikow> m_file;
    KeyPressedHere m_escape{Qt::Key_Escape};
    PlayerGraphs& m_players;
    static QPointer<frmTAG> s_instance;
};

} // namespace kelbrin
