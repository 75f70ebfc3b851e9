#include "app/XdndCopyFilter.h"

#include <gtest/gtest.h>

#include <QByteArray>

#include <xcb/xcb.h>

namespace {

constexpr XdndCopyFilter::Atoms kAtoms{.position = 301, .actionMove = 302, .actionCopy = 303};
constexpr std::uint32_t kXdndStatus = 304;
constexpr std::uint32_t kActionLink = 305;
constexpr std::uint8_t kSentEvent = 0x80;

xcb_client_message_event_t clientMessage(std::uint8_t type, std::uint8_t format, std::uint32_t messageType,
                                         std::uint32_t action) {
    xcb_client_message_event_t event{};
    event.response_type = type;
    event.format = format;
    event.window = 0x400001;
    event.type = messageType;
    event.data.data32[0] = 0x600001;  // the source window
    event.data.data32[2] = (100u << 16) | 200u;
    event.data.data32[4] = action;
    return event;
}

}  // namespace

TEST(XdndCopyFilter, AProposedMoveIsAnsweredAsACopyAndNothingElseChanges) {
    struct Row {
        const char* why;
        QByteArray eventType;
        xcb_client_message_event_t event;
        std::uint32_t action;  // data32[4] after the filter
    };
    const Row rows[] = {
        {"a Shift-drag's position proposes a move: it becomes a copy", "xcb_generic_event_t",
         clientMessage(XCB_CLIENT_MESSAGE | kSentEvent, 32, kAtoms.position, kAtoms.actionMove), kAtoms.actionCopy},
        {"the same, had it not come by SendEvent", "xcb_generic_event_t",
         clientMessage(XCB_CLIENT_MESSAGE, 32, kAtoms.position, kAtoms.actionMove), kAtoms.actionCopy},
        {"a proposed copy stays a copy", "xcb_generic_event_t",
         clientMessage(XCB_CLIENT_MESSAGE | kSentEvent, 32, kAtoms.position, kAtoms.actionCopy), kAtoms.actionCopy},
        {"a proposed link stays a link", "xcb_generic_event_t",
         clientMessage(XCB_CLIENT_MESSAGE | kSentEvent, 32, kAtoms.position, kActionLink), kActionLink},
        {"another XDND message is left alone", "xcb_generic_event_t",
         clientMessage(XCB_CLIENT_MESSAGE | kSentEvent, 32, kXdndStatus, kAtoms.actionMove), kAtoms.actionMove},
        {"a message of bytes, not longs, is left alone", "xcb_generic_event_t",
         clientMessage(XCB_CLIENT_MESSAGE | kSentEvent, 8, kAtoms.position, kAtoms.actionMove), kAtoms.actionMove},
        {"an event that is no client message is left alone", "xcb_generic_event_t",
         clientMessage(XCB_PROPERTY_NOTIFY, 32, kAtoms.position, kAtoms.actionMove), kAtoms.actionMove},
        {"another platform's event is never read as xcb", "windows_generic_MSG",
         clientMessage(XCB_CLIENT_MESSAGE, 32, kAtoms.position, kAtoms.actionMove), kAtoms.actionMove},
    };
    XdndCopyFilter filter(kAtoms);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        xcb_client_message_event_t event = row.event;
        qintptr result = 0;
        EXPECT_FALSE(filter.nativeEventFilter(row.eventType, &event, &result)) << "Qt still handles the message";
        EXPECT_EQ(event.data.data32[4], row.action);
        EXPECT_EQ(event.data.data32[0], row.event.data.data32[0]) << "the rest of the message is untouched";
        EXPECT_EQ(event.data.data32[2], row.event.data.data32[2]);
        EXPECT_EQ(event.type, row.event.type);
    }
}

TEST(XdndCopyFilter, HasNoAtomsOffX11) {
    EXPECT_FALSE(XdndCopyFilter::applicationAtoms().has_value()) << "the tests run offscreen";
}
