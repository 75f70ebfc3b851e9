#pragma once
// The details view of one contact: a modal box with the text, one OK button and no icon, like a
// message box, but the text scrolls inside it, so a contact with a large photo never pushes the
// box (and its OK button) beyond the screen. The text can be selected and copied; Enter, Escape
// and OK close the box.

#include <QDialog>

class QPlainTextEdit;

class DetailsBox final : public QDialog {
    Q_OBJECT
public:
    DetailsBox(const QString& text, const QString& title, QWidget* parent = nullptr);

private:
    QSize textSize(const QString& text) const;

    QPlainTextEdit* m_txtDetails = nullptr;
};
