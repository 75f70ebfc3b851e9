#include "app/DeleteQuestion.h"

#include "app/AppTexts.h"

#include <QMessageBox>
#include <QPushButton>

QString deleteQuestionText(const QStringList& lines) {
    return lines.size() == 1 ? kDeleteOneQuestion.arg(lines.front()) : kDeleteManyQuestion.arg(lines.size());
}

std::unique_ptr<QMessageBox> makeDeleteQuestion(QWidget* parent, const QString& text) {
    auto box =
        std::make_unique<QMessageBox>(QMessageBox::Question, kApplicationTitle, text, QMessageBox::NoButton, parent);
    box->setTextFormat(Qt::PlainText);  // a contact's name is shown as written, never as markup
    QPushButton* remove = box->addButton(kDeleteButton, QMessageBox::DestructiveRole);
    remove->setObjectName(QStringLiteral("cmdDelete"));
    QPushButton* keep = box->addButton(kKeepButton, QMessageBox::RejectRole);
    keep->setObjectName(QStringLiteral("cmdKeep"));
    box->setDefaultButton(keep);
    box->setEscapeButton(keep);
    return box;
}

bool askDeleteQuestion(QWidget* parent, const QString& text) {
    const std::unique_ptr<QMessageBox> box = makeDeleteQuestion(parent, text);
    box->exec();
    return box->clickedButton() != nullptr && box->clickedButton()->objectName() == QStringLiteral("cmdDelete");
}
