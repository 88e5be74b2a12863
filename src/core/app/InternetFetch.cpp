#include "InternetFetch.h"

#include "MessageService.h"
#include "TextCatalog.h"
#include "platform/net/HttpClient.h"

namespace kelbrin {

namespace {

// The source of the first frame of a redirect page, or nothing.
QString frameSource(const QString& page) {
    static const QString open = QStringLiteral("src=\"");
    const int start = page.indexOf(open);
    if (start < 0)
        return QString();
    const int from = start + open.size();
    const int end = page.indexOf(QStringLiteral("\">"), from);
    if (end < 0)
        return QString();
    return page.mid(from, end - from).trimmed();
}

} // namespace

QString HttpGetText(HttpClient& http, const QString& address) {
    // The program's plain name tells the server who asks.
    const HttpResponse response = http.get(address, GetText(108).trimmed());
    if (!response.ok)
        return QString();
    return QString::fromUtf8(response.body);
}

QString FetchUrlText(const QString& address, const QString& filePart, const FetchSession& session) {
    if (session.setBusy)
        session.setBusy(true);
    QString result;
    if (session.http) {
        const QString domain = session.redirectDomain.toLower();
        if (!domain.isEmpty() && address.toLower().contains(domain)) {
            const QString page = HttpGetText(*session.http, address);
            const QString target = page.trimmed().isEmpty() ? QString() : frameSource(page);
            if (!target.isEmpty())
                result = HttpGetText(*session.http, target + filePart).trimmed();
        } else {
            result = HttpGetText(*session.http, address + filePart).trimmed();
        }
    }
    if (session.setBusy)
        session.setBusy(false);
    if (result.isEmpty())
        ShowText(3231, mb::Information);
    return result;
}

} // namespace kelbrin
