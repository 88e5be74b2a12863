#pragma once
// The recorder's icon in the notification area: its tooltip follows the
// recorder's clock, its picture shows a pause, a left click shows or hides
// the recorder and the main window, and its menu records, pauses, stops,
// sets the time limit, turns the monitor off, and turns the computer off
// after the recording. Where the desktop has no notification area the icon
// is not shown; the menu's commands still work through the recorder (F12).

#include "core/recording/RecorderTray.h"

#include <QObject>
#include <QSystemTrayIcon>

class QAction;
class QMenu;

namespace kelbrin {

class Clock;
struct RecordingConfiguration;

class frmIcon final : public QObject, public RecorderTray {
    Q_OBJECT
public:
    // The icon is shown with text 3177 as its tooltip; the turn-off
    // item starts checked when the command line asked for it ("-rec...e").
    // `clock` times the monitor's wait.
    // `recording` holds the time limit and the turn-off choice the menu sets.
    frmIcon(RecorderTrayHost& host, Clock& clock, RecordingConfiguration& recording, bool unloadWithRecorder = true,
            QObject* parent = nullptr);
    ~frmIcon() override;

    void Komunikat(const QString& text, bool paused) override;
    void setState(RecorderTrayState state) override;
    void mnuTurnMonitor_Click() override;
    bool unloadWithRecorder() const override { return m_unloadWithRecorder; }
    void unload() override;

    void mnuRecord_Click();
    void mnuPause_Click();
    void mnuStop_Click();
    void mnuTime_Click();
    void mnuTurnOff_Click();
    // The icon's clicks: left shows or hides the windows, right opens the menu.
    void iconActivated(QSystemTrayIcon::ActivationReason reason);

    // Shown in the notification area (false where there is none, or after unload).
    bool iconShown() const;
    QString tooltip() const { return m_tooltip; }
    bool showsPause() const { return m_paused; }
    bool monitorWaitPending() const { return m_monitorCall != 0; }

    QMenu* mnuPopup;
    QAction* mnuTurnMonitor;
    QAction* mnuTurnOff;
    QAction* mnuTime;
    QAction* sep1;
    QAction* mnuStop;
    QAction* mnuPause;
    QAction* mnuRecord;

private:
    void restoreMonitor();

    RecorderTrayHost& m_host;
    Clock& m_clock;
    RecordingConfiguration& m_recording;
    QSystemTrayIcon* m_icon = nullptr;
    bool m_unloadWithRecorder;
    bool m_unloaded = false;
    bool m_recorded = false; // a recording ran since the icon was shown
    bool m_paused = false;
    QString m_tooltip;
    int m_monitorCall = 0;   // the pending end of the monitor-off wait
};

} // namespace kelbrin
