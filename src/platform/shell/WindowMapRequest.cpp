#include "WindowMapRequest.h"

#include <QGuiApplication>

#if QT_CONFIG(xcb)
#include <xcb/xcb.h>

#include <cstdlib>
#endif

namespace kelbrin {

#if QT_CONFIG(xcb)
namespace {

xcb_connection_t* ToolkitConnection() {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

// A window manager marks every window it manages with WM_STATE, an iconic one
// included, whose window it keeps unmapped.
bool Managed(xcb_connection_t* connection, xcb_window_t window) {
    static constexpr char kName[] = "WM_STATE";
    xcb_intern_atom_reply_t* atom =
        xcb_intern_atom_reply(connection, xcb_intern_atom(connection, 1, sizeof kName - 1, kName), nullptr);
    const xcb_atom_t wmState = atom ? atom->atom : xcb_atom_t{XCB_ATOM_NONE};
    std::free(atom);
    // No client ever named the atom: no manager has marked any window.
    if (wmState == XCB_ATOM_NONE)
        return false;
    xcb_get_property_reply_t* property = xcb_get_property_reply(
        connection, xcb_get_property(connection, 0, window, wmState, XCB_GET_PROPERTY_TYPE_ANY, 0, 2), nullptr);
    const bool marked = property && property->type != XCB_ATOM_NONE;
    std::free(property);
    return marked;
}

} // namespace

WindowMapState QueryWindowMap(quintptr window) {
    xcb_connection_t* connection = ToolkitConnection();
    if (!connection || !window)
        return WindowMapState::Unknown;
    const auto id = static_cast<xcb_window_t>(window);
    xcb_get_window_attributes_reply_t* attributes =
        xcb_get_window_attributes_reply(connection, xcb_get_window_attributes(connection, id), nullptr);
    if (!attributes)
        return WindowMapState::Unknown;
    const bool mapped = attributes->map_state != XCB_MAP_STATE_UNMAPPED;
    std::free(attributes);
    if (mapped || Managed(connection, id))
        return WindowMapState::Shown;
    return WindowMapState::Waiting;
}

void RequestWindowMap(quintptr window) {
    xcb_connection_t* connection = ToolkitConnection();
    if (!connection || !window)
        return;
    xcb_map_window(connection, static_cast<xcb_window_t>(window));
    xcb_flush(connection);
}
#else
WindowMapState QueryWindowMap(quintptr) { return WindowMapState::Unknown; }
void RequestWindowMap(quintptr) {}
#endif

} // namespace kelbrin
