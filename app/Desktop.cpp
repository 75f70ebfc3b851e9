#include "app/Desktop.h"

#include "app/DeleteQuestion.h"
#include "app/DetailsBox.h"
#include "app/FileDialogs.h"
#include "net/TransferAbort.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

namespace {

class QtDesktop final : public Desktop {
public:
    void showMessage(const QString& text, MessageStyle style, const QString& title) override {
        if (m_ending) {
            return;
        }
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
        if (m_ending) {
            return {};
        }
        const std::unique_ptr<QFileDialog> dialog = makeSaveDialog(parent, suggestedName);
        return dialog->exec() == QDialog::Accepted ? dialog->selectedFiles().value(0) : QString();
    }

    QStringList chooseImportFiles(QWidget* parent) override {
        if (m_ending) {
            return {};
        }
        const std::unique_ptr<QFileDialog> dialog = makeImportDialog(parent);
        return dialog->exec() == QDialog::Accepted ? dialog->selectedFiles() : QStringList();
    }

    bool askToDelete(QWidget* parent, const QString& question) override { return askDeleteQuestion(parent, question); }
    bool confirm(QWidget* parent, const QString& question) override {
        return QMessageBox::question(parent, kApplicationTitle, question, QMessageBox::Yes | QMessageBox::No,
                                     QMessageBox::No) == QMessageBox::Yes;
    }

    void endProgram() override {
        // Every event loop ends, a modal box's included, and main returns through the
        // application's own teardown: only there does Qt hand what this program holds on the
        // clipboard to the desktop's clipboard manager. Transfers in flight are cut, so the worker
        // the window joins on its way out is done within about a second.
        m_ending = true;
        modWININET::abortTransfers();
        QCoreApplication::exit(0);
    }

private:
    // Once the program is ending no box or dialog comes up: each answers at once, as dismissed.
    bool m_ending = false;
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
