#include "bench/PingProbe.h"

#include <poll.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

using Clock = std::chrono::steady_clock;

xcb_atom_t atom(xcb_connection_t* connection, const char* name) {
    const std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> reply(
        xcb_intern_atom_reply(
            connection, xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(std::strlen(name)), name), nullptr),
        &std::free);
    return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

// True when the event is the window's answer to the ping stamped `stamp`.
bool isAnswer(const xcb_generic_event_t* event, xcb_atom_t protocols, xcb_atom_t ping, std::uint32_t stamp) {
    if ((event->response_type & 0x7f) != XCB_CLIENT_MESSAGE) {
        return false;
    }
    const auto* message = reinterpret_cast<const xcb_client_message_event_t*>(event);
    return message->type == protocols && message->data.data32[0] == ping && message->data.data32[1] == stamp;
}

}  // namespace

PingProbe::PingProbe(std::uint32_t window) : m_window(window), m_thread([this] { run(); }) {}

PingProbe::~PingProbe() {
    stop();
}

void PingProbe::stop() {
    m_stop = true;
    if (m_thread.joinable()) {
        m_thread.join();
    }
}

void PingProbe::run() {
    if (m_window == 0) {
        return;
    }
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection)) {
        xcb_disconnect(connection);
        return;
    }
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    // The window answers to the root for the window manager (Qt sends it for StructureNotify and
    // SubstructureRedirect); StructureNotify on the root is open to every client.
    const std::uint32_t mask = XCB_EVENT_MASK_STRUCTURE_NOTIFY;
    xcb_change_window_attributes(connection, root, XCB_CW_EVENT_MASK, &mask);
    const xcb_atom_t protocols = atom(connection, "WM_PROTOCOLS");
    const xcb_atom_t ping = atom(connection, "_NET_WM_PING");
    for (std::uint32_t stamp = 1; !m_stop; ++stamp) {
        xcb_client_message_event_t message{};
        message.response_type = XCB_CLIENT_MESSAGE;
        message.format = 32;
        message.window = m_window;
        message.type = protocols;
        message.data.data32[0] = ping;
        message.data.data32[1] = stamp;
        message.data.data32[2] = m_window;
        xcb_send_event(connection, 0, m_window, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char*>(&message));
        xcb_flush(connection);
        const auto sent = Clock::now();
        bool answered = false;
        while (!answered && !m_stop && Clock::now() - sent < std::chrono::seconds(10)) {
            pollfd fd{xcb_get_file_descriptor(connection), POLLIN, 0};
            poll(&fd, 1, 10);
            while (xcb_generic_event_t* event = xcb_poll_for_event(connection)) {
                answered = answered || isAnswer(event, protocols, ping, stamp);
                std::free(event);
            }
        }
        m_longestMs = std::max(m_longestMs, std::chrono::duration<double, std::milli>(Clock::now() - sent).count());
        m_answered += answered ? 1 : 0;
        for (const auto pause = Clock::now(); !m_stop && Clock::now() - pause < std::chrono::milliseconds(50);) {
            poll(nullptr, 0, 10);
        }
    }
    xcb_disconnect(connection);
}
