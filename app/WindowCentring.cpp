#include "app/WindowCentring.h"

#include <QEvent>
#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QWidget>
#include <QWindow>

#include <algorithm>

namespace {

// The frame of the last window the window manager framed: all our windows get the same
// decorations, so it is the best guess for the next window before it is framed.
QMargins lastFrame;

QScreen* screenOf(QWidget* window) {
    return window->screen() ? window->screen() : QGuiApplication::primaryScreen();
}

void placeWithFrame(QWidget* window, QMargins frame) {
    QScreen* screen = screenOf(window);
    if (!screen) {
        return;
    }
    // For a top-level widget, move() places the frame's top-left corner, not the client area's.
    window->move(centredFramePosition(window->size(), frame, screen->availableGeometry()));
}

// Waits for the window's first exposure (the window manager has framed it by then) and centres
// the window again if its frame differs from the guess. Deletes itself after that one look.
class FrameWatch final : public QObject {
public:
    FrameWatch(QWidget* window, QMargins guess) : QObject(window), m_window(window), m_guess(guess) {
        window->installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == m_window && event->type() == QEvent::Show && m_window->windowHandle()) {
            m_window->windowHandle()->installEventFilter(this);
        } else if (event->type() == QEvent::Expose && m_window && m_window->windowHandle() == watched &&
                   m_window->windowHandle()->isExposed()) {
            frameKnown(m_window->windowHandle()->frameMargins());
        }
        return false;
    }

private:
    void frameKnown(QMargins frame) {
        lastFrame = frame;
        if (frame != m_guess) {
            placeWithFrame(m_window, frame);
        }
        deleteLater();
        m_window->removeEventFilter(this);
        m_window->windowHandle()->removeEventFilter(this);
    }

    QPointer<QWidget> m_window;
    QMargins m_guess;
};

}  // namespace

QPoint centredFramePosition(QSize client, QMargins frame, const QRect& available) {
    const QSize outer = client.grownBy(frame);
    const int left = available.left() + (available.width() - outer.width()) / 2;
    const int top = available.top() + (available.height() - outer.height()) / 2;
    return {std::max(left, available.left()), std::max(top, available.top())};
}

void centreOnScreen(QWidget* window) {
    placeWithFrame(window, lastFrame);
    new FrameWatch(window, lastFrame);
}
