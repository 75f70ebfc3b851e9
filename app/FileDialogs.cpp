#include "app/FileDialogs.h"

#include "app/AppTexts.h"

#include <QDir>
#include <QFileDialog>

std::unique_ptr<QFileDialog> makeSaveDialog(QWidget* parent, const QString& suggestedName) {
    auto dialog = std::make_unique<QFileDialog>(parent, kSaveTitle, QDir::homePath());
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setFileMode(QFileDialog::AnyFile);
    dialog->setNameFilters({kVcardFilter, kAllFilesFilter});
    dialog->setOption(QFileDialog::DontConfirmOverwrite, false);
    if (!suggestedName.isEmpty()) {
        dialog->selectFile(suggestedName);
    }
    return dialog;
}

std::unique_ptr<QFileDialog> makeImportDialog(QWidget* parent) {
    auto dialog = std::make_unique<QFileDialog>(parent, kImportTitle, QDir::homePath());
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    dialog->setFileMode(QFileDialog::ExistingFiles);
    dialog->setNameFilters({kVcardFilter, kAllFilesFilter});
    return dialog;
}
