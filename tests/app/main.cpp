// Widget tests run on the offscreen platform: no display, no window manager.
#include <gtest/gtest.h>

#include <QApplication>
#include <QPointer>
#include <QWidget>

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace {

// Fails a test that leaves a top-level window behind, shown or merely not deleted: a window that
// outlives its test is one a user would find left over on the desktop, and it would take part in
// the tests after it. Each window is blamed once, on the test that left it.
class NoWindowLeftOpen : public testing::EmptyTestEventListener {
public:
    void OnTestEnd(const testing::TestInfo&) override {
        // A window closed with deleteLater is gone once the event loop runs again.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (blamed(window)) {
                continue;
            }
            ADD_FAILURE() << "a top-level window outlived the test: " << describe(window);
            m_blamed.emplace_back(window);
            window->hide();
        }
    }

private:
    bool blamed(const QWidget* window) const {
        return std::any_of(m_blamed.begin(), m_blamed.end(),
                           [window](const QPointer<QWidget>& seen) { return seen == window; });
    }

    static std::string describe(const QWidget* window) {
        return QStringLiteral("%1 \"%2\" titled \"%3\"%4")
            .arg(QString::fromLatin1(window->metaObject()->className()), window->objectName(), window->windowTitle(),
                 window->isVisible() ? QStringLiteral(", still shown") : QString())
            .toStdString();
    }

    std::vector<QPointer<QWidget>> m_blamed;
};

}  // namespace

int main(int argc, char* argv[]) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication application(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    // Appended, so that its end-of-test check runs before the result is printed.
    testing::UnitTest::GetInstance()->listeners().Append(new NoWindowLeftOpen);
    return RUN_ALL_TESTS();
}
