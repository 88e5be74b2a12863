#pragma once
// The recorder's icon in the notification area, as the recorder window sees
// it, and what the icon's menu asks of the recorder window in return. The
// recorder drives the icon through RecorderTray; the icon calls the
// recorder's buttons through RecorderTrayHost. Without a notification area
// the icon is simply not shown and both still work.

#include <QString>

namespace kelbrin {

// The recorder's state as the menu's record, pause and stop items show it:
// exactly one is checked after each change.
enum class RecorderTrayState { Recording, Paused, Stopped };

class RecorderTray {
public:
    virtual ~RecorderTray() = default;

    // Every clock tick while recording: the tooltip (the recorder's caption;
    // cut to 63 characters) and whether the recording is paused, which the
    // icon's picture shows.
    virtual void Komunikat(const QString& text, bool paused) = 0;
    // The recording was started (or resumed), paused, or stopped.
    virtual void setState(RecorderTrayState state) = 0;
    // The monitor-off command (also the recorder window's F12).
    virtual void mnuTurnMonitor_Click() = 0;
    // Whether the recorder window removes the icon when it closes.
    virtual bool unloadWithRecorder() const = 0;
    // Removes the icon; turns the computer off when the turn-off item is
    // checked and a recording ran since the icon was shown (closing an idle
    // recorder never powers the computer off). Later calls do nothing.
    virtual void unload() = 0;
};

class RecorderTrayHost {
public:
    virtual ~RecorderTrayHost() = default;
    virtual bool recordEnabled() const = 0;
    virtual bool pauseEnabled() const = 0;
    virtual bool stopEnabled() const = 0;
    virtual void cmdRecord_Click() = 0;
    virtual void cmdPauza_Click() = 0;
    virtual void cmdStopRec_Click() = 0;
    // A left click on the icon: the recorder window and the main window are
    // shown or hidden together; a recorder shown again gets the focus.
    virtual void toggleWindows() = 0;
};

// The tray's time-limit answer applied to the current limit (minutes): empty
// keeps it, "+n" adds |n|, anything else sets |n| (a non-number sets 0).
int ApplyTimeLimitAnswer(int currentLimit, const QString& answer);

// The tooltip text as the icon can hold it: at most 63 characters.
QString TrayTooltip(const QString& text);

} // namespace kelbrin
