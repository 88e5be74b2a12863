#pragma once
// The recorder window: record, pause, stop, the recording settings and the
// mixer, with the clock and the encoder's backlog in its caption. A small
// topmost window, single-instance, deleted when it closes. Its logic lives
// in RecorderControl; the window maps its buttons onto it.

#include "core/recording/RecorderControl.h"

#include <QPointer>
#include <QWidget>
#include <functional>
#include <memory>

class QPushButton;

namespace kelbrin {

class frmRecord final : public QWidget, public RecorderView {
    Q_OBJECT
public:
    // Shows the window (made on first use). With autoStart, and only with an
    // encoder server, the main window and this window are minimised and a
    // recording starts; `unattended` makes any end of it finish the run.
    static frmRecord* PokazMnie(bool autoStart, bool unattended = false);
    static frmRecord* Instance();
    ~frmRecord() override;

    RecorderControl& control() { return *m_control; }

    // The main window's part: saving the project and closing itself.
    static void SetHost(RecorderHost* host);
    // The tray icon, when there is one (it outlives no recorder window).
    static void SetStateListener(RecorderStateListener* listener);
    // F12: turns the monitor off (the tray's command, when there is one).
    static void SetMonitorOff(std::function<void()> turnOff);
    // The recording settings window (built elsewhere).
    static void SetSettingsOpener(std::function<void()> open);

    void cmdRecord_Click() { m_control->cmdRecord_Click(); }
    void cmdPauza_Click() { m_control->cmdPauza_Click(); }
    void cmdStopRec_Click() { m_control->cmdStopRec_Click(); }
    void cmdSetting_Click() { m_control->cmdSetting_Click(); }
    void cmdMikser_Click();
    void LoadLang();

    QPushButton* cmdRecord = nullptr;
    QPushButton* cmdPauza = nullptr;
    QPushButton* cmdStopRec = nullptr;
    QPushButton* cmdSetting = nullptr;
    QPushButton* cmdMikser = nullptr;

    // RecorderView
    void setButtonEnabled(Button button, bool enabled) override;
    bool buttonEnabled(Button button) const override;
    void setButtonIcon(Button button, int icon) override;
    void focusButton(Button button) override;
    bool isShownAndEnabled() const override;
    void setCaption(const QString& caption) override;
    void beep(int hertz, int milliseconds) override;
    void yield() override;
    void showRecordingSettings() override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    frmRecord();
    QPushButton* button(Button which) const;
    void Form_Load();

    std::unique_ptr<RecorderControl> m_control;
    static QPointer<frmRecord> s_instance;
};

} // namespace kelbrin
