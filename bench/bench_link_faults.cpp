// 300 contacts over links that fail as real ones do, in the real main window and through
// `vqcontacts export DIR`, each beside the same over a clean link: a link that resets one
// connection in 17 (goal: at most 2x clean) and one that resets every third (goal: at most 3x
// clean plus 2 s). Then, with the transport's own idle limit, a server that stops answering after
// 50 contacts: the time from its stop to the window's message and to the command's exit (goal:
// 150 s each). The faults are the demo server's (tools/httpmail-server, --fault). Runs on xcb
// under Xvfb with a window manager when it can, and says where it ran. VQ_BENCH_NO_STOP=1 leaves
// the stop figures (about four minutes) out.

#include "app/frmMain.h"
#include "bench/BenchDisplay.h"
#include "bench/ChildRun.h"
#include "bench/WindowRun.h"
#include "tests/app/DesktopRecorder.h"
#include "tests/support/HttpMailServer.h"

#include <benchmark/benchmark.h>

#include <QApplication>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

namespace {

constexpr int kContacts = 300;
constexpr int kAnsweredBeforeStop = 51;  // the PROPFIND and 50 contacts

std::unique_ptr<HttpMailServer> serverWith(const std::string& fault) {
    HttpMailServerOptions options;
    options.fault = fault;
    auto server = std::make_unique<HttpMailServer>(options);
    for (int i = 0; i < kContacts; ++i) {
        std::ofstream(server->folder() / ("c" + std::to_string(10000 + i) + ".vcf"), std::ios::binary)
            << "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Contact " << i << "\r\nEMAIL:c" << i
            << "@example.com\r\nEND:VCARD\r\n";
    }
    return server;
}

std::size_t filesIn(const std::filesystem::path& folder) {
    std::size_t count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder)) {
        ++count;
    }
    return count;
}

ChildRun exportInto(const HttpMailServer& server, const std::filesystem::path& folder) {
    std::filesystem::remove_all(folder);
    return runChild({VQ_CLI_PATH, "--port", std::to_string(server.port()), "export", folder.string()},
                    {"VQCONTACTS_USER=demo", "VQCONTACTS_PASSWORD=demo"});
}

void window(benchmark::State& state, const HttpMailServer* server, frmMain* main, DesktopRecorder* desktop) {
    useServer(server->port());
    for (auto _ : state) {
        const double ms = refreshUntilIdle(*main);
        state.SetIterationTime(ms / 1000);
        if (listedRows(*main) != kContacts || !desktop->messages.empty()) {
            state.SkipWithError("not every contact was listed");
        }
    }
}

void command(benchmark::State& state, const HttpMailServer* server) {
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "vq-bench-link-faults";
    for (auto _ : state) {
        const ChildRun run = exportInto(*server, folder);
        state.SetIterationTime(run.seconds);
        if (run.status != 0 || filesIn(folder) != std::size_t(kContacts)) {
            state.SkipWithError("the export did not write every contact");
        }
    }
    std::filesystem::remove_all(folder);
}

// From the listing's start, which is within a few milliseconds of the server's stop.
void printStopFigures(frmMain& main, DesktopRecorder& desktop, const HttpMailServer& forWindow,
                      const HttpMailServer& forCommand) {
    useServer(forWindow.port());
    desktop.messages.clear();
    const double windowMs = refreshUntilIdle(main);
    const bool told = desktop.messages.size() == 1 && desktop.messages[0].text.contains("stopped answering");
    std::printf("server stops after 50 of 300: window message after %.1f s (%s, %d lines kept)\n", windowMs / 1000,
                told ? "message shown" : "NO MESSAGE", listedRows(main));
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "vq-bench-link-stop";
    const ChildRun run = exportInto(forCommand, folder);
    std::printf("server stops after 50 of 300: vqcontacts export exits %d after %.1f s (%zu files kept)\n", run.status,
                run.seconds, filesIn(folder));
    std::filesystem::remove_all(folder);
}

}  // namespace

int main(int argc, char** argv) {
    const BenchDisplay display(argc, argv);
    // The servers fork: before Qt or the benchmark library start any thread.
    const auto clean = serverWith("");
    const auto oneIn17 = serverWith("reset-every=17");
    const auto everyThird = serverWith("reset-every=3");
    const std::string stop = "stall-after=" + std::to_string(kAnsweredBeforeStop);
    const auto stopForWindow = serverWith(stop);
    const auto stopForCommand = serverWith(stop);
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    std::printf("bench_link_faults: the window runs on %s\n", display.description().c_str());

    DesktopRecorder desktop;
    frmMain main;
    main.show();
    for (const auto& [name, server] : {std::pair{"clean", clean.get()}, std::pair{"reset 1 in 17", oneIn17.get()},
                                       std::pair{"reset every 3rd", everyThird.get()}}) {
        benchmark::RegisterBenchmark((std::string("Window/") + name).c_str(), window, server, &main, &desktop)
            ->UseManualTime()
            ->Unit(benchmark::kMillisecond)
            ->Iterations(5);
        benchmark::RegisterBenchmark((std::string("Export/") + name).c_str(), command, server)
            ->UseManualTime()
            ->Unit(benchmark::kMillisecond)
            ->Iterations(5);
    }
    benchmark::RunSpecifiedBenchmarks();
    if (std::getenv("VQ_BENCH_NO_STOP") == nullptr) {
        printStopFigures(main, desktop, *stopForWindow, *stopForCommand);
    }
    benchmark::Shutdown();
    return 0;
}
