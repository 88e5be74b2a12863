#include "UpdateCommand.h"

#include "core/app/UpdateCheck.h"
#include "gui/app/BusyPointer.h"
#include "platform/net/HttpClient.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace kelbrin {

void mnuUpdate_Click(HttpClient* http) {
    QtHttpClient network;
    FetchSession session;
    session.http = http ? http : &network;
    session.setBusy = ShowBusyPointer;
    LocalBuild local;
    local.version = QCoreApplication::applicationVersion();
    local.size = QFileInfo(QCoreApplication::applicationFilePath()).size();
    CheckForUpdates(session, local);
}

} // namespace kelbrin
