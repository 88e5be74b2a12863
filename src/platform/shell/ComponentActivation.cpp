#include "ComponentActivation.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusInterface>
#include <QDBusMessage>
#include <QDBusReply>

namespace kelbrin {

QString DBusClassNames::service() { return QStringLiteral("org.pelorin.Capturon"); }
QString DBusClassNames::path(const QString& className) { return QLatin1Char('/') + className; }
QString DBusClassNames::interface(const QString& className) {
    return service() + QLatin1Char('.') + className;
}

namespace {

class DBusRemoteObject final : public RemoteObject {
public:
    explicit DBusRemoteObject(const QString& className)
        : m_iface(DBusClassNames::service(), DBusClassNames::path(className),
                  DBusClassNames::interface(className), QDBusConnection::sessionBus()) {}

    // Releasing the object ends the server (it finishes its files first).
    ~DBusRemoteObject() override {
        if (m_iface.isValid())
            m_iface.call(QDBus::Block, QStringLiteral("Release"));
    }

    bool valid() const { return m_iface.isValid(); }

    QVariant call(const QString& method, const QVariantList& args, bool* ok) override {
        const QDBusMessage reply = m_iface.callWithArgumentList(QDBus::Block, method, args);
        const bool good = reply.type() == QDBusMessage::ReplyMessage;
        if (ok)
            *ok = good;
        if (!good || reply.arguments().isEmpty())
            return {};
        return reply.arguments().first();
    }

    // Release on the way out waits the same: a server that stopped answering
    // does not hold the editor's end for the bus's full time-out.
    void setCallTimeout(int ms) override { m_iface.setTimeout(ms); }

    bool busLost() override { return !QDBusConnection::sessionBus().isConnected(); }

    bool alive() override {
        QDBusConnectionInterface* bus = QDBusConnection::sessionBus().interface();
        return bus && bus->isServiceRegistered(DBusClassNames::service()).value();
    }

private:
    QDBusInterface m_iface;
};

} // namespace

std::unique_ptr<RemoteObject> DBusComponentActivator::create(const QString& className) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return nullptr;
    QDBusConnectionInterface* busInterface = bus.interface();
    if (!busInterface)
        return nullptr;
    const QString service = DBusClassNames::service();
    if (!busInterface->isServiceRegistered(service).value()) {
        const QDBusReply<void> started = busInterface->startService(service);
        if (!started.isValid())
            return nullptr;
    }
    auto object = std::make_unique<DBusRemoteObject>(className);
    if (!object->valid())
        return nullptr;
    return object;
}

} // namespace kelbrin
