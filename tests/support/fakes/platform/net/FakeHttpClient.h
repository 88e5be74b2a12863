#pragma once
// Answers requests from a table of addresses and records them.

#include "platform/net/HttpClient.h"

#include <QHash>
#include <QStringList>

namespace kelbrin {

class FakeHttpClient final : public HttpClient {
public:
    HttpResponse get(const QString& url, const QString& userAgent) override {
        requests.append(url);
        agents.append(userAgent);
        HttpResponse r;
        const auto it = pages.constFind(url);
        if (it == pages.constEnd()) {
            r.error = QStringLiteral("not found");
            return r;
        }
        r.ok = true;
        r.body = *it;
        return r;
    }
    QHash<QString, QByteArray> pages;
    QStringList requests;
    QStringList agents;
};

} // namespace kelbrin
