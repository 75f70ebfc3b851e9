#include "app/XdndCopyFilter.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

std::uint32_t internAtom(xcb_connection_t* connection, const char* name) {
    const xcb_intern_atom_cookie_t cookie =
        xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(std::strlen(name)), name);
    const std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> reply(
        xcb_intern_atom_reply(connection, cookie, nullptr), &std::free);
    return reply ? reply->atom : std::uint32_t{XCB_ATOM_NONE};
}

}  // namespace

std::optional<XdndCopyFilter::Atoms> XdndCopyFilter::applicationAtoms() {
    const auto* x11 = qApp ? qApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
    if (!connection) {
        return std::nullopt;
    }
    return Atoms{internAtom(connection, "XdndPosition"), internAtom(connection, "XdndActionMove"),
                 internAtom(connection, "XdndActionCopy")};
}

bool XdndCopyFilter::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
    if (eventType != "xcb_generic_event_t" || !message) {
        return false;
    }
    // XDND messages come by SendEvent, which sets the top bit of the type.
    if ((static_cast<xcb_generic_event_t*>(message)->response_type & 0x7f) != XCB_CLIENT_MESSAGE) {
        return false;
    }
    auto* event = static_cast<xcb_client_message_event_t*>(message);
    // XdndPosition: data32[4] is the action the source proposes.
    if (event->format == 32 && event->type == m_atoms.position && m_atoms.position != XCB_ATOM_NONE &&
        event->data.data32[4] == m_atoms.actionMove) {
        event->data.data32[4] = m_atoms.actionCopy;
    }
    return false;
}

void answerMovesAsCopies() {
    static bool installed = false;
    if (installed) {
        return;
    }
    const std::optional<XdndCopyFilter::Atoms> atoms = XdndCopyFilter::applicationAtoms();
    if (!atoms) {
        return;
    }
    installed = true;
    // Lives as long as the process: the application keeps a pointer to it.
    static XdndCopyFilter filter(*atoms);
    QCoreApplication::instance()->installNativeEventFilter(&filter);
}
