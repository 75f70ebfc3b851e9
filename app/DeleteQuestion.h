#pragma once
// The one question before a delete. Its buttons are "Delete" and "Cancel"; Cancel is the default
// button and Escape's, so Return or Escape deletes nothing.

#include <QString>
#include <QStringList>

#include <memory>

class QMessageBox;
class QWidget;

// Names the contact (its line) when there is one, says how many when there are several.
QString deleteQuestionText(const QStringList& lines);

std::unique_ptr<QMessageBox> makeDeleteQuestion(QWidget* parent, const QString& text);

// Shows the box modally; true only when Delete was pressed.
bool askDeleteQuestion(QWidget* parent, const QString& text);
