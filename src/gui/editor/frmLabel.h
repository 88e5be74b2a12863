#pragma once
// The label dialog: one text box with a track's label. Enter or closing the
// window stores the label (without the characters a file name cannot hold);
// Esc closes it without a change. Modeless, one at a time, deleted on close.

#include <QWidget>
#include <functional>
#include <memory>

class QLineEdit;

namespace kelbrin {

class cPozycjaMP3;

class frmLabel : public QWidget {
    Q_OBJECT
public:
    // `stored` runs after the label went into the track (the views follow it).
    static frmLabel* PokazMnie(std::shared_ptr<cPozycjaMP3> track,
                               std::function<void(const cPozycjaMP3&)> stored,
                               QWidget* parent = nullptr);
    static frmLabel* Instance();

    QLineEdit* txtText = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit frmLabel(QWidget* parent);
    void store();

    std::shared_ptr<cPozycjaMP3> m_track;
    std::function<void(const cPozycjaMP3&)> m_stored;
    bool m_cancel = false;
};

} // namespace kelbrin
