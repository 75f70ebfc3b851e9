#pragma once
// The main window's list as a user sees it: its lines, and a double-click on one of them.

#include <QAbstractItemView>
#include <QStringList>
#include <QTest>

inline QAbstractItemView* listOf(const QWidget& window) {
    return window.findChild<QAbstractItemView*>(QStringLiteral("List1"));
}

inline QStringList listLines(const QWidget& window) {
    const QAbstractItemModel* model = listOf(window)->model();
    QStringList all;
    for (int row = 0; row < model->rowCount(); ++row) {
        all << model->index(row, 0).data().toString();
    }
    return all;
}

// Clicks the row, then double-clicks it, as a hand would; false when there is no such row.
inline bool doubleClickListRow(const QWidget& window, int row) {
    QAbstractItemView* list = listOf(window);
    const QModelIndex index = list->model()->index(row, 0);
    if (!index.isValid()) {
        return false;
    }
    list->scrollTo(index);
    const QPoint centre = list->visualRect(index).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, centre);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, centre);
    return true;
}
