// The foreground interface: the choice of implementation, and the X11
// implementation against a private X server in which the test itself plays the window manager.

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QStandardPaths>

#include "platform/Foreground.h"

#ifdef MASUMEMO_HAVE_XCB
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/ForegroundX11.h"
#endif

using namespace masumemo::platform;

TEST(Foreground, PlatformsWithoutForegroundGetTheNullOne)
{
    int argc = 1;
    char name[] = "test_foreground";
    char* argv[] = {name, nullptr};
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    // On the offscreen platform even "xcb" finds no X connection to work on.
    for (const char* platform : {"offscreen", "wayland", "xcb", ""}) {
        SCOPED_TRACE(platform);
        const auto fg = createForeground(QString::fromLatin1(platform));
        ASSERT_NE(dynamic_cast<NullForeground*>(fg.get()), nullptr);
        EXPECT_EQ(fg->activeWindow(), WId(0));
        EXPECT_FALSE(fg->windowExists(42));
        EXPECT_FALSE(fg->activateWindow(42));
    }
    EXPECT_NE(dynamic_cast<NullForeground*>(createForeground().get()), nullptr);
}

#ifdef MASUMEMO_HAVE_XCB
namespace {

/// An Xvfb of our own on a free display, ready when the constructor returns.
class PrivateXServer
{
public:
    PrivateXServer()
    {
        const std::string xvfb = QStandardPaths::findExecutable("Xvfb").toStdString();
        int fds[2];
        if (xvfb.empty() || pipe(fds) != 0) {
            return;
        }
        // Xvfb writes its display number to fd 3 once it accepts connections.
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, fds[1], 3);
        posix_spawn_file_actions_addclose(&actions, fds[0]);
        const char* argv[] = {"Xvfb",    "-displayfd", "3",          "-nolisten", "tcp",
                              "-screen", "0",          "320x240x24", nullptr};
        if (posix_spawn(&m_pid, xvfb.c_str(), &actions, nullptr, const_cast<char**>(argv),
                        environ) != 0) {
            m_pid = 0;
        }
        posix_spawn_file_actions_destroy(&actions);
        close(fds[1]);
        char buffer[32] = {};
        FILE* in = fdopen(fds[0], "r");
        if (in && m_pid > 0 && std::fgets(buffer, sizeof buffer, in)) {
            m_display = std::string(":").append(buffer, std::strcspn(buffer, "\n"));
        }
        in ? std::fclose(in) : close(fds[0]);
    }
    ~PrivateXServer()
    {
        if (m_pid > 0) {
            kill(m_pid, SIGTERM);
            waitpid(m_pid, nullptr, 0);
        }
    }
    /// The display name, empty when no server could be started.
    const std::string& display() const { return m_display; }

private:
    pid_t m_pid = 0;
    std::string m_display;
};

xcb_atom_t atom(xcb_connection_t* c, const char* name)
{
    auto* reply = xcb_intern_atom_reply(
        c, xcb_intern_atom(c, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr);
    const xcb_atom_t a = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(reply);
    return a;
}

xcb_window_t createWindow(xcb_connection_t* c, xcb_window_t root)
{
    const xcb_window_t w = xcb_generate_id(c);
    xcb_create_window(c, XCB_COPY_FROM_PARENT, w, root, 0, 0, 10, 10, 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, XCB_COPY_FROM_PARENT, 0, nullptr);
    return w;
}

/// Waits until the server has handled everything c sent.
void sync(xcb_connection_t* c)
{
    std::free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
}

}  // namespace

TEST(Foreground, X11ReadsAndRequestsTheActiveWindow)
{
    PrivateXServer server;
    if (server.display().empty()) {
        GTEST_SKIP() << "no Xvfb";
    }
    xcb_connection_t* wm = xcb_connect(server.display().c_str(), nullptr);
    xcb_connection_t* app = xcb_connect(server.display().c_str(), nullptr);
    ASSERT_FALSE(xcb_connection_has_error(wm));
    ASSERT_FALSE(xcb_connection_has_error(app));
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(wm)).data->root;

    // The window manager's part: take requests sent to the root, publish the active window.
    const uint32_t redirect = XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT;
    xcb_change_window_attributes(wm, root, XCB_CW_EVENT_MASK, &redirect);
    const xcb_atom_t netActive = atom(wm, "_NET_ACTIVE_WINDOW");

    X11Foreground fg(app);
    EXPECT_EQ(fg.activeWindow(), WId(0)) << "nothing published yet";

    const xcb_window_t other = createWindow(app, root);
    const xcb_window_t closed = createWindow(app, root);
    xcb_destroy_window(app, closed);
    sync(app);
    xcb_change_property(wm, XCB_PROP_MODE_REPLACE, root, netActive, XCB_ATOM_WINDOW, 32, 1, &other);
    sync(wm);

    EXPECT_EQ(fg.activeWindow(), WId(other));
    EXPECT_TRUE(fg.windowExists(other));
    EXPECT_FALSE(fg.windowExists(closed));
    EXPECT_FALSE(fg.windowExists(0));
    EXPECT_FALSE(fg.activateWindow(closed));

    const xcb_window_t target = createWindow(app, root);
    EXPECT_TRUE(fg.activateWindow(target));
    sync(app);
    sync(wm);

    int requests = 0;
    while (xcb_generic_event_t* event = xcb_poll_for_event(wm)) {
        if ((event->response_type & 0x7F) == XCB_CLIENT_MESSAGE) {
            const auto* message = reinterpret_cast<xcb_client_message_event_t*>(event);
            ++requests;
            EXPECT_EQ(message->window, target);
            EXPECT_EQ(message->type, netActive);
            EXPECT_EQ(message->format, 32);
            EXPECT_EQ(message->data.data32[0], 2u) << "source indication: pager";
            EXPECT_EQ(message->data.data32[2], other) << "the requester's active window";
        }
        std::free(event);
    }
    EXPECT_EQ(requests, 1) << "the closed window must not have been asked for";

    // Watching: a change of the active window is heard, other root properties are not.
    int changes = 0;
    fg.watchActiveWindow([&changes] { ++changes; });
    sync(app);
    const xcb_atom_t clientList = atom(wm, "_NET_CLIENT_LIST");
    xcb_change_property(wm, XCB_PROP_MODE_REPLACE, root, clientList, XCB_ATOM_WINDOW, 32, 1,
                        &target);
    xcb_change_property(wm, XCB_PROP_MODE_REPLACE, root, netActive, XCB_ATOM_WINDOW, 32, 1,
                        &target);
    sync(wm);
    sync(app);
    int handled = 0;
    while (xcb_generic_event_t* event = xcb_poll_for_event(app)) {
        handled += fg.handleEvent(event) ? 1 : 0;
        std::free(event);
    }
    EXPECT_EQ(handled, 1);
    EXPECT_EQ(changes, 1);

    xcb_disconnect(app);
    xcb_disconnect(wm);
}
#endif
