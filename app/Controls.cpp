#include "app/Controls.h"

#include <QLabel>
#include <QPushButton>

QPushButton* makeButton(QWidget* parent, const char* name, const QString& caption) {
    auto* button = makeControl<QPushButton>(parent, name);
    button->setText(caption);
    button->setAutoDefault(false);
    button->setDefault(false);
    return button;
}

QLabel* makeLabel(QWidget* parent, const char* name, const QString& caption) {
    auto* label = makeControl<QLabel>(parent, name);
    label->setText(caption);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}
