// A stand-in for an X11 clipboard manager, for the test that checks what the
// clipboard holds after zelvan has ended (Debian's clipboard managers need a
// desktop session). Plain xcb, as little of the protocol as that test needs.
//
//   clipboard-manager-stand-in   owns CLIPBOARD_MANAGER and says "ready"; asked
//       to SAVE_TARGETS, it fetches the CLIPBOARD's UTF8_STRING from its owner
//       and prints it on a line of its own ("saved: TEXT"); runs until killed.

#include <xcb/xcb.h>

#include <poll.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <string>

namespace {

constexpr int TimeoutMs = 10000;

struct Free
{
    void operator()(void *p) const { std::free(p); }
};
template<typename T>
using Reply = std::unique_ptr<T, Free>;

struct Display
{
    xcb_connection_t *connection = nullptr;
    xcb_window_t window = 0;
    xcb_atom_t clipboard = 0;
    xcb_atom_t manager = 0;
    xcb_atom_t saveTargets = 0;
    xcb_atom_t utf8 = 0;
    xcb_atom_t property = 0;
};

xcb_atom_t atom(xcb_connection_t *c, const char *name)
{
    const Reply<xcb_intern_atom_reply_t> reply(
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, uint16_t(std::strlen(name)), name), nullptr));
    return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}

bool connectDisplay(Display &d)
{
    int screenNumber = 0;
    d.connection = xcb_connect(nullptr, &screenNumber);
    if (xcb_connection_has_error(d.connection))
        return false;
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(d.connection));
    for (int i = 0; i < screenNumber; ++i)
        xcb_screen_next(&screens);
    d.window = xcb_generate_id(d.connection);
    xcb_create_window(d.connection, XCB_COPY_FROM_PARENT, d.window, screens.data->root, 0, 0, 1, 1, 0,
                      XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, 0, nullptr);
    d.clipboard = atom(d.connection, "CLIPBOARD");
    d.manager = atom(d.connection, "CLIPBOARD_MANAGER");
    d.saveTargets = atom(d.connection, "SAVE_TARGETS");
    d.utf8 = atom(d.connection, "UTF8_STRING");
    d.property = atom(d.connection, "ZELVAN_STAND_IN");
    return true;
}

// The next event, or none after `timeoutMs` without one.
Reply<xcb_generic_event_t> nextEvent(xcb_connection_t *c, int timeoutMs)
{
    for (;;) {
        if (xcb_generic_event_t *event = xcb_poll_for_event(c))
            return Reply<xcb_generic_event_t>(event);
        pollfd fd{xcb_get_file_descriptor(c), POLLIN, 0};
        if (xcb_connection_has_error(c) || poll(&fd, 1, timeoutMs) <= 0)
            return nullptr;
    }
}

// The CLIPBOARD's text as its owner converts it to UTF8_STRING (no INCR: the texts are short).
std::optional<std::string> fetchClipboardText(const Display &d)
{
    xcb_convert_selection(d.connection, d.window, d.clipboard, d.utf8, d.property, XCB_CURRENT_TIME);
    xcb_flush(d.connection);
    while (const auto event = nextEvent(d.connection, TimeoutMs)) {
        if ((event->response_type & 0x7f) != XCB_SELECTION_NOTIFY)
            continue;
        const auto *notify = reinterpret_cast<const xcb_selection_notify_event_t *>(event.get());
        if (notify->property == XCB_ATOM_NONE)
            return std::nullopt;
        const Reply<xcb_get_property_reply_t> reply(xcb_get_property_reply(
            d.connection, xcb_get_property(d.connection, 1, d.window, d.property, XCB_GET_PROPERTY_TYPE_ANY, 0, 1 << 20),
            nullptr));
        if (!reply || reply->type != d.utf8)
            return std::nullopt;
        return std::string(static_cast<const char *>(xcb_get_property_value(reply.get())),
                           size_t(xcb_get_property_value_length(reply.get())));
    }
    return std::nullopt;
}

void notify(const Display &d, const xcb_selection_request_event_t &request, xcb_atom_t property)
{
    xcb_selection_notify_event_t event{};
    event.response_type = XCB_SELECTION_NOTIFY;
    event.time = request.time;
    event.requestor = request.requestor;
    event.selection = request.selection;
    event.target = request.target;
    event.property = property;
    xcb_send_event(d.connection, 0, request.requestor, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char *>(&event));
    xcb_flush(d.connection);
}

// A manager that has just ended may still hold the selection for a moment,
// until the server has taken its connection down: try again for a while.
bool takeManagerSelection(Display &d)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        xcb_set_selection_owner(d.connection, d.window, d.manager, XCB_CURRENT_TIME);
        const Reply<xcb_get_selection_owner_reply_t> owner(
            xcb_get_selection_owner_reply(d.connection, xcb_get_selection_owner(d.connection, d.manager), nullptr));
        if (owner && owner->owner == d.window)
            return true;
        poll(nullptr, 0, 20);
    }
    return false;
}

int manage(Display &d)
{
    if (!takeManagerSelection(d)) {
        std::fputs("clipboard-manager-stand-in: CLIPBOARD_MANAGER could not be taken\n", stderr);
        return 1;
    }
    std::puts("ready");
    std::fflush(stdout);
    for (;;) {
        const auto event = nextEvent(d.connection, -1);
        if (!event)
            return 1;
        if ((event->response_type & 0x7f) != XCB_SELECTION_REQUEST)
            continue;
        const auto request = *reinterpret_cast<const xcb_selection_request_event_t *>(event.get());
        if (request.selection != d.manager || request.target != d.saveTargets) {
            notify(d, request, XCB_ATOM_NONE);
            continue;
        }
        const std::optional<std::string> saved = fetchClipboardText(d);
        if (saved) {
            std::printf("saved: %s\n", saved->c_str());
            std::fflush(stdout);
        }
        notify(d, request, saved ? request.property : xcb_atom_t(XCB_ATOM_NONE));
    }
}

} // namespace

int main()
{
    Display display;
    if (!connectDisplay(display)) {
        std::fputs("clipboard-manager-stand-in: no display (is DISPLAY set?)\n", stderr);
        return 2;
    }
    const int rc = manage(display);
    xcb_disconnect(display.connection);
    return rc;
}
