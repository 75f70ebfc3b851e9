#include "app/ScreenFeed.h"

#include "contacts/ContactTexts.h"

#include <utility>

namespace {

bool closesListing(const QString& caption) {
    return QStringView(caption) ==
           QStringView(contacttext::listedCaption.data(), static_cast<qsizetype>(contacttext::listedCaption.size()));
}

}  // namespace

ScreenFeed::ScreenFeed(Post post, std::function<void()> onChange)
    : m_post(std::move(post)), m_onChange(std::move(onChange)) {}

void ScreenFeed::beginOperation() {
    const std::lock_guard lock(m_mutex);
    m_firstCaption = true;
    m_titleReplaceable = false;
}

ViewChanges ScreenFeed::take() {
    const std::lock_guard lock(m_mutex);
    m_wakePosted = false;
    m_titleReplaceable = false;  // what is taken now reaches the window system
    return std::exchange(m_pending, ViewChanges{});
}

void ScreenFeed::abandon() {
    {
        const std::lock_guard lock(m_mutex);
        m_abandoned = true;
        m_pending = ViewChanges{};
    }
    m_answered.notify_all();
}

template <typename Change>
void ScreenFeed::update(Change change) {
    const std::lock_guard lock(m_mutex);
    if (m_abandoned) {
        return;
    }
    change();
    if (!m_wakePosted) {
        m_wakePosted = true;
        m_post(m_onChange);
    }
}

void ScreenFeed::setCaption(QString text) {
    update([&] {
        const bool closing = closesListing(text);
        if (m_titleReplaceable && !closing && !m_pending.titles.isEmpty()) {
            m_pending.titles.back() = std::move(text);
        } else {
            m_pending.titles.push_back(std::move(text));
        }
        m_titleReplaceable = !m_firstCaption && !closing;
        m_firstCaption = false;
    });
}

void ScreenFeed::appendLine(QString line, QString file, CardFacts facts) {
    update([&] {
        m_pending.lines.push_back(std::move(line));
        m_pending.files.push_back(std::move(file));
        m_pending.facts.push_back(std::move(facts));
    });
}

void ScreenFeed::clearList() {
    update([&] {
        m_pending.cleared = true;
        m_pending.lines.clear();
        m_pending.files.clear();
        m_pending.facts.clear();
    });
}

void ScreenFeed::showWindow() {
    update([&] { m_pending.show = true; });
}

void ScreenFeed::runOnGuiAndWait(std::function<void()> onGui) {
    // Shared with the posted call, which may run after this returned (abandoned meanwhile).
    auto done = std::make_shared<bool>(false);
    std::unique_lock lock(m_mutex);
    if (m_abandoned) {
        return;
    }
    m_post([this, done, onGui = std::move(onGui)] {
        onGui();
        {
            const std::lock_guard answered(m_mutex);
            *done = true;
        }
        m_answered.notify_all();
    });
    m_answered.wait(lock, [&] { return *done || m_abandoned; });
}

void ScreenFeed::postUnlessAbandoned(std::function<void()> onGui) {
    const std::lock_guard lock(m_mutex);
    if (!m_abandoned) {
        m_post(std::move(onGui));
    }
}
