#include "DisplayPlatform.h"

#include <QByteArray>

#include <dlfcn.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>

namespace kelbrin {

namespace {

// An X server answers, authorisation included. libxcb is what the window
// system's X plugin would use; without it no X display can work anyway.
bool xDisplayReachable(const QByteArray& display) {
    void* xcb = dlopen("libxcb.so.1", RTLD_LAZY | RTLD_LOCAL);
    if (!xcb)
        return false;
    using Connect = void* (*)(const char*, int*);
    using HasError = int (*)(void*);
    using Disconnect = void (*)(void*);
    const auto connect = reinterpret_cast<Connect>(dlsym(xcb, "xcb_connect"));
    const auto hasError = reinterpret_cast<HasError>(dlsym(xcb, "xcb_connection_has_error"));
    const auto disconnect = reinterpret_cast<Disconnect>(dlsym(xcb, "xcb_disconnect"));
    bool reachable = false;
    if (connect && hasError && disconnect) {
        void* connection = connect(display.constData(), nullptr);
        reachable = connection && hasError(connection) == 0;
        if (connection)
            disconnect(connection);
    }
    dlclose(xcb);
    return reachable;
}

// A Wayland compositor listens on its socket, by default in XDG_RUNTIME_DIR.
bool waylandReachable(const QByteArray& name) {
    const QByteArray path = name.startsWith('/') ? name : qgetenv("XDG_RUNTIME_DIR") + '/' + name;
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.size() >= static_cast<qsizetype>(sizeof(address.sun_path)))
        return false;
    std::memcpy(address.sun_path, path.constData(), static_cast<size_t>(path.size()));
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    const bool reachable = ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) == 0;
    close(fd);
    return reachable;
}

} // namespace

bool DisplayReachable() {
    if (!qgetenv("QT_QPA_PLATFORM").isEmpty())
        return true; // the user's choice stands
    const QByteArray x = qgetenv("DISPLAY");
    const QByteArray wayland = qgetenv("WAYLAND_DISPLAY");
    return (!x.isEmpty() && xDisplayReachable(x)) || (!wayland.isEmpty() && waylandReachable(wayland));
}

bool ChooseOffscreenWithoutDisplay() {
    if (DisplayReachable())
        return false;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    return true;
}

} // namespace kelbrin
