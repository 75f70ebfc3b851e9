// The keys and the context menu of the main window, driven as a user drives them.

#include "app/ListActions.h"
#include "tests/app/CannedWindow.h"

#include <QAccessible>
#include <QAction>
#include <QClipboard>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>

#include <future>

namespace {

const std::string kCard = "BEGIN:VCARD\r\nFN:Ann\r\nEND:VCARD\r\n";

struct Keys : CannedWindow {
    void fill() override { folder.add(u"ann.vcf", kCard); }

    QMenu* menu() { return window.findChild<QMenu*>("mnuList"); }
    QAction* action(const char* name) { return window.findChild<QAction*>(QString::fromLatin1(name)); }
};

const char* const kActions[] = {"actOpen",    "actEdit",   "actNew",        "actCopy",
                                "actSave",    "actPaste",  "actImport",     "actFind",
                                "actRefresh", "actDelete", "actUndoDelete", "actSelectDuplicates"};

// The menu's entries without its separators.
QList<QAction*> entries(QMenu* menu) {
    QList<QAction*> found;
    for (QAction* action : menu->actions()) {
        if (!action->isSeparator()) {
            found << action;
        }
    }
    return found;
}

}  // namespace

TEST_F(Keys, TheMenuHoldsTheTwelveEntriesWithTheirKeysAndScreenReaderNames) {
    struct Row {
        const char* name;
        const char* spoken;
        QKeySequence key;
    };
    const Row rows[] = {
        {"actOpen", "Open", QKeySequence(Qt::Key_Return)},
        {"actEdit", "Edit\u2026", QKeySequence(Qt::CTRL | Qt::Key_E)},
        {"actNew", "New Contact\u2026", QKeySequence(Qt::CTRL | Qt::Key_N)},
        {"actCopy", "Copy", QKeySequence(Qt::CTRL | Qt::Key_C)},
        {"actSave", "Save As\u2026", QKeySequence(Qt::CTRL | Qt::Key_S)},
        {"actPaste", "Paste", QKeySequence(Qt::CTRL | Qt::Key_V)},
        {"actImport", "Import\u2026", QKeySequence(Qt::CTRL | Qt::Key_O)},
        {"actFind", "Find\u2026", QKeySequence(Qt::CTRL | Qt::Key_F)},
        {"actRefresh", "Refresh", QKeySequence(Qt::Key_F5)},
        {"actDelete", "Delete", QKeySequence(Qt::Key_Delete)},
        {"actUndoDelete", "Undo Delete", QKeySequence(Qt::CTRL | Qt::Key_Z)},
        {"actSelectDuplicates", "Select Duplicates", QKeySequence()},
    };
    ASSERT_NE(menu(), nullptr);
    const QList<QAction*> shown = entries(menu());
    ASSERT_EQ(shown.size(), 12);
    QAccessibleInterface* spoken = QAccessible::queryAccessibleInterface(menu());
    ASSERT_NE(spoken, nullptr);
    ASSERT_EQ(spoken->childCount(), menu()->actions().size());
    for (int i = 0, child = 0; i < 12; ++i, ++child) {
        SCOPED_TRACE(rows[i].name);
        QAction* entry = shown[i];
        EXPECT_EQ(entry->objectName(), rows[i].name);
        if (!rows[i].key.isEmpty()) {
            EXPECT_TRUE(entry->shortcuts().contains(rows[i].key)) << entry->shortcut().toString().toStdString();
        }
        child += menu()->actions()[child]->isSeparator() ? 1 : 0;
        EXPECT_EQ(spoken->child(child)->text(QAccessible::Name), QString::fromUtf8(rows[i].spoken));
    }
}

TEST_F(Keys, RightClickMenuKeyAndShiftF10OpenTheMenu) {
    const std::vector<std::pair<const char*, std::function<void()>>> rows = {
        // Through the window, as the window system delivers it: that is where a right press becomes
        // a context menu request.
        {"right click",
         [this] {
             const QPoint at = listOf(window)->viewport()->mapTo(&window, QPoint(5, 5));
             QTest::mouseClick(window.windowHandle(), Qt::RightButton, {}, at);
         }},
        {"Menu key",
         [this] {
             QTest::keyClick(listOf(window), Qt::Key_Menu);
         }},
        {"Shift+F10",
         [this] {
             QTest::keyClick(listOf(window), Qt::Key_F10, Qt::ShiftModifier);
         }},
    };
    for (const auto& [why, act] : rows) {
        SCOPED_TRACE(why);
        listOf(window)->setFocus();
        act();
        EXPECT_TRUE(QTest::qWaitFor([this] { return menu()->isVisible(); }, 2000));
        menu()->hide();
    }
}

TEST_F(Keys, EntriesNeedingALineWaitForOneAndTheKeysWorkFromAnywhereInTheWindow) {
    listOf(window)->clearSelection();
    listOf(window)->setCurrentIndex({});
    for (const char* name : kActions) {
        SCOPED_TRACE(name);
        const std::string_view entry(name);
        const bool needsLine = entry == "actOpen" || entry == "actEdit" || entry == "actCopy" || entry == "actSave" ||
                               entry == "actDelete";
        EXPECT_EQ(action(name)->isEnabled(), !needsLine && entry != "actUndoDelete");
    }
    selectFile("ann.vcf");
    for (const char* name : kActions) {
        EXPECT_EQ(action(name)->isEnabled(), std::string_view(name) != "actUndoDelete") << "nothing deleted: " << name;
    }
    // Ctrl+C with the focus on a button: the contact; in the find field: the field's text.
    window.findChild<QPushButton*>("cmdRefresh")->setFocus();
    press(QKeySequence::Copy);
    ASSERT_TRUE(waitUntilIdle(window));
    EXPECT_EQ(QGuiApplication::clipboard()->mimeData()->data("text/vcard").toStdString(), kCard);
    press(QKeySequence::Find);
    auto* field = window.findChild<QLineEdit*>("txtFind");
    ASSERT_TRUE(field->hasFocus());
    QTest::keyClicks(field, "ann");
    field->selectAll();
    press(QKeySequence::Copy);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "ann");
    EXPECT_FALSE(QGuiApplication::clipboard()->mimeData()->hasFormat("text/vcard"));
    const std::size_t gets = folder.gets().size();
    press(QKeySequence::Paste);
    EXPECT_FALSE(window.busy()) << "Ctrl+V in the field pastes into the field";
    EXPECT_EQ(field->text(), "ann");
    EXPECT_EQ(folder.gets().size(), gets);
    press(QKeySequence(Qt::Key_F5));
    ASSERT_TRUE(waitUntilIdle(window));
    EXPECT_EQ(folder.gets().size(), gets + 1) << "F5 lists again from the field too";
}

TEST_F(Keys, EveryKeyThatStartsAnOperationIsDeclinedWhileOneRuns) {
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    folder.onGet([released] { released.wait(); });
    selectFile("ann.vcf");
    recorder.saveAnswer = QStringLiteral("/nonexistent/never.vcf");
    recorder.importAnswer = QStringList{QStringLiteral("/nonexistent/never.vcf")};
    QGuiApplication::clipboard()->setText(kCard.c_str());
    window.List1_DblClick();  // Open: its GET waits
    ASSERT_TRUE(window.busy());
    for (const char* name : kActions) {
        if (std::string_view(name) != "actFind") {
            EXPECT_FALSE(action(name)->isEnabled()) << name;
        }
    }
    listOf(window)->setFocus();
    for (const QKeySequence& keys :
         {QKeySequence(Qt::Key_Return), QKeySequence(QKeySequence::Copy), QKeySequence(QKeySequence::Save),
          QKeySequence(QKeySequence::Paste), QKeySequence(QKeySequence::Open), QKeySequence(Qt::Key_F5),
          QKeySequence(Qt::Key_Delete), QKeySequence(QKeySequence::Undo), QKeySequence(Qt::CTRL | Qt::Key_E),
          QKeySequence(QKeySequence::New)}) {
        press(keys);
    }
    window.copyContact();  // and as the menu would call them
    window.saveContact();
    window.pasteContacts();
    window.importContacts();
    recorder.deleteAnswer = true;
    window.deleteSelected();
    window.undoDelete();
    window.selectDuplicates();
    window.editContact();
    window.newContact();
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << "no editor opens while an operation runs";
    release.set_value();
    ASSERT_TRUE(waitUntilIdle(window));
    EXPECT_EQ(folder.gets().size(), 2u) << "the listing's and Open's";
    EXPECT_TRUE(recorder.suggestedNames.isEmpty());
    EXPECT_EQ(recorder.importDialogs, 0);
    EXPECT_TRUE(recorder.questions.isEmpty()) << "no delete is asked about while one runs";
    EXPECT_EQ(recorder.messages.size(), 1u) << "Open's details only";
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QString::fromStdString(kCard));
}
