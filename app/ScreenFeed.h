#pragma once
// What an operation on a worker thread has for the window, kept until the GUI thread takes it.
// The worker never waits for the window, except for a message box's OK: lines, the clearing of
// the list, the showing of the window and captions pile up here in order, and the first change
// after a take asks the GUI thread, once, to come for them (onChange, posted). The GUI thread
// takes them at most once a frame, so a listing costs the window one update per frame, not one per
// contact.
//
// Captions come once per contact, faster than a window manager redraws a title bar: a later count
// replaces one the window system has not been given yet, except the operation's first caption and
// the count that comes just before the listing's closing caption, so a person sees the count start
// and finish.
//
// After abandon() nothing is kept or posted any more and a waiting message returns: the window is
// going away, or the program was told to end.

#include "contacts/CardDigest.h"

#include <QString>
#include <QStringList>

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

// The changes since the last take, in the order the window makes them.
struct ViewChanges {
    bool cleared = false;          // the list was emptied before `lines` came
    QStringList lines;             // to append
    QStringList files;             // the file name of each of lines
    std::vector<CardFacts> facts;  // what each of lines keeps of its card
    bool show = false;             // the window is to be shown
    QStringList titles;            // to give the window system, in order
    bool empty() const { return !cleared && lines.isEmpty() && !show && titles.isEmpty(); }
};

class ScreenFeed {
public:
    // Hands one call to the GUI thread's queue without waiting; called with the feed's lock held.
    using Post = std::function<void(std::function<void()>)>;

    // onChange runs on the GUI thread, posted once after the first change since the last take.
    ScreenFeed(Post post, std::function<void()> onChange);

    // The GUI thread, before an operation's worker starts.
    void beginOperation();
    // The GUI thread: everything changed since the last take.
    ViewChanges take();
    // Any thread: from now on nothing is kept, posted or waited for.
    void abandon();

    // The worker.
    void setCaption(QString text);
    void appendLine(QString line, QString file = {}, CardFacts facts = {});
    void clearList();
    void showWindow();
    // Posts `onGui` to the GUI thread and returns once it has run, or at once when the feed is or
    // becomes abandoned.
    void runOnGuiAndWait(std::function<void()> onGui);
    // Posts `onGui` to the GUI thread unless abandoned; does not wait.
    void postUnlessAbandoned(std::function<void()> onGui);

private:
    // Runs change with the lock held unless abandoned, then asks the GUI thread to come once.
    template <typename Change>
    void update(Change change);

    Post m_post;
    std::function<void()> m_onChange;
    mutable std::mutex m_mutex;
    std::condition_variable m_answered;
    ViewChanges m_pending;
    bool m_wakePosted = false;
    bool m_abandoned = false;
    bool m_firstCaption = true;       // the operation has set no caption yet
    bool m_titleReplaceable = false;  // m_pending.titles.back() may give way to a later count
};
