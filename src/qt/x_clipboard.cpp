#include "x_clipboard.h"

#include <cstdlib>
#include <cstring>
#include <memory>
#include <poll.h>
#include <xcb/xcb.h>

namespace orvane {

namespace {

using Clock = std::chrono::steady_clock;

struct Disconnect {
    void operator()(xcb_connection_t* c) const { xcb_disconnect(c); }
};
using Connection = std::unique_ptr<xcb_connection_t, Disconnect>;

template <class T> using Reply = std::unique_ptr<T, decltype(&std::free)>;

xcb_atom_t Atom(xcb_connection_t* c, const char* name) {
    Reply<xcb_intern_atom_reply_t> reply(
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, uint16_t(std::strlen(name)), name), nullptr),
        &std::free);
    return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}

// The next event of the connection, waiting at most until the deadline.
Reply<xcb_generic_event_t> NextEvent(xcb_connection_t* c, Clock::time_point deadline) {
    while (true) {
        if (xcb_generic_event_t* event = xcb_poll_for_event(c)) {
            return {event, &std::free};
        }
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        pollfd wanted{xcb_get_file_descriptor(c), POLLIN, 0};
        if (left.count() <= 0 || xcb_connection_has_error(c) != 0 ||
            ::poll(&wanted, 1, int(left.count())) <= 0) {
            return {nullptr, &std::free};
        }
    }
}

// Takes the property's value off the window, appending it to `text`; false
// when it would pass the limit or cannot be read. `type` gets its type.
bool TakeProperty(xcb_connection_t* c, xcb_window_t window, xcb_atom_t property, std::string& text,
                  std::size_t limit, xcb_atom_t* type = nullptr) {
    Reply<xcb_get_property_reply_t> reply(
        xcb_get_property_reply(
            c,
            xcb_get_property(c, 1, window, property, XCB_GET_PROPERTY_TYPE_ANY, 0, UINT32_MAX / 4),
            nullptr),
        &std::free);
    if (!reply) {
        return false;
    }
    if (type != nullptr) {
        *type = reply->type;
    }
    auto length = std::size_t(xcb_get_property_value_length(reply.get()));
    if (length > limit - std::min(limit, text.size())) {
        return false;
    }
    text.append(static_cast<const char*>(xcb_get_property_value(reply.get())), length);
    return true;
}

} // namespace

std::optional<std::string> ReadXClipboard(std::chrono::milliseconds patience, std::size_t limit) {
    Connection connection(xcb_connect(nullptr, nullptr));
    xcb_connection_t* c = connection.get();
    if (xcb_connection_has_error(c) != 0) {
        return std::nullopt;
    }
    xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    xcb_window_t window = xcb_generate_id(c);
    uint32_t events = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_create_window(c, XCB_COPY_FROM_PARENT, window, screen->root, 0, 0, 1, 1, 0,
                      XCB_WINDOW_CLASS_INPUT_ONLY, screen->root_visual, XCB_CW_EVENT_MASK, &events);
    xcb_atom_t clipboard = Atom(c, "CLIPBOARD");
    xcb_atom_t utf8 = Atom(c, "UTF8_STRING");
    xcb_atom_t property = Atom(c, "ORVANE_PASTE");
    xcb_atom_t incremental = Atom(c, "INCR");
    xcb_convert_selection(c, window, clipboard, utf8, property, XCB_CURRENT_TIME);
    xcb_flush(c);

    std::string text;
    bool chunked = false;
    for (auto deadline = Clock::now() + patience;;) {
        Reply<xcb_generic_event_t> event = NextEvent(c, deadline);
        if (!event) {
            return std::nullopt;
        }
        uint8_t kind = event->response_type & 0x7F;
        if (kind == XCB_SELECTION_NOTIFY && !chunked) {
            auto* notify = reinterpret_cast<xcb_selection_notify_event_t*>(event.get());
            if (notify->property == XCB_ATOM_NONE) {
                return std::string(); // no text on the clipboard
            }
            xcb_atom_t type = XCB_ATOM_NONE;
            if (!TakeProperty(c, window, property, text, limit, &type)) {
                return std::nullopt;
            }
            if (type != incremental) {
                return text;
            }
            text.clear(); // a long text comes in chunks, each announced anew
            chunked = true;
        } else if (kind == XCB_PROPERTY_NOTIFY && chunked) {
            auto* change = reinterpret_cast<xcb_property_notify_event_t*>(event.get());
            if (change->atom != property || change->state != XCB_PROPERTY_NEW_VALUE) {
                continue;
            }
            std::size_t before = text.size();
            if (!TakeProperty(c, window, property, text, limit)) {
                return std::nullopt;
            }
            if (text.size() == before) {
                return text; // the empty chunk ends it
            }
        } else {
            continue;
        }
        xcb_flush(c);
        deadline = Clock::now() + patience;
    }
}

} // namespace orvane
