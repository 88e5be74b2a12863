#include "NetModule.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>
#include <QUrl>

#include <type_traits>

namespace kelbrin {

namespace {

HttpResponse NetworkGet(const QString& url, const QString& userAgent, int deadlineMs, qint64 bodyCap) {
    HttpResponse response;
    const QUrl address(url.trimmed());
    const QString scheme = address.scheme().toLower();
    if (!address.isValid() || address.host().isEmpty() ||
        (scheme != QLatin1String("http") && scheme != QLatin1String("https"))) {
        response.error = QStringLiteral("not an http address: ") + url;
        return response;
    }

    QNetworkAccessManager manager;
    manager.setProxy(QNetworkProxy::NoProxy);
    QNetworkRequest request(address);
    request.setRawHeader("Accept", "*/*");
    request.setHeader(QNetworkRequest::UserAgentHeader, userAgent);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    request.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
    request.setMaximumRedirectsAllowed(5);

    QNetworkReply* reply = manager.get(request);
    QEventLoop loop;
    QTimer deadline;
    deadline.setSingleShot(true);
    bool timedOut = false;
    bool tooLarge = false;
    auto take = [&] {
        if (!reply->isOpen())
            return; // aborted
        response.body += reply->readAll();
        if (response.body.size() > bodyCap && !tooLarge) {
            tooLarge = true;
            reply->abort();
        }
    };
    QObject::connect(reply, &QNetworkReply::metaDataChanged, &loop, [&] {
        const QVariant length = reply->header(QNetworkRequest::ContentLengthHeader);
        if (length.isValid() && length.toLongLong() > bodyCap && !tooLarge) {
            tooLarge = true;
            reply->abort();
        }
    });
    QObject::connect(reply, &QNetworkReply::readyRead, &loop, take);
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    QObject::connect(&deadline, &QTimer::timeout, &loop, [&] {
        timedOut = true;
        reply->abort();
    });
    deadline.start(deadlineMs);
    if (!reply->isFinished())
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    deadline.stop();
    if (!tooLarge)
        take();

    if (timedOut)
        response.error = QStringLiteral("no answer in time");
    else if (tooLarge)
        response.error = QStringLiteral("the answer is larger than %1 bytes").arg(bodyCap);
    else if (reply->error() != QNetworkReply::NoError)
        response.error = reply->errorString();
    else
        response.ok = true;
    if (!response.ok)
        response.body.clear();
    delete reply;
    return response;
}

} // namespace

} // namespace kelbrin

extern "C" Q_DECL_EXPORT void KelbrinHttpGet(const QString& url, const QString& userAgent, int deadlineMs,
                                             qint64 bodyCap, kelbrin::HttpResponse* response) {
    static_assert(std::is_same_v<decltype(&KelbrinHttpGet), kelbrin::HttpGetFunction>);
    *response = kelbrin::NetworkGet(url, userAgent, deadlineMs, bodyCap);
}
