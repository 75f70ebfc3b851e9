#pragma once
// The controls both windows are made of, each named after its field so tests and screen readers
// find it.

#include <QString>

class QLabel;
class QPushButton;
class QWidget;

template <typename Widget>
Widget* makeControl(QWidget* parent, const char* name) {
    auto* widget = new Widget(parent);
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

// A push button that is never the default: Enter in a field must not press it.
QPushButton* makeButton(QWidget* parent, const char* name, const QString& caption);

// A label of plain text (a caption is never markup), set at the top left of its area.
QLabel* makeLabel(QWidget* parent, const char* name, const QString& caption);
