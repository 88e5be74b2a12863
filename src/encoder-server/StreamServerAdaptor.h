#pragma once
// clsStreamMP3 on the session bus: every member of the class as a method of
// the object, called synchronously by the editor. The first caller is the
// object's client; when it releases the object or leaves the bus, the server
// finishes its files and the process ends. A server that no client calls
// within `idleMs` of its start ends as well.

#include "StreamServer.h"

#include <QDBusContext>
#include <QObject>
#include <QStringList>

class QDBusServiceWatcher;
class QTimer;

namespace kelbrin {

class StreamServerAdaptor : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.pelorin.Capturon.clsStreamMP3")
public:
    explicit StreamServerAdaptor(StreamServer& server, int idleMs = 15000, QObject* parent = nullptr);

signals:
    // The client is done with the object; the process should end.
    void released();

public slots:
    QStringList strFileRec();
    void UstawStanZapisu(int lngRecording);
    int DajStan();
    short DajStanPliku();
    bool INIT(const QString& strFormatex, const QString& strSrc);
    // The full form; the four capture buffer values have no use here.
    bool INIT(const QString& strFormatex, const QString& strSrc, int lp1, int lp2, int lp1Len, int lp2len);
    void Start(int lngInt);
    void UNINIT();
    void Release();

private:
    void noteClient();
    void clientGone();

    StreamServer& m_server;
    QDBusServiceWatcher* m_watcher = nullptr;
    QTimer* m_idle = nullptr;
};

} // namespace kelbrin
