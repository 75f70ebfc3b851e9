// The find at scale: the real main window holding 100,000 lines, one keystroke of the find
// field each, timed until the list has been narrowed (or widened) and repainted. Each row types
// one more letter of "müller" after the ones before it; "Widen" takes the last one back. Runs on
// xcb under Xvfb with a window manager when it can, and says where it ran.

#include "app/frmMain.h"
#include "bench/BenchDisplay.h"
#include "tests/app/DesktopRecorder.h"

#include <benchmark/benchmark.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QLineEdit>

#include <array>
#include <cstdio>
#include <string>

namespace {

constexpr int kLines = 100000;
const QString kTyped = QString::fromUtf8("m\xC3\xBCller");

// Names as an address book holds them: a few hundred first and last names, some with accents,
// so that each letter typed narrows the list a little more.
std::u16string lineOf(int i) {
    static const std::array<const char*, 12> firsts = {"Anna",  "Ren\xC3\xA9", "J\xC3\xBCrgen", "Chlo\xC3\xAB",
                                                       "Hans",  "Maria",       "\xC5\x81ukasz", "Sofia",
                                                       "Pedro", "Ingrid",      "Noah",          "Emma"};
    static const std::array<const char*, 12> lasts = {"M\xC3\xBCller",
                                                      "Schmidt",
                                                      "Weber",
                                                      "Dupr\xC3\xA9",
                                                      "Nowak",
                                                      "Garc\xC3\xAD"
                                                      "a",
                                                      "Rossi",
                                                      "Hansen",
                                                      "Mueller",
                                                      "Moller",
                                                      "Milner",
                                                      "Smith"};
    const QString line = QStringLiteral("%1 %2 %3 [%4-%5.vcf]")
                             .arg(QString::fromUtf8(firsts[static_cast<std::size_t>(i) % firsts.size()]),
                                  QString::fromUtf8(lasts[static_cast<std::size_t>(i / 12) % lasts.size()]))
                             .arg(i)
                             .arg(QString::number(i * 7919, 16))
                             .arg(i % 97);
    return line.toStdU16String();
}

void type(QLineEdit* field, const QString& text) {
    field->setText(text);
    QApplication::processEvents();  // the view lays out and paints what the filter left
}

void keystroke(benchmark::State& state, QLineEdit* field, const QAbstractItemView* list) {
    const auto letters = static_cast<qsizetype>(state.range(0));
    const bool widen = state.range(1) != 0;
    const QString before = kTyped.left(widen ? letters : letters - 1);
    const QString after = kTyped.left(widen ? letters - 1 : letters);
    for (auto _ : state) {
        state.PauseTiming();
        type(field, before);
        state.ResumeTiming();
        type(field, after);
    }
    state.counters["shown"] = list->model()->rowCount();
}

}  // namespace

int main(int argc, char** argv) {
    const BenchDisplay display(argc, argv);
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    std::printf("bench_find: the window runs on %s, %d lines\n", display.description().c_str(), kLines);

    DesktopRecorder desktop;
    frmMain window;
    window.show();
    for (int i = 0; i < kLines; ++i) {
        window.appendContact(lineOf(i), {});  // the find reads the lines only
    }
    QApplication::processEvents();
    const auto* list = window.findChild<QAbstractItemView*>(QStringLiteral("List1"));
    if (list->model()->rowCount() != kLines) {
        std::printf("the window did not take all %d lines\n", kLines);
        return 1;
    }
    window.openFind();
    auto* field = window.findChild<QLineEdit*>(QStringLiteral("txtFind"));
    for (int letters = 1; letters <= kTyped.size(); ++letters) {
        benchmark::RegisterBenchmark("Narrow/100000", keystroke, field, list)
            ->Args({letters, 0})
            ->ArgNames({"letters", "widen"})
            ->Unit(benchmark::kMillisecond);
    }
    benchmark::RegisterBenchmark("Widen/100000", keystroke, field, list)
        ->Args({1, 1})
        ->ArgNames({"letters", "widen"})
        ->Unit(benchmark::kMillisecond);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
