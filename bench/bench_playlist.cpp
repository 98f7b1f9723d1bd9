// The playlist's bulk operations on 10,000 items: deleting 5,000 scattered
// selected items, and loading a 10,000-item playlist file.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <vector>

#include "platform/TempFolder.h"
#include "playlist/PlaylistFile.h"
#include "playlist/PlaylistKv.h"
#include "support/MemoryListBox.h"
#include "support/ScriptedDialogs.h"

namespace {

constexpr int kItems = 10000;

std::vector<std::string> ManyPaths() {
    std::vector<std::string> paths;
    for (int i = 0; i < kItems; ++i)
        paths.push_back("C:\\music\\album " + std::to_string(i / 12) + "\\track " + std::to_string(i) + ".mp3");
    return paths;
}

void DeleteHalfSelected(benchmark::State& state) {
    const std::vector<std::string> chosen = ManyPaths();
    for (auto _ : state) {
        state.PauseTiming();
        qel::MemoryListBox box;
        qel::ScriptedDialogs dialogs;
        qel::TPlaylistKv list(box, dialogs);
        dialogs.openAnswers.push_back(chosen);
        list.addfiles();
        list.multion();
        box.SetItemIndex(-1);
        for (int i = 0; i < kItems; i += 2) box.UserClick(i, true);
        state.ResumeTiming();
        list.delselected();
        benchmark::DoNotOptimize(list.paths().data());
        if (list.count() != kItems / 2) state.SkipWithError("wrong count");
    }
}
BENCHMARK(DeleteHalfSelected)->Unit(benchmark::kMillisecond);

void ReadTenThousandItemList(benchmark::State& state) {
    std::vector<std::string> lines;
    for (const auto& path : ManyPaths()) {
        lines.push_back(path.substr(path.rfind('\\') + 1));
        lines.push_back(path);
    }
    const std::string file = qel::TempFolder() + "bench_playlist.kvl";
    if (!qel::SavePlaylistFile(file, lines)) {
        state.SkipWithError("cannot write the list file");
        return;
    }
    qel::MemoryListBox box;
    qel::ScriptedDialogs dialogs;
    qel::TPlaylistKv list(box, dialogs);
    for (auto _ : state) {
        list.readlist(file);
        if (list.count() != kItems) state.SkipWithError("wrong count");
    }
    std::remove(file.c_str());
}
BENCHMARK(ReadTenThousandItemList)->Unit(benchmark::kMillisecond);

}  // namespace
