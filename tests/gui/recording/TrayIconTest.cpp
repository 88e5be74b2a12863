// The recorder's tray icon: its menu, the state marks, the time limit, the
// monitor-off wait on the clock, and turning the computer off after a
// recording through the power interface (a fake: never for real here).
#include "core/app/ProgramObjects.h"
#include "core/app/TextCatalog.h"
#include "gui/recording/frmIcon.h"
#include "platform/media/VirtualClock.h"
#include "platform/shell/FakeMonitorPower.h"
#include "platform/shell/PowerControl.h"
#include "support/ProgramState.h"
#include "support/ScriptedMessages.h"
#include "support/TestEnvironment.h"

#include <QAction>
#include <QMenu>
#include <gtest/gtest.h>

using namespace kelbrin;

namespace {

class FakePower final : public PowerControl {
public:
    void enablePrivilege() override { ++privileges; }
    bool powerOff() override {
        ++powerOffs;
        return true;
    }
    int privileges = 0;
    int powerOffs = 0;
};

// The recorder window as the tray sees it: its buttons and the windows.
class FakeRecorder final : public RecorderTrayHost {
public:
    bool recordEnabled() const override { return record; }
    bool pauseEnabled() const override { return pause; }
    bool stopEnabled() const override { return stop; }
    void cmdRecord_Click() override { calls << "record"; }
    void cmdPauza_Click() override { calls << "pause"; }
    void cmdStopRec_Click() override { calls << "stop"; }
    void toggleWindows() override { calls << "toggle"; }
    bool record = true, pause = true, stop = true;
    QStringList calls;
};

class TrayIcon : public ::testing::Test {
protected:
    void SetUp() override {
        test::FreshProgramState();
        Catalog().load(test::SourceDir() + "/resources/Kelbrin.ini");
        Catalog().setLanguage("ENGLISH");
        messages = new test::ScriptedMessages;
        previousMessages = SetMessageService(std::unique_ptr<MessageService>(messages));
        clock = new VirtualClock;
        previousClock = SetProgramClock(std::unique_ptr<Clock>(clock));
        monitor = new FakeMonitorPower;
        previousMonitor = SetMonitorPower(std::unique_ptr<MonitorPower>(monitor));
        SetPowerControl(&power);
    }
    void TearDown() override {
        tray.reset(); // before the fakes it uses go
        SetPowerControl(nullptr);
        SetMonitorPower(std::move(previousMonitor));
        SetProgramClock(std::move(previousClock));
        SetMessageService(std::move(previousMessages));
    }
    frmIcon& load() {
        tray = std::make_unique<frmIcon>(recorder, *clock, Program().recording);
        return *tray;
    }

    FakeRecorder recorder;
    FakePower power;
    test::ScriptedMessages* messages = nullptr;
    VirtualClock* clock = nullptr;
    FakeMonitorPower* monitor = nullptr;
    std::unique_ptr<MessageService> previousMessages;
    std::unique_ptr<Clock> previousClock;
    std::unique_ptr<MonitorPower> previousMonitor;
    std::unique_ptr<frmIcon> tray;
};

} // namespace

TEST_F(TrayIcon, MenuListsItsItemsTopToBottom) {
    frmIcon& icon = load();
    QStringList names, captions;
    for (QAction* a : icon.mnuPopup->actions()) {
        names << a->objectName();
        captions << a->text();
    }
    EXPECT_EQ(names, QStringList({"mnuTurnMonitor", "mnuTurnOff", "mnuTime", "sep1", "mnuStop", "mnuPause",
                                  "mnuRecord"}));
    EXPECT_EQ(captions[0], "Monitor suspend");
    EXPECT_EQ(captions[1], GetText(3187));
    EXPECT_EQ(captions[2], GetText(3186));
    EXPECT_EQ(captions[4], GetText(3185));
    EXPECT_EQ(captions[5], GetText(3184));
    EXPECT_EQ(captions[6], GetText(3183));
    EXPECT_FALSE(icon.mnuTurnOff->isChecked());
    EXPECT_EQ(icon.tooltip(), GetText(3177));
    EXPECT_TRUE(icon.unloadWithRecorder());
}

TEST_F(TrayIcon, StateItemsCallTheRecorderOnlyWhenTheyChangeSomething) {
    frmIcon& icon = load();
    icon.setState(RecorderTrayState::Recording);
    EXPECT_TRUE(icon.mnuRecord->isChecked());
    EXPECT_FALSE(icon.mnuPause->isChecked() || icon.mnuStop->isChecked());
    icon.mnuRecord->trigger(); // already recording: nothing
    EXPECT_TRUE(recorder.calls.isEmpty());
    EXPECT_TRUE(icon.mnuRecord->isChecked()); // the recorder sets the marks, not the click
    icon.mnuPause->trigger();
    EXPECT_EQ(recorder.calls, QStringList{"pause"});
    icon.setState(RecorderTrayState::Paused);
    icon.mnuPause->trigger(); // already paused: nothing
    icon.mnuRecord->trigger(); // resumes
    EXPECT_EQ(recorder.calls, QStringList({"pause", "record"}));
    recorder.stop = false;
    icon.mnuStop->trigger(); // stop button disabled: nothing
    EXPECT_EQ(recorder.calls.size(), 2);
    icon.setState(RecorderTrayState::Stopped);
    EXPECT_TRUE(icon.mnuStop->isChecked());
    EXPECT_FALSE(icon.mnuRecord->isChecked() || icon.mnuPause->isChecked());
    icon.iconActivated(QSystemTrayIcon::Trigger);
    icon.iconActivated(QSystemTrayIcon::DoubleClick);
    EXPECT_EQ(recorder.calls.last(), "toggle");
    EXPECT_EQ(recorder.calls.size(), 3);
}

TEST_F(TrayIcon, TimeLimitItemAsksAndAddsOrSets) {
    frmIcon& icon = load();
    Program().recording.RecTimeLimit = 30;
    for (std::optional<QString> answer : {std::optional<QString>("+15"), std::optional<QString>("-20"),
                                          std::optional<QString>(), std::optional<QString>("soon")})
        messages->inputAnswers.enqueue(answer);
    icon.mnuTime->trigger();
    ASSERT_EQ(messages->inputs.size(), 1);
    EXPECT_EQ(messages->inputs[0].prompt, GetText(3188));
    EXPECT_EQ(messages->inputs[0].defaultText, "30");
    EXPECT_TRUE(messages->inputs[0].title.isEmpty());
    EXPECT_EQ(Program().recording.RecTimeLimit, 45);
    icon.mnuTime->trigger();
    EXPECT_EQ(Program().recording.RecTimeLimit, 20);
    icon.mnuTime->trigger(); // cancelled
    EXPECT_EQ(Program().recording.RecTimeLimit, 20);
    icon.mnuTime->trigger();
    EXPECT_EQ(Program().recording.RecTimeLimit, 0);
}

TEST_F(TrayIcon, TooltipFollowsTheClockAndShowsThePause) {
    frmIcon& icon = load();
    icon.Komunikat("2 : 5 (2)", false);
    EXPECT_EQ(icon.tooltip(), "2 : 5 (2)");
    EXPECT_FALSE(icon.showsPause());
    icon.Komunikat(QString(80, 'x'), true);
    EXPECT_EQ(icon.tooltip().size(), 63);
    EXPECT_TRUE(icon.showsPause());
}

TEST_F(TrayIcon, MonitorOffWaitsOnTheClockWithoutBlocking) {
    frmIcon& icon = load();
    icon.mnuTurnMonitor->trigger();
    // The command returns at once; the settings come back three seconds later.
    EXPECT_EQ(monitor->entered, 1);
    EXPECT_TRUE(monitor->lowPower);
    EXPECT_TRUE(icon.monitorWaitPending());
    EXPECT_EQ(monitor->restored, 0);
    icon.mnuTurnMonitor_Click(); // F12 again during the wait: nothing more
    EXPECT_EQ(monitor->entered, 1);
    clock->advance(2999);
    EXPECT_EQ(monitor->restored, 0);
    clock->advance(1);
    EXPECT_EQ(monitor->restored, 1);
    EXPECT_FALSE(icon.monitorWaitPending());

    monitor->available = false; // no DPMS here: nothing to wait for
    icon.mnuTurnMonitor_Click();
    EXPECT_FALSE(icon.monitorWaitPending());
    EXPECT_EQ(clock->pendingCalls(), 0);
}

TEST_F(TrayIcon, UnloadDuringTheMonitorWaitPutsTheSettingsBack) {
    frmIcon& icon = load();
    icon.mnuTurnMonitor_Click();
    icon.unload();
    EXPECT_EQ(monitor->restored, 1);
    EXPECT_EQ(clock->pendingCalls(), 0);
}

TEST_F(TrayIcon, TurnOffItemPowersOffOnceAfterARecording) {
    frmIcon& icon = load();
    icon.mnuTurnOff->trigger();
    EXPECT_TRUE(icon.mnuTurnOff->isChecked());
    icon.setState(RecorderTrayState::Recording);
    icon.Komunikat("0 : 1 (0)", false);
    icon.setState(RecorderTrayState::Stopped);
    icon.unload();
    EXPECT_EQ(power.powerOffs, 1);
    EXPECT_FALSE(icon.iconShown());
    icon.unload(); // the main window closes it again
    tray.reset();
    EXPECT_EQ(power.powerOffs, 1);
}

TEST_F(TrayIcon, NoPowerOffWithoutTheItemOrWithoutARecording) {
    frmIcon& icon = load();
    icon.setState(RecorderTrayState::Recording);
    icon.unload();
    EXPECT_EQ(power.powerOffs, 0);

    load().mnuTurnOff->trigger();
    tray->mnuTurnOff->trigger(); // flipped back off
    EXPECT_FALSE(tray->mnuTurnOff->isChecked());
    tray->setState(RecorderTrayState::Recording);
    tray->unload();
    EXPECT_EQ(power.powerOffs, 0);

    load().mnuTurnOff->trigger(); // checked, but the recorder closes idle
    tray->unload();
    EXPECT_EQ(power.powerOffs, 0);
}

TEST_F(TrayIcon, CommandLineSuffixChecksTheTurnOffItem) {
    Program().recording.RecArgSuffixE = true;
    frmIcon& icon = load();
    EXPECT_TRUE(icon.mnuTurnOff->isChecked());
    icon.Komunikat("0 : 1 (0)", false);
    tray.reset(); // closing with the main window
    EXPECT_EQ(power.powerOffs, 1);
}
