#pragma once
// Fetching a small text over HTTP for the update check. A failure is
// reported once, with text 3231, and gives the empty string.

#include <QString>
#include <functional>

namespace kelbrin {

class HttpClient;

// The host that serves the product's site through a redirect page: the page
// holds a frame whose source is the real address.
constexpr const char* kRedirectDomain = "redirect.example.net";

struct FetchSession {
    HttpClient* http = nullptr;
    // The busy pointer, on while the fetch runs (may be empty).
    std::function<void(bool)> setBusy;
    // Lower case; an address that contains it is a redirect page.
    QString redirectDomain = QLatin1String(kRedirectDomain);
};

// The body of one GET of `address`, or the empty string when it failed.
QString HttpGetText(HttpClient& http, const QString& address);

// The text at `address` followed by `filePart`, trimmed; through the redirect
// page's frame when the address is on the redirecting host. Empty after the
// failure message.
QString FetchUrlText(const QString& address, const QString& filePart, const FetchSession& session);

} // namespace kelbrin
