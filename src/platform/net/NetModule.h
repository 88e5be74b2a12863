#pragma once
// The HTTP client over Qt Network is a module of its own (kelbrin-net),
// loaded at the first request, so that starting the editor maps neither
// Qt Network nor the libraries it pulls in: only the update check needs it.

#include "HttpClient.h"

namespace kelbrin {

// The module's file name without its suffix.
inline const QString kNetModuleName = QStringLiteral("kelbrin-net");
// The function the module exports: one GET, the way QtHttpClient::get describes it.
extern "C" using HttpGetFunction = void (*)(const QString& url, const QString& userAgent, int deadlineMs,
                                            qint64 bodyCap, HttpResponse* response);
inline constexpr char kHttpGetSymbol[] = "KelbrinHttpGet";

} // namespace kelbrin
