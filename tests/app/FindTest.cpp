// The find on the real main window: Ctrl+F, typing, the count, Return, Escape, and a listing that
// arrives while a find is open.

#include "tests/app/CannedWindow.h"

#include <QAccessible>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

std::string card(const char* name) {
    return std::string("BEGIN:VCARD\r\nFN:") + name + "\r\nEND:VCARD\r\n";
}

struct Find : CannedWindow {
    void fill() override {
        folder.add(u"rene.vcf", card("Ren\xC3\xA9 M\xC3\xBCller"));
        folder.add(u"anna.vcf", card("Anna Schmidt"));
        folder.add(u"mueller-work.vcf", card("Hans Weber"));
        folder.add(u"chloe.vcf", card("Chlo\xC3\xAB Muller"));
    }

    QLineEdit* field() { return window.findChild<QLineEdit*>("txtFind"); }
    QString count() { return window.findChild<QLabel*>("lblFindCount")->text(); }
    QAccessibleTableInterface* spokenList() {
        return QAccessible::queryAccessibleInterface(listOf(window))->tableInterface();
    }
    void type(const QString& text) {
        field()->selectAll();
        QTest::keyClicks(field(), text);
    }
};

}  // namespace

TEST_F(Find, TypingNarrowsTheListAndWhatAScreenReaderReadsAndCountsIt) {
    ASSERT_FALSE(field()->isVisible());
    const QRect refresh = window.findChild<QPushButton*>("cmdRefresh")->geometry();
    const QRect list = listOf(window)->geometry();
    press(QKeySequence::Find);
    ASSERT_TRUE(field()->isVisible());
    EXPECT_TRUE(field()->hasFocus());
    EXPECT_EQ(field()->accessibleName(), "Find:");
    EXPECT_LT(field()->geometry().right(), refresh.left()) << "left of the buttons";
    EXPECT_GT(field()->geometry().top(), list.bottom()) << "below the list";
    EXPECT_EQ(window.findChild<QPushButton*>("cmdRefresh")->geometry(), refresh) << "nothing else moves";
    EXPECT_EQ(count(), "4 of 4");
    struct Row {
        const char* typed;
        QStringList shown;
    };
    const Row rows[] = {
        {"muller",
         {QString::fromUtf8("Ren\u00e9 M\u00fcller [rene.vcf]"), QString::fromUtf8("Chlo\u00eb Muller [chloe.vcf]")}},
        {"MÜLLER",
         {QString::fromUtf8("Ren\u00e9 M\u00fcller [rene.vcf]"), QString::fromUtf8("Chlo\u00eb Muller [chloe.vcf]")}},
        {"mueller", {"Hans Weber [mueller-work.vcf]"}},
        {"zzz", {}},
        {"", {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.typed);
        field()->clear();
        QTest::keyClicks(field(), QString::fromUtf8(row.typed));
        const QStringList shown = QString(row.typed).isEmpty() ? QStringList() : row.shown;
        if (QString(row.typed).isEmpty()) {
            EXPECT_EQ(listLines(window).size(), 4);
            continue;
        }
        EXPECT_EQ(listLines(window), shown);
        EXPECT_EQ(spokenList()->rowCount(), shown.size()) << "a screen reader reads the same lines";
        EXPECT_EQ(count(), QStringLiteral("%1 of 4").arg(shown.size()));
    }
}

TEST_F(Find, ReturnOpensTheSelectedMatchOrTheFirstAndActionsTakeTheShownLine) {
    press(QKeySequence::Find);
    type("muller");
    QTest::keyClick(field(), Qt::Key_Return);
    ASSERT_TRUE(waitUntilIdle(window));
    EXPECT_EQ(folder.gets().back(), u"vqhttpmail/2/3/4/Contacts/rene.vcf") << "the first match";
    listOf(window)->setCurrentIndex(listOf(window)->model()->index(1, 0));
    field()->setFocus();
    QTest::keyClick(field(), Qt::Key_Return);
    ASSERT_TRUE(waitUntilIdle(window));
    EXPECT_EQ(folder.gets().back(), u"vqhttpmail/2/3/4/Contacts/chloe.vcf") << "the selected match";
    press(QKeySequence::Copy);  // in the field: the field's text, not a contact
    window.copyContact();
    ASSERT_TRUE(waitUntilIdle(window));
    EXPECT_EQ(folder.gets().back(), u"vqhttpmail/2/3/4/Contacts/chloe.vcf");
}

TEST_F(Find, EscapeBringsEveryLineBackWithTheSelectionKept) {
    press(QKeySequence::Find);
    type("anna");
    listOf(window)->setCurrentIndex(listOf(window)->model()->index(0, 0));
    QTest::keyClick(field(), Qt::Key_Escape);
    EXPECT_FALSE(field()->isVisible());
    EXPECT_TRUE(field()->text().isEmpty());
    EXPECT_EQ(listLines(window).size(), 4);
    EXPECT_EQ(window.selectedLine(), u"Anna Schmidt [anna.vcf]");
    EXPECT_TRUE(listOf(window)->hasFocus());
    EXPECT_EQ(recorder.endings, 0) << "Escape does not end the program";
}

TEST_F(Find, EscapeGivesBackTheLineSelectedBeforeAFindThatHidIt) {
    QAbstractItemView* list = listOf(window);
    list->setCurrentIndex(list->model()->index(1, 0));
    ASSERT_EQ(window.selectedLine(), u"Anna Schmidt [anna.vcf]");
    press(QKeySequence::Find);
    type("weber");
    EXPECT_TRUE(window.selectedLine().empty()) << "the filter hides Anna";
    QTest::keyClick(field(), Qt::Key_Escape);
    EXPECT_EQ(window.selectedLine(), u"Anna Schmidt [anna.vcf]");
}

TEST_F(Find, ALineArrivingDuringAFindIsFilteredAsItComes) {
    press(QKeySequence::Find);
    type("weber");
    folder.add(u"new.vcf", card("Greta Weber"));
    window.cmdRefresh_Click();
    ASSERT_TRUE(waitUntilIdle(window));
    EXPECT_EQ(listLines(window), QStringList({"Hans Weber [mueller-work.vcf]", "Greta Weber [new.vcf]"}));
    EXPECT_EQ(count(), "2 of 5");
    window.appendContact(u"Anna Two [two.vcf]", u"two.vcf");
    window.appendContact(u"Otto Weber [otto.vcf]", u"otto.vcf");
    ASSERT_TRUE(QTest::qWaitFor([this] { return count() == "3 of 7"; }));
    EXPECT_EQ(listLines(window).back(), "Otto Weber [otto.vcf]");
}
