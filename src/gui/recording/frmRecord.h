#pragma once
// The recorder window: record, pause, stop, the recording settings and the
// mixer, with the clock and the encoder's backlog in its caption. A small
// topmost window, single-instance, deleted when it closes. Its logic lives
// in RecorderControl; the window maps its buttons onto it.

#include "core/recording/RecorderControl.h"
#include "core/recording/RecorderTray.h"

#include <QPointer>
#include <QWidget>
#include <memory>

class QPushButton;

namespace kelbrin {

class frmIcon;
struct ProgramObjects;

class frmRecord final : public QWidget, public RecorderView, public RecorderTrayHost {
    Q_OBJECT
public:
    // Shows the window (made on first use). With autoStart, and only with an
    // encoder server, the main window and this window are minimised and a
    // recording starts; `unattended` makes any end of it finish the run.
    static frmRecord* PokazMnie(ProgramObjects& program, bool autoStart, bool unattended = false);
    static frmRecord* Instance();
    ~frmRecord() override;

    RecorderControl& control() { return *m_control; }

    // The main window's part: saving the project and closing itself.
    static void SetHost(RecorderHost* host);
    // The tray icon, loaded with this window (null once it is unloaded).
    frmIcon* Tray() const { return m_tray.get(); }
    // Removes the tray icon (the main window's close does it too).
    void UnloadTray();

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

    // RecorderTrayHost
    bool recordEnabled() const override;
    bool pauseEnabled() const override;
    bool stopEnabled() const override;
    void toggleWindows() override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    explicit frmRecord(ProgramObjects& program);
    QPushButton* button(Button which) const;
    void Form_Load();

    ProgramObjects& m_program;
    std::unique_ptr<RecorderControl> m_control;
    std::unique_ptr<frmIcon> m_tray;
    static QPointer<frmRecord> s_instance;
};

} // namespace kelbrin
