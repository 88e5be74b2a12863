#include "HttpClient.h"

#include "NetModule.h"
#include "platform/ModuleLoader.h"

namespace kelbrin {

namespace {
// The module's request, or nullptr when the module is missing or broken.
HttpGetFunction NetworkModule() {
    static const auto get =
        reinterpret_cast<HttpGetFunction>(ResolveModuleFunction(kNetModuleName, kHttpGetSymbol).function);
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
