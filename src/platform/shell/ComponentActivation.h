#pragma once
// Out-of-process component activation over the D-Bus session bus: creating a
// class asks the bus for its well-known name (the bus starts the server), then
// talks to the object at the class's path. Nothing here waits long on the
// other process: a call that needs its answer waits a bounded time, the others
// are sent and answered through the event loop, or not at all.

#include <QString>
#include <QVariant>
#include <QVariantList>
#include <functional>
#include <memory>

namespace kelbrin {

class RemoteObject {
public:
    // A call's outcome: whether it reached the object and returned, and its value.
    using Answer = std::function<void(bool ok, const QVariant& value)>;

    virtual ~RemoteObject() = default;
    // Calls a method and waits for its answer (at most the call time-out);
    // *ok tells whether the call reached the object and returned.
    virtual QVariant call(const QString& method, const QVariantList& args, bool* ok) = 0;
    // Sends a call and returns at once; `answer` gets its outcome from the
    // event loop, a failure after `timeoutMs`, and nothing once this object is
    // gone. Stand-ins that answer at once may answer from inside.
    virtual void callAsync(const QString& method, const QVariantList& args, int timeoutMs, Answer answer) {
        (void)timeoutMs;
        bool ok = false;
        const QVariant value = call(method, args, &ok);
        answer(ok, value);
    }
    // Sends a call whose answer nobody waits for.
    virtual void send(const QString& method, const QVariantList& args) { call(method, args, nullptr); }
    // Whether the object's process is still there: a call that failed on a
    // live object was slow or refused, on a dead one the object is gone.
    virtual bool alive() { return true; }
    // Whether this process's own bus connection is gone (the session bus
    // ended): then the object is out of reach, whatever it does.
    virtual bool busLost() { return false; }
    // How long a call that needs its answer waits for it.
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
    // A server that holds the name before a run's first call is an earlier
    // run's: it serves a single editor, one editor runs at a time, and it
    // leaves once it has seen its editor gone. Its name would take this run's
    // calls into its end. Waits for it to leave, with the event loop running,
    // for at most `ms`; true when the name is free.
    static bool awaitEarlierServer(int ms);
    std::unique_ptr<RemoteObject> create(const QString& className) override;
};

} // namespace kelbrin
