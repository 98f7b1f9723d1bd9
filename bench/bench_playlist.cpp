// The playlist's bulk operations on 10,000 items: deleting 5,000 scattered
// selected items, loading a 10,000-item playlist file, and titling a
// 10,000-item list again from the titles already read, with the opens of
// audio files counted (0: no file is read again).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <vector>

#include <filesystem>
#include <memory>

#include "host/plugForm.h"
#include "platform/TempFolder.h"
#include "playlist/PlaylistFile.h"
#include "playlist/PlaylistKv.h"
#include "support/CountingFiles.h"
#include "support/FakeMessageBoxes.h"
#include "support/FakeModules.h"
#include "support/FakePluginWindow.h"
#include "support/MemoryIniFiles.h"
#include "support/MemoryListBox.h"
#include "support/ScriptedDialogs.h"
#include "support/TestFiles.h"

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

// The window over 10,000 tagged MP3 files on disk (copies of one fixture),
// their titles all read once.
struct TitledList {
    TitledList() {
        std::filesystem::create_directories(folder);
        const auto mp3 = qel::test::ReadFileBytes(std::string(QEL_TEST_DATA) + "/cbr.mp3");
        std::vector<std::string> lines;
        for (int i = 0; i < kItems; ++i) {
            lines.push_back("track " + std::to_string(i) + ".mp3");
            lines.push_back(folder + lines.back());
            qel::test::WriteFileBytes(lines.back(), mp3);
        }
        qel::SavePlaylistFile(folder + "list.kvl", lines);
        form = std::make_unique<qel::Tformplug>(qel::FormPorts{
            window, box, dialogs, qel::PlayerPorts{modules, ini, boxes, files, times, folder}, qel::SystemFiles(),
            folder});
        form->pl.vieverror = false;
        form->list.readlist(folder + "list.kvl");
        ShowTitles();
    }
    ~TitledList() {
        form.reset();
        std::filesystem::remove_all(folder);
    }
    // Waits for the reader and shows what it read, as the window's notices would.
    void ShowTitles() {
        do form->titleReader().WaitUntilIdle();
        while (form->TitlesArrived() > 0);
    }

    std::string folder = qel::TempFolder() + "qelbench-titles/";
    qel::FakePluginWindow window;
    qel::MemoryListBox box;
    qel::ScriptedDialogs dialogs;
    qel::test::FakeModules fake;
    qel::ModuleSlots modules{fake.libraries};
    qel::MemoryIniFiles ini;
    qel::FakeMessageBoxes boxes;
    qel::test::CountingFiles files;
    qel::PlayTimes times;
    std::unique_ptr<qel::Tformplug> form;
};

// Moving item 0 to the end numbers every item again: `window` times the
// window's own part (what it shows at once), `checked` waits as well for the
// reader to compare every file's stamp with its entry.
void RetitleFromCache(benchmark::State& state, bool checked) {
    static TitledList list;
    list.ShowTitles();
    const int opens = list.files.opens;
    for (auto _ : state) {
        list.box.UserDrag(0, kItems - 1);
        if (checked) list.ShowTitles();
    }
    list.ShowTitles();
    state.counters["opens"] = list.files.opens - opens;
    if (list.box.Item(kItems - 1) != std::to_string(kItems) + "  CBR Title-CBR Artist   ")
        state.SkipWithError("the last item is not titled");
}
BENCHMARK_CAPTURE(RetitleFromCache, window, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(RetitleFromCache, checked, true)->Unit(benchmark::kMillisecond);

}  // namespace
