#pragma once
// What the recorder's logic needs of its window, of the main window and of
// the tray icon. The window implements RecorderView; the main window
// RecorderHost; the tray icon RecorderStateListener (optional: the recorder
// works without a tray).

#include <QDateTime>
#include <QString>
#include <memory>

namespace kelbrin {

class RecorderView {
public:
    enum Button { Record, Pause, Stop };
    virtual ~RecorderView() = default;
    virtual void setButtonEnabled(Button button, bool enabled) = 0;
    virtual bool buttonEnabled(Button button) const = 0;
    // An icon resource number; 0 puts the button's own icon back.
    virtual void setButtonIcon(Button button, int icon) = 0;
    virtual void focusButton(Button button) = 0;
    virtual bool isShownAndEnabled() const = 0;
    virtual void setCaption(const QString& caption) = 0;
    virtual void beep(int hertz, int milliseconds) = 0;
    // Lets pending events run once.
    virtual void yield() = 0;
    // The recording settings window (while the server is idle).
    virtual void showRecordingSettings() = 0;
};

class RecorderHost {
public:
    virtual ~RecorderHost() = default;
    // Saves the project under `name` in DestFolder; true when it was written.
    virtual bool saveProject(const QString& name) = 0;
    // How many tracks of the project use this source file.
    virtual int tracksUsingSource(const QString& path) = 0;
    // Closes the main window, which ends the program with `status`.
    virtual void endProgram(int status) = 0;
};

// The tray icon's seam: it mirrors the recorder's state and clock.
class RecorderStateListener {
public:
    enum State { Recording, Paused, Stopped };
    virtual ~RecorderStateListener() = default;
    virtual void stateChanged(State state) = 0;
    // Every clock tick while recording: the caption text and the pause state.
    virtual void clock(const QString& caption, bool paused) = 0;
};

} // namespace kelbrin
