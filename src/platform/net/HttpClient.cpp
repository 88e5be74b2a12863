#include "HttpClient.h"

#include "NetModule.h"

#include <QCoreApplication>
#include <QLibrary>

namespace kelbrin {

namespace {
// Loaded once and kept for the life of the program (its code runs the
// requests); nullptr when the module is missing or broken.
HttpGetFunction NetworkModule() {
    static const HttpGetFunction get = [] {
        const QString folder = QCoreApplication::applicationDirPath();
        for (const QString& path : {folder + QLatin1Char('/') + kNetModuleName,
                                    folder + QStringLiteral("/../lib/kelbrin/") + kNetModuleName}) {
            auto* module = new QLibrary(path);
            if (const auto found = reinterpret_cast<HttpGetFunction>(module->resolve(kHttpGetSymbol)))
                return found;
            delete module;
        }
        return HttpGetFunction(nullptr);
    }();
    return get;
}
} // namespace

HttpResponse QtHttpClient::get(const QString& url, const QString& userAgent) {
    HttpResponse response;
    if (const HttpGetFunction request = NetworkModule())
        request(url, userAgent, m_deadlineMs, m_bodyCap, &response);
    else
        response.error = QStringLiteral("the network module %1 is missing").arg(kNetModuleName);
    return response;
}

} // namespace kelbrin
