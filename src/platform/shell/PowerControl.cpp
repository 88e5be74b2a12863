#include "PowerControl.h"

#include <QDBusConnection>
#include <QDBusInterface>
#include <QDBusMessage>

namespace kelbrin {

void LogindPowerControl::enablePrivilege() {
    // logind asks polkit itself when PowerOff is called with interactive=true.
}

bool LogindPowerControl::powerOff() {
    if (qEnvironmentVariableIsSet("KELBRIN_NO_POWEROFF"))
        return false;
    QDBusInterface manager(QStringLiteral("org.freedesktop.login1"),
                           QStringLiteral("/org/freedesktop/login1"),
                           QStringLiteral("org.freedesktop.login1.Manager"),
                           QDBusConnection::systemBus());
    if (!manager.isValid())
        return false;
    const QDBusMessage reply = manager.call(QStringLiteral("PowerOff"), true);
    return reply.type() == QDBusMessage::ReplyMessage;
}

namespace {
PowerControl* g_override = nullptr;
}

PowerControl& Power() {
    static LogindPowerControl logind;
    return g_override ? *g_override : logind;
}

void SetPowerControl(PowerControl* control) { g_override = control; }

} // namespace kelbrin
