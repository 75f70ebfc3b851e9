#pragma once
// The file dialogs of Save As and Import, made ready to show; Desktop shows them.

#include <QString>

#include <memory>

class QFileDialog;
class QWidget;

// Opens in the user's home folder with suggestedName filled in, and asks before it replaces a file.
std::unique_ptr<QFileDialog> makeSaveDialog(QWidget* parent, const QString& suggestedName);

// Opens in the user's home folder; several existing files may be chosen, vCard files shown first.
std::unique_ptr<QFileDialog> makeImportDialog(QWidget* parent);
