#include "StreamServerAdaptor.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusServiceWatcher>
#include <QTimer>

namespace kelbrin {

StreamServerAdaptor::StreamServerAdaptor(StreamServer& server, int idleMs, QObject* parent)
    : QObject(parent), m_server(server), m_idle(new QTimer(this)) {
    // Started by the bus for a client that never calls (it left, or only asked
    // for the name): nobody would ever release this process.
    m_idle->setSingleShot(true);
    m_idle->setInterval(idleMs);
    connect(m_idle, &QTimer::timeout, this, [this] { clientGone(); });
    m_idle->start();
}

void StreamServerAdaptor::noteClient() {
    if (m_watcher || !calledFromDBus())
        return;
    m_idle->stop();
    m_watcher = new QDBusServiceWatcher(message().service(), connection(),
                                        QDBusServiceWatcher::WatchForUnregistration, this);
    connect(m_watcher, &QDBusServiceWatcher::serviceUnregistered, this, [this] { clientGone(); });
}

void StreamServerAdaptor::clientGone() {
    m_server.shutdown();
    emit released();
}

QStringList StreamServerAdaptor::strFileRec() {
    noteClient();
    return m_server.strFileRec();
}

void StreamServerAdaptor::UstawStanZapisu(int lngRecording) {
    noteClient();
    m_server.UstawStanZapisu(lngRecording);
}

int StreamServerAdaptor::DajStan() {
    noteClient();
    return m_server.DajStan();
}

short StreamServerAdaptor::DajStanPliku() {
    noteClient();
    return m_server.DajStanPliku();
}

bool StreamServerAdaptor::INIT(const QString& strFormatex, const QString& strSrc) {
    noteClient();
    return m_server.INIT(strFormatex, strSrc);
}

bool StreamServerAdaptor::INIT(const QString& strFormatex, const QString& strSrc, int, int, int, int) {
    return INIT(strFormatex, strSrc);
}

void StreamServerAdaptor::Start(int lngInt) {
    noteClient();
    m_server.Start(lngInt);
}

void StreamServerAdaptor::UNINIT() {
    noteClient();
    m_server.UNINIT();
}

void StreamServerAdaptor::Release() {
    // The reply goes out first; then the files are finished and the process ends.
    QTimer::singleShot(0, this, [this] { clientGone(); });
}

} // namespace kelbrin
