#include "ForegroundX11.h"

#include <QCoreApplication>
#include <cstdlib>
#include <cstring>

namespace masumemo::platform {
namespace {

/// Source indication 2: the request comes from a pager-like tool acting for the user.
constexpr uint32_t kSourcePager = 2;

/// Owns a reply of xcb (allocated with malloc).
template <typename T>
struct Reply
{
    T* p;
    explicit Reply(T* reply) : p(reply) {}
    ~Reply() { std::free(p); }
    Reply(const Reply&) = delete;
    Reply& operator=(const Reply&) = delete;
    T* operator->() const { return p; }
    explicit operator bool() const { return p != nullptr; }
};

bool isX11Window(WId w)
{
    return w != 0 && w <= 0xFFFFFFFFu;
}

}  // namespace

X11Foreground::X11Foreground(xcb_connection_t* connection) : m_connection(connection)
{
    if (m_connection && !xcb_connection_has_error(m_connection)) {
        const xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(connection));
        if (screens.rem > 0) {
            m_root = screens.data->root;
        }
    }
}

X11Foreground::~X11Foreground()
{
    if (m_filtering && QCoreApplication::instance()) {
        QCoreApplication::instance()->removeNativeEventFilter(this);
    }
}

void X11Foreground::watchActiveWindow(std::function<void()> changed)
{
    m_changed = std::move(changed);
    if (m_root == XCB_WINDOW_NONE || activeAtom() == XCB_ATOM_NONE) {
        return;
    }
    // The event mask on a window is kept per connection: replacing it would take from the
    // toolkit whatever it asked the root window for.
    const xcb_get_window_attributes_cookie_t cookie =
        xcb_get_window_attributes(m_connection, m_root);
    Reply attributes(xcb_get_window_attributes_reply(m_connection, cookie, nullptr));
    const uint32_t mask =
        (attributes ? attributes->your_event_mask : 0) | XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_change_window_attributes(m_connection, m_root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(m_connection);
    if (!m_filtering && QCoreApplication::instance()) {
        QCoreApplication::instance()->installNativeEventFilter(this);
        m_filtering = true;
    }
}

bool X11Foreground::handleEvent(const xcb_generic_event_t* event)
{
    if (!event || (event->response_type & 0x7F) != XCB_PROPERTY_NOTIFY) {
        return false;
    }
    const auto* notify = reinterpret_cast<const xcb_property_notify_event_t*>(event);
    if (notify->window != m_root || notify->atom != m_activeAtom || m_activeAtom == XCB_ATOM_NONE) {
        return false;
    }
    if (m_changed) {
        m_changed();
    }
    return true;
}

bool X11Foreground::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*)
{
    if (eventType == "xcb_generic_event_t") {
        handleEvent(static_cast<const xcb_generic_event_t*>(message));
    }
    // The toolkit sees the event too.
    return false;
}

xcb_atom_t X11Foreground::activeAtom()
{
    if (m_activeAtom == XCB_ATOM_NONE && m_root != XCB_WINDOW_NONE) {
        static const char kName[] = "_NET_ACTIVE_WINDOW";
        const xcb_intern_atom_cookie_t cookie =
            xcb_intern_atom(m_connection, 0, sizeof kName - 1, kName);
        Reply reply(xcb_intern_atom_reply(m_connection, cookie, nullptr));
        if (reply) {
            m_activeAtom = reply->atom;
        }
    }
    return m_activeAtom;
}

WId X11Foreground::activeWindow()
{
    const xcb_atom_t atom = activeAtom();
    if (atom == XCB_ATOM_NONE) {
        return 0;
    }
    const xcb_get_property_cookie_t cookie =
        xcb_get_property(m_connection, 0, m_root, atom, XCB_ATOM_WINDOW, 0, 1);
    Reply reply(xcb_get_property_reply(m_connection, cookie, nullptr));
    if (!reply || reply->format != 32 || xcb_get_property_value_length(reply.p) < 4) {
        return 0;
    }
    xcb_window_t window = XCB_WINDOW_NONE;
    std::memcpy(&window, xcb_get_property_value(reply.p), sizeof window);
    return window;
}

bool X11Foreground::windowExists(WId w)
{
    if (m_root == XCB_WINDOW_NONE || !isX11Window(w)) {
        return false;
    }
    const xcb_get_window_attributes_cookie_t cookie =
        xcb_get_window_attributes(m_connection, static_cast<xcb_window_t>(w));
    xcb_generic_error_t* error = nullptr;
    Reply reply(xcb_get_window_attributes_reply(m_connection, cookie, &error));
    std::free(error);
    return static_cast<bool>(reply);
}

bool X11Foreground::activateWindow(WId w)
{
    const xcb_atom_t atom = activeAtom();
    // A window closed since it was seen would make the request an error, or worse, reach a
    // new window that reuses its id.
    if (atom == XCB_ATOM_NONE || !windowExists(w)) {
        return false;
    }
    xcb_client_message_event_t event;
    std::memset(&event, 0, sizeof event);
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = static_cast<xcb_window_t>(w);
    event.type = atom;
    event.data.data32[0] = kSourcePager;
    event.data.data32[1] = XCB_CURRENT_TIME;
    event.data.data32[2] = static_cast<uint32_t>(activeWindow());
    xcb_send_event(m_connection, 0, m_root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT,
                   reinterpret_cast<const char*>(&event));
    xcb_flush(m_connection);
    return true;
}

}  // namespace masumemo::platform
