#pragma once
// Drops on the program are only ever read, so the window answers every drag as a copy (CopyDrop.h).
// On X11 that is not enough for a source that proposes a move (a file manager's Shift-drag): Qt's
// xcb drop code takes the proposal of each XdndPosition message as the action the source offers,
// and an answer of "copy" to a source that did not list copy falls back to the proposed move, which
// the window must refuse (a source told "moved" deletes the user's files). XDND lets the target
// answer any action it likes, so this filter rewrites a proposed XdndActionMove to XdndActionCopy
// before Qt reads the message: the drop goes ahead as a copy and the source keeps its files. A move
// is never confirmed; a proposed link stays a link (and is refused unless the source offers copy).

#include <QAbstractNativeEventFilter>

#include <cstdint>
#include <optional>

class XdndCopyFilter final : public QAbstractNativeEventFilter {
public:
    struct Atoms {
        std::uint32_t position = 0;    // XdndPosition
        std::uint32_t actionMove = 0;  // XdndActionMove
        std::uint32_t actionCopy = 0;  // XdndActionCopy
    };

    explicit XdndCopyFilter(const Atoms& atoms) : m_atoms(atoms) {}

    // The three atoms on the application's X connection; nullopt on any other platform.
    static std::optional<Atoms> applicationAtoms();

    // Rewrites the proposal in place; never consumes the event (always false).
    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

private:
    Atoms m_atoms;
};

// Installs one XdndCopyFilter on the application when it runs on xcb; later calls do nothing.
void answerMovesAsCopies();
