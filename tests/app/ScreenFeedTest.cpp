#include "app/ScreenFeed.h"

#include <gtest/gtest.h>

#include <functional>
#include <thread>
#include <vector>

namespace {

const QString kClosing = QStringLiteral("Velqor Personal Contacts Manager");

QString count(int n) {
    return QStringLiteral("Retreiving Contact from Server %1 of 9").arg(n);
}

// A step of the worker or of the GUI thread; a take keeps what it got.
using Step = std::function<void(ScreenFeed&, std::vector<ViewChanges>&)>;

Step captions(std::vector<int> numbers) {
    return [numbers = std::move(numbers)](ScreenFeed& feed, std::vector<ViewChanges>&) {
        for (const int n : numbers) {
            feed.setCaption(n == 0 ? kClosing : count(n));
        }
    };
}

void take(ScreenFeed& feed, std::vector<ViewChanges>& taken) {
    taken.push_back(feed.take());
}

}  // namespace

TEST(ScreenFeed, KeepsTheFirstAndTheLastCountAndOneCaptionPerTake) {
    struct Row {
        const char* why;
        std::vector<Step> steps;
        std::vector<QStringList> titles;  // of each take
    };
    const Row rows[] = {
        {"later counts replace those not yet taken",
         {captions({1}), take, captions({2, 3, 4}), take},
         {{count(1)}, {count(4)}}},
        {"the operation's first caption is never replaced", {captions({1, 2, 3}), take}, {{count(1), count(3)}}},
        {"the count before the closing caption stays",
         {captions({1}), take, captions({2, 3, 4, 9, 0}), take},
         {{count(1)}, {count(9), kClosing}}},
        {"a count taken already is not given again",
         {captions({1, 9}), take, captions({0}), take},
         {{count(1), count(9)}, {kClosing}}},
        {"a new operation's first caption stays again",
         {captions({1, 9, 0}), take, [](ScreenFeed& feed, auto&) { feed.beginOperation(); }, captions({1, 2, 3}), take},
         {{count(1), count(9), kClosing}, {count(1), count(3)}}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        ScreenFeed feed([](std::function<void()>) {}, [] {});
        feed.beginOperation();
        std::vector<ViewChanges> taken;
        for (const Step& step : row.steps) {
            step(feed, taken);
        }
        ASSERT_EQ(taken.size(), row.titles.size());
        for (std::size_t i = 0; i < taken.size(); ++i) {
            EXPECT_EQ(taken[i].titles, row.titles[i]) << "take " << i;
        }
    }
}

TEST(ScreenFeed, KeepsLinesInOrderAfterAClearAndWakesOncePerTake) {
    int wakes = 0;
    ScreenFeed feed([&wakes](std::function<void()>) { ++wakes; }, [] {});
    feed.appendLine(QStringLiteral("old"));
    feed.clearList();
    feed.appendLine(QStringLiteral("a"));
    feed.appendLine(QStringLiteral("b"));
    feed.showWindow();
    EXPECT_EQ(wakes, 1) << "one call to the GUI thread for everything until it comes";
    const ViewChanges first = feed.take();
    EXPECT_TRUE(first.cleared);
    EXPECT_EQ(first.lines, QStringList({"a", "b"})) << "a line before the clearing is gone with it";
    EXPECT_TRUE(first.show);
    EXPECT_TRUE(feed.take().empty());
    feed.appendLine(QStringLiteral("c"));
    EXPECT_EQ(wakes, 2);
    const ViewChanges second = feed.take();
    EXPECT_FALSE(second.cleared);
    EXPECT_EQ(second.lines, QStringList{"c"});
}

TEST(ScreenFeed, AWorkerWaitsForTheGuiCallUnlessTheFeedIsAbandoned) {
    std::vector<std::function<void()>> posted;  // the "GUI thread's" queue
    std::mutex queue;
    ScreenFeed feed(
        [&](std::function<void()> call) {
            const std::lock_guard lock(queue);
            posted.push_back(std::move(call));
        },
        [] {});
    bool ran = false;
    std::thread worker([&] { feed.runOnGuiAndWait([&ran] { ran = true; }); });
    // The worker stays until the posted call has run here.
    while ([&] {
        const std::lock_guard lock(queue);
        return posted.empty();
    }()) {
        std::this_thread::yield();
    }
    posted.front()();
    worker.join();
    EXPECT_TRUE(ran);

    // A box that will never be answered (the window goes away): abandon lets the worker go.
    std::thread waiting([&] { feed.runOnGuiAndWait([] {}); });
    while ([&] {
        const std::lock_guard lock(queue);
        return posted.size() < 2;
    }()) {
        std::this_thread::yield();
    }
    feed.abandon();
    waiting.join();
    feed.appendLine(QStringLiteral("late"));
    feed.runOnGuiAndWait([] {});
    EXPECT_EQ(posted.size(), 2u) << "nothing is posted once abandoned";
    EXPECT_TRUE(feed.take().empty());
}
