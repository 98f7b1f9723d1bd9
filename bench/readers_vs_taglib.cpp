// How fast the file information dispatch describes files, against TagLib
// reading the same files (FileRef, default read style), warm cache.
//
// A corpus of kFilesPerFormat files per format is written to a temporary
// folder at start. Each benchmark reads every file of one format once per
// iteration; the summary prints files per second of ReadFileInfo, FileTitle
// and TagLib, the ratio ReadFileInfo / TagLib, the opens and bytes read per
// request of ours (counted through a wrapper around the system's files), the
// floor (open, first and last 16 KiB, close) and qelinfo's whole per-file work
// (one open, ReadFileInfo, FileTitle, JSON text) against both.
#include "BenchCorpus.h"

#include <benchmark/benchmark.h>
#include <taglib/audioproperties.h>
#include <taglib/fileref.h>
#include <taglib/tag.h>
#include <taglib/tdebuglistener.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/BinaryFile.h"
#include "platform/RequestFiles.h"
#include "player/FileInfoDispatch.h"
#include "support/CountingFiles.h"
#include "support/MemoryFiles.h"
#include "support/TestFiles.h"
#include "tools/InfoReport.h"

namespace {

using qel::bench::Corpus;
using qel::bench::kFormats;

constexpr int kFilesPerFormat = 300;

class QuietTagLib final : public TagLib::DebugListener {
public:
    void printMessage(const TagLib::String&) override {}
};

struct Measured {
    double readFileInfo = 0, fileTitle = 0, tagLib = 0;  // files per second
    double perFile = 0;  // qelinfo's whole work for a file
    double inMemory = 0;  // ReadFileInfo with the files served from memory: no system calls
    double openReadClose = 0;  // the system calls alone
    double opensPerInfo = 0, opensPerTitle = 0, opensPerFile = 0, bytesPerInfo = 0, bytesPerTitle = 0;
    int recognised = 0;
};
std::map<std::string, Measured> results;

// Every file of one format read once per iteration by `read`.
template <class Read>
void EveryFile(benchmark::State& state, const std::vector<std::string>& files, Read read) {
    for (auto _ : state)
        for (const auto& path : files) read(path);
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(files.size()));
}

void ReadFileInfoAll(benchmark::State& state, const std::vector<std::string>* files) {
    qel::FileInfoDispatch dispatch;
    EveryFile(state, *files, [&](const std::string& path) { benchmark::DoNotOptimize(dispatch.ReadFileInfo(path)); });
}

void FileTitleAll(benchmark::State& state, const std::vector<std::string>* files) {
    qel::FileInfoDispatch dispatch;
    EveryFile(state, *files, [&](const std::string& path) { benchmark::DoNotOptimize(dispatch.FileTitle(path)); });
}

// The same requests on the same bytes held in memory: what the readers cost
// without the operating system's open, read and close.
void InMemoryAll(benchmark::State& state, const std::vector<std::string>* files) {
    qel::MemoryFiles memory;
    for (const auto& path : *files) memory.Add(path, qel::test::ReadFileBytes(path));
    qel::FileInfoDispatch dispatch(memory);
    EveryFile(state, *files, [&](const std::string& path) { benchmark::DoNotOptimize(dispatch.ReadFileInfo(path)); });
}

// qelinfo's whole work for one file: one open, ReadFileInfo, FileTitle and
// the file's JSON text.
void PerFileAll(benchmark::State& state, const std::vector<std::string>* files) {
    qel::ReportReader reader(qel::SystemFiles());
    std::vector<qel::FileReport> one(1);
    EveryFile(state, *files, [&](const std::string& path) {
        one[0] = reader.Read(path, path);
        benchmark::DoNotOptimize(qel::JsonReport(one));
    });
}

// The floor: one open of the file through the same opener, its first and its
// last 16 KiB read (one read when they are the same bytes), the file closed.
// No reader that looks at both ends of a file can be faster.
void OpenReadCloseAll(benchmark::State& state, const std::vector<std::string>* files) {
    constexpr int64_t kEnd = qel::RequestFiles::kBlockSize;
    std::vector<unsigned char> block(kEnd);
    EveryFile(state, *files, [&](const std::string& path) {
        auto file = qel::SystemFiles().OpenRead(path, qel::ShareMode::AllowWriters);
        const int64_t size = file->Size();
        benchmark::DoNotOptimize(file->Read(block.data(), static_cast<size_t>(std::min(size, kEnd))));
        if (size > kEnd && file->Seek(std::max(kEnd, size - kEnd)))
            benchmark::DoNotOptimize(file->Read(block.data(), static_cast<size_t>(kEnd)));
    });
}

void TagLibAll(benchmark::State& state, const std::vector<std::string>* files) {
    EveryFile(state, *files, [](const std::string& path) {
        TagLib::FileRef ref(path.c_str());
        if (ref.isNull()) return;
        if (TagLib::Tag* tag = ref.tag()) {
            benchmark::DoNotOptimize(tag->title());
            benchmark::DoNotOptimize(tag->artist());
        }
        if (TagLib::AudioProperties* properties = ref.audioProperties())
            benchmark::DoNotOptimize(properties->lengthInMilliseconds());
    });
}

// Opens and bytes of one pass of each request kind, outside the timed runs.
void CountRequests(const std::string& extension, const std::vector<std::string>& files) {
    Measured& m = results[extension];
    qel::test::CountingFiles counting;
    qel::FileInfoDispatch dispatch(counting);
    for (const auto& path : files) m.recognised += dispatch.ReadFileInfo(path) ? 1 : 0;
    m.opensPerInfo = static_cast<double>(counting.opens) / files.size();
    m.bytesPerInfo = static_cast<double>(counting.bytes) / files.size();
    counting.opens = counting.bytes = 0;
    for (const auto& path : files) benchmark::DoNotOptimize(dispatch.FileTitle(path));
    m.opensPerTitle = static_cast<double>(counting.opens) / files.size();
    m.bytesPerTitle = static_cast<double>(counting.bytes) / files.size();
    counting.opens = 0;
    qel::ReportReader reader(counting);
    for (const auto& path : files) benchmark::DoNotOptimize(reader.Read(path, path));
    m.opensPerFile = static_cast<double>(counting.opens) / files.size();
}

// Keeps the console output and takes the files per second of each run.
class Collector final : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const auto& run : runs) {
            const std::string name = run.benchmark_name();
            const auto slash = name.find('/');
            if (slash == std::string::npos || run.run_type != Run::RT_Iteration) continue;
            const auto rate = run.counters.find("items_per_second");
            if (rate == run.counters.end()) continue;
            Measured& m = results[name.substr(slash + 1)];
            const std::string kind = name.substr(0, slash);
            double* slot = kind == "ReadFileInfo" ? &m.readFileInfo
                           : kind == "FileTitle"  ? &m.fileTitle
                           : kind == "InMemory"   ? &m.inMemory
                           : kind == "OpenReadClose" ? &m.openReadClose
                           : kind == "PerFile"    ? &m.perFile
                                                  : &m.tagLib;
            *slot = rate->second;
        }
    }
};

void PrintSummary() {
    std::printf("\n%-6s %14s %14s %14s %8s %12s %12s %10s %12s %12s %12s %10s\n", "format", "ReadFileInfo/s", "FileTitle/s",
                "TagLib/s", "ratio", "opens/req", "bytes/req", "recognised", "in memory/s", "floor/s", "per file/s",
                "opens/file");
    double ours = 0, theirs = 0, floor = 0, perFile = 0;
    int measured = 0;
    for (const auto& format : kFormats) {
        const Measured& m = results[format.extension];
        const double ratio = m.tagLib > 0 ? m.readFileInfo / m.tagLib : 0;
        std::printf("%-6s %14.0f %14.0f %14.0f %7.1fx %5.2f / %-4.2f %12.0f %6d/%d %12.0f %12.0f %12.0f %10.2f\n",
                    format.extension, m.readFileInfo, m.fileTitle, m.tagLib, ratio, m.opensPerInfo, m.opensPerTitle,
                    m.bytesPerInfo, m.recognised, kFilesPerFormat, m.inMemory, m.openReadClose, m.perFile,
                    m.opensPerFile);
        if (m.readFileInfo > 0 && m.tagLib > 0 && m.openReadClose > 0 && m.perFile > 0) {
            ours += 1 / m.readFileInfo;
            theirs += 1 / m.tagLib;
            floor += 1 / m.openReadClose;
            perFile += 1 / m.perFile;
            ++measured;
        }
    }
    if (measured == 0) return;
    // Whole corpus: the time for one file of every format measured, summed.
    std::printf("all    %14.0f %14s %14.0f %7.1fx   (opens/req: ReadFileInfo / FileTitle)\n", measured / ours, "",
                measured / theirs, theirs / ours);
    std::printf("qelinfo per file (ReadFileInfo + FileTitle + JSON): %.0f files/s = %.2f of the floor, %.1fx TagLib\n",
                measured / perFile, floor / perFile, theirs / perFile);
    // What the system calls alone allow: the ratio of a reader that costs nothing.
    std::printf("floor (open, first and last 16 KiB, close): %.0f files/s = %.1fx TagLib\n", measured / floor,
                theirs / floor);
}

}  // namespace

int main(int argc, char** argv) {
    QuietTagLib quiet;
    TagLib::setDebugListener(&quiet);
    benchmark::Initialize(&argc, argv);
    const Corpus corpus(kFilesPerFormat);
    for (const auto& format : kFormats) {
        const auto* files = &corpus.paths.at(format.extension);
        CountRequests(format.extension, *files);
        benchmark::RegisterBenchmark((std::string("ReadFileInfo/") + format.extension).c_str(), ReadFileInfoAll, files);
        benchmark::RegisterBenchmark((std::string("FileTitle/") + format.extension).c_str(), FileTitleAll, files);
        benchmark::RegisterBenchmark((std::string("TagLib/") + format.extension).c_str(), TagLibAll, files);
        benchmark::RegisterBenchmark((std::string("InMemory/") + format.extension).c_str(), InMemoryAll, files);
        benchmark::RegisterBenchmark((std::string("OpenReadClose/") + format.extension).c_str(), OpenReadCloseAll,
                                     files);
        benchmark::RegisterBenchmark((std::string("PerFile/") + format.extension).c_str(), PerFileAll, files);
    }
    Collector reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    PrintSummary();
    benchmark::Shutdown();
    TagLib::setDebugListener(nullptr);
    return 0;
}
