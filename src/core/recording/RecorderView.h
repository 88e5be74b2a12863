#pragma once
// What the recorder's logic needs of its window and of the main window. The
// window implements RecorderView, the main window RecorderHost; the tray icon
// is reached through RecorderTray (optional: the recorder works without one).

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
    // The run ends as failed whatever closes it (a close already under way).
    virtual void failRun() {}
    // A run nobody watches whose project could not be saved: the close must
    // not offer the save again (its answer would fail the same way and keep
    // the program waiting forever). The recorded files stay where they are.
    virtual void dropUnsavedChanges() = 0;
};

} // namespace kelbrin
