#pragma once
// One HTTP GET of a small text, the way the update check needs it: header
// "Accept: */*", never answered from a cache, no proxy, a cap on the body and
// a deadline for the whole request. The editor waits for the answer, so the
// request never runs longer than the deadline.

#include <QByteArray>
#include <QString>

namespace kelbrin {

struct HttpResponse {
    bool ok = false;      // a 2xx answer whose body is complete and within the cap
    QByteArray body;
    QString error;        // what went wrong, for the log
};

class HttpClient {
public:
    virtual ~HttpClient() = default;
    virtual HttpResponse get(const QString& url, const QString& userAgent) = 0;
};

constexpr qint64 kHttpBodyCap = 64 * 1024;
constexpr int kHttpDeadlineMs = 20000;

// Over QNetworkAccessManager. While it waits, the event loop runs without
// user input, so the window stays painted but takes no commands.
class QtHttpClient final : public HttpClient {
public:
    explicit QtHttpClient(int deadlineMs = kHttpDeadlineMs, qint64 bodyCap = kHttpBodyCap)
        : m_deadlineMs(deadlineMs), m_bodyCap(bodyCap) {}
    HttpResponse get(const QString& url, const QString& userAgent) override;

private:
    int m_deadlineMs;
    qint64 m_bodyCap;
};

} // namespace kelbrin
