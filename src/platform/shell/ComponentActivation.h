#pragma once
// Out-of-process component activation over the D-Bus session bus: creating a
// class asks the bus for its well-known name (the bus starts the server), then
// talks to the object at the class's path. Calls cross synchronously.

#include <QString>
#include <QVariant>
#include <QVariantList>
#include <memory>

namespace kelbrin {

class RemoteObject {
public:
    virtual ~RemoteObject() = default;
    // Calls a method; *ok tells whether the call reached the object and returned.
    virtual QVariant call(const QString& method, const QVariantList& args, bool* ok) = 0;
    // Whether the object's process is still there: a call that failed on a
    // live object was slow or refused, on a dead one the object is gone.
    virtual bool alive() { return true; }
    // Whether this process's own bus connection is gone (the session bus
    // ended): then the object is out of reach, whatever it does.
    virtual bool busLost() { return false; }
    // How long a call waits for its answer; -1 the bus's own default.
    virtual void setCallTimeout(int ms) { (void)ms; }
};

class ComponentActivator {
public:
    virtual ~ComponentActivator() = default;
    // A live object of the class, or nullptr when the class cannot be created.
    virtual std::unique_ptr<RemoteObject> create(const QString& className) = 0;
};

// The D-Bus names for a class: service "org.pelorin.Capturon", object path
// "/<className>", interface "org.pelorin.Capturon.<className>".
struct DBusClassNames {
    static QString service();
    static QString path(const QString& className);
    static QString interface(const QString& className);
};

class DBusComponentActivator final : public ComponentActivator {
public:
    std::unique_ptr<RemoteObject> create(const QString& className) override;
};

} // namespace kelbrin
