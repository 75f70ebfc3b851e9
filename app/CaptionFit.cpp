#include "app/CaptionFit.h"

#include <QAbstractButton>
#include <QFontMetrics>
#include <QLabel>
#include <QWidget>

namespace {

// Room a push button's frame and bevel take from its caption, per side.
constexpr int kButtonPadding = 4;

bool labelFits(const QLabel* label, const QFontMetrics& metrics) {
    const QRect room = label->contentsRect();
    const int flags = label->wordWrap() ? Qt::TextWordWrap : Qt::TextSingleLine;
    const QRect needed =
        metrics.boundingRect(QRect(0, 0, room.width(), 100000), flags | Qt::TextShowMnemonic, label->text());
    return needed.width() <= room.width() && needed.height() <= room.height();
}

bool buttonFits(const QAbstractButton* button, const QFontMetrics& metrics) {
    const QSize needed = metrics.size(Qt::TextShowMnemonic, button->text());
    return needed.width() + 2 * kButtonPadding <= button->width() &&
           needed.height() + 2 * kButtonPadding <= button->height();
}

}  // namespace

bool captionFits(const QWidget* control, const QFont& font) {
    const QFontMetrics metrics(font);
    if (const auto* label = qobject_cast<const QLabel*>(control)) {
        return labelFits(label, metrics);
    }
    if (const auto* button = qobject_cast<const QAbstractButton*>(control)) {
        return buttonFits(button, metrics);
    }
    return true;
}

bool allCaptionsFit(const QWidget* window) {
    for (const QWidget* child : window->findChildren<QWidget*>()) {
        if (!captionFits(child, child->font())) {
            return false;
        }
    }
    return true;
}

void fitCaptionFont(QWidget* window) {
    QFont font = window->font();
    // From 9 points down to 6 in half points, counted whole so no rounding creeps into the steps.
    for (int halfPoints = 18; halfPoints >= 12; --halfPoints) {
        font.setPointSizeF(halfPoints / 2.0);
        window->setFont(font);
        if (allCaptionsFit(window)) {
            return;
        }
    }
}
