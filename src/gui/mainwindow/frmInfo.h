#pragma once
// The about box: the program's name and version in the caption, the credits,
// two web links, the author line (a click copies it), the e-mail link and two
// lines on what playing needs. Modeless, one at a time; the links go to the
// desktop through the shell layer.

#include <QDialog>

class QLabel;

namespace kelbrin {

class frmInfo : public QDialog {
    Q_OBJECT
public:
    // Shows the box, or brings the open one to the front.
    static frmInfo* PokazMnie(QWidget* parent = nullptr);
    static frmInfo* Instance();

    // The caption: product name, version major.minor.revision, credits.
    static QString CaptionText();

    QLabel* lblLink;
    QLabel* lblLink2;
    QLabel* Label5[2];
    QLabel* Label7[2]; // elements 2 and 3 of the design's array

    void lblLink_Click();
    void lblLink2_Click();
    void Label5_Click(int index);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit frmInfo(QWidget* parent);
    void Form_Load();
    void hover(QLabel* label);
};

} // namespace kelbrin
