#include "frmIcon.h"

#include "core/app/MessageService.h"
#include "core/app/Numbers.h"
#include "core/recording/RecordingConfiguration.h"
#include "core/app/Shutdown.h"
#include "core/app/TextCatalog.h"
#include "core/app/TextNumbers.h"
#include "gui/app/ProgramIcons.h"
#include "platform/media/Clock.h"
#include "platform/shell/MonitorPower.h"

#include <QAction>
#include <QCoreApplication>
#include <QMenu>

namespace kelbrin {

namespace {
using texts::kRecorderTooltip;
using texts::kTimeLimitPrompt;
constexpr int kRecordIcon = 1162;
constexpr int kPauseIcon = 1122;
// The monitor gets this long in its power-saving state before the display's
// settings are put back.
constexpr qint64 kMonitorWaitMs = 3000;

QAction* Item(QMenu* menu, const char* name, const QString& caption, bool checkable = true) {
    auto* action = menu->addAction(caption);
    action->setObjectName(QLatin1String(name));
    action->setCheckable(checkable);
    return action;
}
} // namespace

frmIcon::frmIcon(RecorderTrayHost& host, Clock& clock, RecordingConfiguration& recording, bool unloadWithRecorder,
                 QObject* parent)
    : QObject(parent), m_host(host), m_clock(clock), m_recording(recording), m_unloadWithRecorder(unloadWithRecorder) {
    setObjectName(QStringLiteral("frmIcon"));
    mnuPopup = new QMenu;
    mnuPopup->setObjectName(QStringLiteral("mnuPopup"));
    mnuTurnMonitor = Item(mnuPopup, "mnuTurnMonitor", QStringLiteral("Monitor suspend"), false);
    mnuTurnOff = Item(mnuPopup, "mnuTurnOff", GetText(3187));
    mnuTime = Item(mnuPopup, "mnuTime", GetText(3186), false);
    sep1 = mnuPopup->addSeparator();
    sep1->setObjectName(QStringLiteral("sep1"));
    mnuStop = Item(mnuPopup, "mnuStop", GetText(3185));
    mnuPause = Item(mnuPopup, "mnuPause", GetText(3184));
    mnuRecord = Item(mnuPopup, "mnuRecord", GetText(3183));
    mnuTurnOff->setChecked(m_recording.RecArgSuffixE);

    // A click on a checkable item first undoes the toolkit's own toggle: the
    // handlers decide the marks (the recorder sets the state items').
    auto checkItem = [this](QAction* item, void (frmIcon::*handler)()) {
        connect(item, &QAction::triggered, this, [this, item, handler] {
            item->setChecked(!item->isChecked());
            (this->*handler)();
        });
    };
    checkItem(mnuRecord, &frmIcon::mnuRecord_Click);
    checkItem(mnuPause, &frmIcon::mnuPause_Click);
    checkItem(mnuStop, &frmIcon::mnuStop_Click);
    checkItem(mnuTurnOff, &frmIcon::mnuTurnOff_Click);
    connect(mnuTime, &QAction::triggered, this, [this] { mnuTime_Click(); });
    connect(mnuTurnMonitor, &QAction::triggered, this, [this] { mnuTurnMonitor_Click(); });

    m_tooltip = TrayTooltip(GetText(kRecorderTooltip));
    if (QSystemTrayIcon::isSystemTrayAvailable()) {
        m_icon = new QSystemTrayIcon(ProgramIcon(kRecordIcon), this);
        m_icon->setToolTip(m_tooltip);
        m_icon->setContextMenu(mnuPopup);
        connect(m_icon, &QSystemTrayIcon::activated, this,
                [this](QSystemTrayIcon::ActivationReason reason) { iconActivated(reason); });
        m_icon->show();
    }
}

frmIcon::~frmIcon() {
    unload();
    delete mnuPopup;
}

bool frmIcon::iconShown() const { return m_icon && m_icon->isVisible(); }

void frmIcon::Komunikat(const QString& text, bool paused) {
    m_recorded = true;
    m_tooltip = TrayTooltip(text);
    if (m_icon && paused != m_paused)
        m_icon->setIcon(ProgramIcon(paused ? kPauseIcon : kRecordIcon));
    m_paused = paused;
    if (m_icon)
        m_icon->setToolTip(m_tooltip);
}

void frmIcon::setState(RecorderTrayState state) {
    if (state != RecorderTrayState::Stopped)
        m_recorded = true;
    mnuRecord->setChecked(state == RecorderTrayState::Recording);
    mnuPause->setChecked(state == RecorderTrayState::Paused);
    mnuStop->setChecked(state == RecorderTrayState::Stopped);
}

void frmIcon::iconActivated(QSystemTrayIcon::ActivationReason reason) {
    // The right click's menu is opened by the icon itself.
    if (reason == QSystemTrayIcon::Trigger)
        m_host.toggleWindows();
}

void frmIcon::mnuRecord_Click() {
    if (!mnuRecord->isChecked() && m_host.recordEnabled())
        m_host.cmdRecord_Click();
}

void frmIcon::mnuPause_Click() {
    if (!mnuPause->isChecked() && m_host.pauseEnabled())
        m_host.cmdPauza_Click();
}

void frmIcon::mnuStop_Click() {
    if (!mnuStop->isChecked() && m_host.stopEnabled())
        m_host.cmdStopRec_Click();
}

void frmIcon::mnuTime_Click() {
    const std::optional<QString> answer =
        InputBox(GetText(kTimeLimitPrompt), QString(), QString::number(m_recording.RecTimeLimit), kTimeLimitPrompt);
    if (!answer)
        return;
    m_recording.RecTimeLimit = ApplyTimeLimitAnswer(m_recording.RecTimeLimit, *answer);
}

void frmIcon::mnuTurnOff_Click() { mnuTurnOff->setChecked(!mnuTurnOff->isChecked()); }

void frmIcon::mnuTurnMonitor_Click() {
    if (m_monitorCall)
        return; // the monitor is already off; its settings come back shortly
    if (!Monitor().enterLowPower())
        return;
    QCoreApplication::processEvents();
    // The wait runs on the clock, so the windows keep working meanwhile.
    m_monitorCall = m_clock.callAfter(kMonitorWaitMs, [this] {
        m_monitorCall = 0;
        Monitor().restoreSettings();
    });
}

void frmIcon::restoreMonitor() {
    if (!m_monitorCall)
        return;
    m_clock.cancel(m_monitorCall);
    m_monitorCall = 0;
    Monitor().restoreSettings();
}

void frmIcon::unload() {
    if (m_unloaded)
        return;
    m_unloaded = true;
    restoreMonitor();
    if (m_icon)
        m_icon->hide();
    QCoreApplication::processEvents();
    if (mnuTurnOff->isChecked() && m_recorded)
        ShutdownWindows();
}

} // namespace kelbrin
