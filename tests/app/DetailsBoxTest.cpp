// The details view as a person uses it: it fits the screen whatever the contact's size, the text
// scrolls, can be selected and copied, and Enter, Escape and OK close it.

#include "app/Desktop.h"
#include "app/DetailsBox.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

namespace {

// A contact with a photo of size bytes, folded at 75 characters as exporters write it.
QString contactWithPhoto(qsizetype bytes) {
    QString text = QStringLiteral("BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Big Card\r\nPHOTO;ENCODING=b;TYPE=JPEG:");
    const QString line = QStringLiteral("\r\n ") + QString(72, u'Q');
    text.reserve(bytes + 64);
    while (text.size() < bytes) {
        text += line;
    }
    return text + QStringLiteral("\r\nEND:VCARD\r\n");
}

QRect availableArea() {
    return QGuiApplication::primaryScreen()->availableGeometry();
}

}  // namespace

TEST(DetailsBoxTest, EnterEscapeAndOkCloseIt) {
    struct Row {
        const char* why;
        std::function<void(DetailsBox&)> act;
    };
    const Row rows[] = {
        {"Enter as it opens",
         [](DetailsBox& box) {
             QTest::keyClick(&box, Qt::Key_Return);
         }},
        {"Enter on the keypad",
         [](DetailsBox& box) {
             QTest::keyClick(&box, Qt::Key_Enter, Qt::KeypadModifier);
         }},
        {"Escape",
         [](DetailsBox& box) {
             QTest::keyClick(&box, Qt::Key_Escape);
         }},
        {"Enter after selecting text",
         [](DetailsBox& box) {
             auto* text = box.findChild<QPlainTextEdit*>("txtDetails");
             text->setFocus();
             QTest::keyClick(text, Qt::Key_A, Qt::ControlModifier);
             QTest::keyClick(text, Qt::Key_Return);
         }},
        {"the OK button",
         [](DetailsBox& box) {
             QTest::mouseClick(box.findChild<QPushButton*>("cmdOK"), Qt::LeftButton);
         }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        DetailsBox box(QStringLiteral("BEGIN:VCARD\r\nFN:Jane\r\nEND:VCARD\r\n"), kApplicationTitle);
        box.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
        QApplication::setActiveWindow(&box);
        row.act(box);
        EXPECT_FALSE(box.isVisible());
    }
}

TEST(DetailsBoxTest, ShowsTheTextAsWrittenSelectableAndCopyable) {
    const QString text = QStringLiteral("BEGIN:VCARD\r\nFN:J\u00fcrgen <b>M\u00fcller</b>\r\nEND:VCARD\r\n");
    DetailsBox box(text, kApplicationTitle);
    box.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
    auto* shown = box.findChild<QPlainTextEdit*>("txtDetails");
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(box.windowTitle(), "VQContactMGR");
    EXPECT_EQ(shown->toPlainText(), QString(text).replace("\r\n", "\n")) << "no markup, every line";
    EXPECT_TRUE(shown->isReadOnly());
    EXPECT_EQ(box.findChild<QDialogButtonBox*>()->buttons().size(), 1) << "OK only";
    for (const QLabel* label : box.findChildren<QLabel*>()) {
        EXPECT_TRUE(label->pixmap().isNull()) << "no icon";
    }

    QApplication::clipboard()->clear();
    shown->setFocus();
    QTest::keyClick(shown, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(shown, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), QString(text).replace("\r\n", "\n"));
    EXPECT_TRUE(box.isVisible()) << "selecting and copying keep it open";
}

TEST(DetailsBoxTest, NeverOutgrowsTheScreenAndScrollsWhatDoesNotFit) {
    struct Row {
        const char* why;
        QString text;
        bool scrolls;
    };
    const Row rows[] = {
        {"a short contact shows whole", QStringLiteral("BEGIN:VCARD\r\nFN:Jane\r\nEND:VCARD\r\n"), false},
        {"the empty text of an unreachable server", QString(), false},
        {"a photo of thousands of lines", contactWithPhoto(300'000), true},
        {"a 10 MiB contact", contactWithPhoto(10 << 20), true},
        {"one line wider than any screen", QString(200'000, u'x'), false},
    };
    const QRect available = availableArea();
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        DetailsBox box(row.text, kApplicationTitle);
        box.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
        EXPECT_LE(box.frameGeometry().width(), available.width());
        EXPECT_LE(box.frameGeometry().height(), available.height());
        auto* ok = box.findChild<QPushButton*>("cmdOK");
        EXPECT_TRUE(box.rect().contains(QRect(ok->mapTo(&box, QPoint(0, 0)), ok->size()))) << "OK in reach";
        const auto* shown = box.findChild<QPlainTextEdit*>("txtDetails");
        EXPECT_EQ(shown->verticalScrollBar()->maximum() > 0, row.scrolls);
        EXPECT_EQ(shown->document()->blockCount(), row.text.count(u'\n') + 1);
    }
}

TEST(DetailsBoxTest, TheDesktopShowsDetailsInItAndOtherMessagesNot) {
    struct Row {
        const char* why;
        MessageStyle style;
        bool detailsBox;
    };
    const Row rows[] = {
        {"details", MessageStyle::Details, true},
        {"a listing message stays a message box", MessageStyle::Plain, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        QString seenTitle;
        bool sawDetailsBox = false;
        QTimer closer;
        closer.setInterval(10);
        QObject::connect(&closer, &QTimer::timeout, [&] {
            QWidget* box = QApplication::activeModalWidget();
            if (!box) {
                return;
            }
            seenTitle = box->windowTitle();
            sawDetailsBox = qobject_cast<DetailsBox*>(box) != nullptr;
            QTest::keyClick(box, Qt::Key_Escape);
        });
        closer.start();
        desktop().showMessage(QStringLiteral("Error:404"), row.style, QString());
        EXPECT_EQ(seenTitle, "VQContactMGR");
        EXPECT_EQ(sawDetailsBox, row.detailsBox);
    }
}
