#include "app/CaptionFit.h"
#include "app/frmMain.h"
#include "tests/app/DesignLayout.h"
#include "tests/app/DesktopRecorder.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QTest>

namespace {

struct MainWindowTest : testing::Test {
    void SetUp() override {
        window.show();
        QApplication::setActiveWindow(&window);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    }

    template <typename Widget>
    Widget* child(const char* name) {
        return namedChild<Widget>(window, name);
    }

    DesktopRecorder recorder;
    frmMain window;
};

}  // namespace

TEST_F(MainWindowTest, ControlsSitAtTheirDesignPlaceAndCaptionsFit) {
    expectDesignLayout(window,
                       {
                           {"List1", {150, 1095, 5790, 2400}},
                           {"Label2", {135, 855, 1365, 270}},
                           {"cmdClose", {4725, 3555, 1230, 420}},
                           {"cmdRefresh", {3375, 3555, 1230, 420}},
                           {"Label1", {180, 75, 5820, 675}},
                       },
                       6180, 4050);
}

TEST_F(MainWindowTest, StartsWithDesignTitleFocusInListAndNoDefaultButton) {
    EXPECT_EQ(window.windowTitle(), "Velqor Peronsal Contacts Manager");
    EXPECT_EQ(QApplication::focusWidget(), child<QListView>("List1"));
    EXPECT_EQ(child<QPushButton>("cmdClose")->text(), "&Cancel");
    EXPECT_EQ(child<QPushButton>("cmdRefresh")->text(), "Refresh");
    for (const char* name : {"cmdClose", "cmdRefresh"}) {
        SCOPED_TRACE(name);
        EXPECT_FALSE(child<QPushButton>(name)->isDefault() || child<QPushButton>(name)->autoDefault());
    }
}

TEST_F(MainWindowTest, TabVisitsListCancelRefresh) {
    const QStringList expected = {"cmdClose", "cmdRefresh", "List1"};
    QStringList visited;
    for (int step = 0; step < expected.size(); ++step) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited << QApplication::focusWidget()->objectName();
    }
    EXPECT_EQ(visited, expected);
}

TEST_F(MainWindowTest, EnterAndEscapeDoNotEndTheProgram) {
    for (const char* name : {"List1", "cmdClose", "cmdRefresh"}) {
        SCOPED_TRACE(name);
        auto* control = child<QWidget>(name);
        control->setFocus();
        QTest::keyClick(control, Qt::Key_Return);
        QTest::keyClick(control, Qt::Key_Escape);
    }
    EXPECT_EQ(recorder.endings, 0);
    EXPECT_TRUE(window.isVisible());
}

TEST_F(MainWindowTest, CancelButtonAccessKeyAndCloseBoxEndTheProgram) {
    struct Row {
        const char* why;
        std::function<void(MainWindowTest&)> act;
    };
    const Row rows[] = {
        {"the Cancel button",
         [](MainWindowTest& t) {
             QTest::mouseClick(t.child<QPushButton>("cmdClose"), Qt::LeftButton);
         }},
        {"its access key Alt+C",
         [](MainWindowTest& t) {
             QTest::keyClick(t.window.windowHandle(), Qt::Key_C, Qt::AltModifier);
         }},
        {"the window's close box",
         [](MainWindowTest& t) {
             t.window.close();
         }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        recorder.endings = 0;
        window.show();
        row.act(*this);
        // An access key "animates" the click: it lands a moment later.
        EXPECT_TRUE(QTest::qWaitFor([this] { return recorder.endings == 1; }, 2000));
        EXPECT_TRUE(recorder.messages.empty()) << "no question, no closing message";
    }
}

TEST_F(MainWindowTest, ScreenSeamReachesTheWidgets) {
    window.appendContact(u"Jane (Work) Doe [A12.vcf]", u"A12.vcf");
    window.appendContact(u"\u00c9mile [e.vcf]", u"e.vcf");
    auto* list = child<QListView>("List1");
    ASSERT_TRUE(QTest::qWaitFor([list] { return list->model()->rowCount() == 2; }));
    EXPECT_EQ(window.selectedLine(), u"") << "nothing selected yet";
    list->setCurrentIndex(list->model()->index(1, 0));
    EXPECT_EQ(window.selectedLine(), u"\u00c9mile [e.vcf]");
    window.setCaption(u"Retreiving Contact from Server 1 of 2");
    EXPECT_TRUE(QTest::qWaitFor([this] { return window.windowTitle() == "Retreiving Contact from Server 1 of 2"; }));
    window.showMessage(u"Error:404", MessageStyle::Plain, u"");
    ASSERT_EQ(recorder.messages.size(), 1u);
    EXPECT_EQ(recorder.messages[0].text, "Error:404");
    EXPECT_EQ(recorder.messages[0].style, MessageStyle::Plain);
    window.clearList();
    EXPECT_TRUE(QTest::qWaitFor([list] { return list->model()->rowCount() == 0; }));
}

TEST(CaptionFits, RefusesACaptionLargerThanItsControl) {
    QLabel label("Server Contacts:");
    label.resize(20, 10);
    EXPECT_FALSE(captionFits(&label, label.font()));
    label.resize(400, 40);
    EXPECT_TRUE(captionFits(&label, label.font()));
}
