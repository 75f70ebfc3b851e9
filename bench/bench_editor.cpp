// The contact editor over a card with a 10 MB photo, as a person waits for it: from the GET's end
// (its bytes in hand) until the editor is shown and painted; one keystroke in the name field;
// the vCard tab's first showing, which fills the whole text; and the edit of the name over the
// card's bytes that a Save sends. Runs on xcb under Xvfb with a window manager when it can, and
// says where it ran.

#include "app/ContactEditor.h"
#include "bench/BenchDisplay.h"
#include "contacts/VCardEdit.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTabWidget>
#include <QWindow>

#include <cstdio>
#include <memory>
#include <string>

namespace {

// A 3.0 card whose JPEG, base64 and folded at 75 octets, takes bytes bytes.
std::string cardWithPhoto(std::size_t bytes) {
    std::string card =
        "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Big Photo\r\nN:Photo;Big;;;\r\nEMAIL;TYPE=work:big@example.com\r\n"
        "PHOTO;ENCODING=b;TYPE=JPEG:";
    const std::string line = "\r\n " + std::string(74, 'Q');
    card.reserve(bytes + 128);
    while (card.size() < bytes) {
        card += line;
    }
    return card + "\r\nTEL;TYPE=cell:+1 555 0100\r\nEND:VCARD\r\n";
}

const std::string& bigCard() {
    static const std::string card = cardWithPhoto(10u * 1024u * 1024u);
    return card;
}

// Until the editor is mapped and what it posted for itself (layout, paint) has run.
void waitShown(ContactEditor& editor) {
    while (!editor.windowHandle() || !editor.windowHandle()->isExposed()) {
        QApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    QApplication::processEvents();
}

std::unique_ptr<ContactEditor> opened() {
    return std::make_unique<ContactEditor>(OpenedContact{"big.vcf", bigCard(), std::string("\"tag\"")});
}

void Open(benchmark::State& state) {
    for (auto _ : state) {
        auto editor = opened();
        editor->show();
        waitShown(*editor);
        state.PauseTiming();
        editor.reset();
        QApplication::processEvents();
        state.ResumeTiming();
    }
}

void Keystroke(benchmark::State& state) {
    auto editor = opened();
    editor->show();
    waitShown(*editor);
    auto* name = editor->findChild<QLineEdit*>(QStringLiteral("txtName"));
    name->setFocus();
    for (auto _ : state) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
        QApplication::sendEvent(name, &press);
        QApplication::processEvents();
    }
}

void VcardTab(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        auto editor = opened();
        editor->show();
        waitShown(*editor);
        auto* tabs = editor->findChild<QTabWidget*>(QStringLiteral("tabEditor"));
        state.ResumeTiming();
        tabs->setCurrentIndex(1);
        QApplication::processEvents();
        state.PauseTiming();
        editor.reset();
        state.ResumeTiming();
    }
}

void EditName(benchmark::State& state) {
    ContactFields fields = contactFields(bigCard());
    fields.name = u"Bigger Photo";
    for (auto _ : state) {
        benchmark::DoNotOptimize(editedCard(bigCard(), fields));
    }
}

}  // namespace

BENCHMARK(Open)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(Keystroke)->Unit(benchmark::kMillisecond)->Iterations(50);
BENCHMARK(VcardTab)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(EditName)->Unit(benchmark::kMillisecond)->Iterations(10);

int main(int argc, char** argv) {
    const BenchDisplay display(argc, argv);
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    std::printf("bench_editor: the editor runs on %s, a card of %zu bytes\n", display.description().c_str(),
                bigCard().size());
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
