#include "app/Desktop.h"

#include "app/DetailsBox.h"
#include "app/FileDialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

#include <cstdio>
#include <cstdlib>

namespace {

class QtDesktop final : public Desktop {
public:
    void showMessage(const QString& text, MessageStyle style, const QString& title) override {
        const QString shownTitle = title.isEmpty() ? kApplicationTitle : title;
        if (style == MessageStyle::Details) {
            DetailsBox box(text, shownTitle, QApplication::activeWindow());
            box.exec();
            return;
        }
        const QMessageBox::Icon icon =
            style == MessageStyle::Information ? QMessageBox::Information : QMessageBox::NoIcon;
        QMessageBox box(icon, shownTitle, text, QMessageBox::Ok, QApplication::activeWindow());
        // A vCard or a server's error text is shown as written, never interpreted as markup.
        box.setTextFormat(Qt::PlainText);
        box.exec();
    }

    QString chooseSaveFile(QWidget* parent, const QString& suggestedName) override {
        const std::unique_ptr<QFileDialog> dialog = makeSaveDialog(parent, suggestedName);
        return dialog->exec() == QDialog::Accepted ? dialog->selectedFiles().value(0) : QString();
    }

    QStringList chooseImportFiles(QWidget* parent) override {
        const std::unique_ptr<QFileDialog> dialog = makeImportDialog(parent);
        return dialog->exec() == QDialog::Accepted ? dialog->selectedFiles() : QStringList();
    }

    bool confirm(QWidget* parent, const QString& question) override {
        return QMessageBox::question(parent, kApplicationTitle, question, QMessageBox::Yes | QMessageBox::No,
                                     QMessageBox::No) == QMessageBox::Yes;
    }

    void endProgram() override {
        // "At once": no event loop unwinding, no further handlers; what was printed is kept.
        std::fflush(nullptr);
        std::_Exit(0);
    }
};

QtDesktop realDesktop;
Desktop* current = &realDesktop;

}  // namespace

Desktop& desktop() {
    return *current;
}

Desktop* setDesktop(Desktop* replacement) {
    Desktop* previous = current;
    current = replacement ? replacement : &realDesktop;
    return previous;
}
