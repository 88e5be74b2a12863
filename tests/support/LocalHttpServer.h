#pragma once
// A tiny HTTP server on 127.0.0.1 for tests: answers GET requests from a
// table of paths, records what it was asked, and serves on the caller's
// event loop (the client under test runs one while it waits).

#include <QByteArray>
#include <QHash>
#include <QHostAddress>
#include <QList>
#include <QTcpServer>
#include <QTcpSocket>

namespace kelbrin::test {

class LocalHttpServer {
public:
    struct Page {
        int status = 200;
        QByteArray body;
        QByteArray headers;  // extra header lines, each ending with "\r\n"
        bool silent = false; // takes the request and never answers
        bool noLength = false; // no Content-Length: the body ends when the connection does
    };
    struct Request {
        QByteArray path;
        QByteArray head; // request line and headers
    };

    LocalHttpServer() {
        m_server.listen(QHostAddress::LocalHost, 0);
        QObject::connect(&m_server, &QTcpServer::newConnection, &m_server, [this] { accept(); });
    }
    ~LocalHttpServer() {
        for (QTcpSocket* s : m_held)
            s->abort();
    }

    bool listening() const { return m_server.isListening(); }
    QString url(const QString& path) const {
        return QStringLiteral("http://127.0.0.1:%1%2").arg(m_server.serverPort()).arg(path);
    }
    void serve(const QByteArray& path, Page page) { m_pages.insert(path, std::move(page)); }
    void serve(const QByteArray& path, const QByteArray& body) { serve(path, Page{200, body, {}, false, false}); }

    QList<Request> requests;

private:
    void accept() {
        while (QTcpSocket* socket = m_server.nextPendingConnection()) {
            auto* buffer = new QByteArray;
            QObject::connect(socket, &QObject::destroyed, [buffer] { delete buffer; });
            QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket, buffer] {
                *buffer += socket->readAll();
                const int end = buffer->indexOf("\r\n\r\n");
                if (end < 0)
                    return;
                Request request;
                request.head = buffer->left(end);
                request.path = request.head.split(' ').value(1);
                requests.append(request);
                respond(socket, request.path);
            });
            QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        }
    }

    void respond(QTcpSocket* socket, const QByteArray& path) {
        const auto it = m_pages.constFind(path);
        Page page = it == m_pages.constEnd() ? Page{404, "not here", {}, false, false} : *it;
        if (page.silent) {
            m_held.append(socket);
            return;
        }
        QByteArray reply = "HTTP/1.1 " + QByteArray::number(page.status) + " Answer\r\n";
        reply += "Content-Type: text/plain\r\nConnection: close\r\n";
        if (!page.noLength)
            reply += "Content-Length: " + QByteArray::number(page.body.size()) + "\r\n";
        reply += page.headers + "\r\n" + page.body;
        socket->write(reply);
        socket->disconnectFromHost();
    }

    QTcpServer m_server;
    QHash<QByteArray, Page> m_pages;
    QList<QTcpSocket*> m_held;
};

} // namespace kelbrin::test
