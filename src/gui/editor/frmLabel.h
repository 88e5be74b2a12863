#pragma once
// The label dialog: one text box with a track's label. Enter or closing the
// window stores the label (without the characters a file name cannot hold);
// Esc closes it without a change. Modeless, one at a time, deleted on close.
//
// The dialog holds the track's number, not the track: an undo re-creates
// tracks as new objects under their old numbers, and a deleted track must not
// be written to. The label goes to whatever track has the number in the
// project's collection when the dialog closes; when the track has left the
// collection, CheckTrack closes the dialog without storing anything.

#include <QWidget>
#include <cstdint>
#include <functional>
#include <memory>

class QLineEdit;

namespace kelbrin {

class cPozycjaMP3;
class cPozycjeMP3;

class frmLabel : public QWidget {
    Q_OBJECT
public:
    using TracksGetter = std::function<cPozycjeMP3*()>;
    // `tracks` gives the project's collection as it is now; `stored` runs
    // after the label went into the track (the views follow it).
    static frmLabel* PokazMnie(std::int32_t trackNumber, TracksGetter tracks,
                               std::function<void(const cPozycjaMP3&)> stored,
                               QWidget* parent = nullptr);
    static frmLabel* Instance();

    std::int32_t trackNumber() const { return m_number; }
    // Closes the dialog, storing nothing, when its track is no longer in the
    // collection it was opened on.
    void CheckTrack();

    QLineEdit* txtText = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit frmLabel(QWidget* parent);
    std::shared_ptr<cPozycjaMP3> track() const;
    void store();

    std::int32_t m_number = 0;
    TracksGetter m_tracks;
    const cPozycjeMP3* m_collection = nullptr; // the collection opened on
    std::function<void(const cPozycjaMP3&)> m_stored;
    bool m_cancel = false;
};

} // namespace kelbrin
