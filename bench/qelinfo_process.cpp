// qelinfo as a whole process against the floor program, in one run over the
// same files: the corpus of the readers' benchmark, kFilesPerFormat files of
// every format (about 4,400). The floor program (this executable with
// --floor) opens each file, asks its size, reads its first and last 16 KiB
// and closes it: no reader that looks at both ends of a file can be faster.
// qelinfo reads and prints every file, as JSON and as text. Each runs
// kRounds times in turn, warm cache, output to /dev/null; the fastest run of
// each counts. Printed: wall and CPU time (user + system) of each, per file,
// and qelinfo's share of the floor (the floor's time / qelinfo's) by both.
//   bench_qelinfo [QELINFO]   another qelinfo (an older build) in place of this build's
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "BenchCorpus.h"

extern char** environ;

namespace {

constexpr int kFilesPerFormat = 340;
constexpr int kRounds = 7;
constexpr off_t kEnd = 16384;

// The floor: open, size, first and last 16 KiB (one read when they are the
// same bytes), close.
int Floor(int count, char** files) {
    static std::array<char, kEnd> block;
    for (int i = 0; i < count; ++i) {
        const int fd = ::open(files[i], O_RDONLY | O_CLOEXEC);
        if (fd < 0) continue;
        struct stat st {};
        if (::fstat(fd, &st) == 0) {
            if (::pread(fd, block.data(), block.size(), 0) < 0) std::perror(files[i]);
            if (st.st_size > kEnd && ::pread(fd, block.data(), block.size(), std::max(kEnd, st.st_size - kEnd)) < 0)
                std::perror(files[i]);
        }
        ::close(fd);
    }
    return 0;
}

struct Timing {
    double wall = 1e30, cpu = 1e30;  // seconds, the fastest run
};

// Runs the program with its output to /dev/null; keeps the fastest times.
bool RunOnce(const std::vector<std::string>& command, Timing& best) {
    std::vector<char*> argv;
    for (const auto& word : command) argv.push_back(const_cast<char*>(word.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    const int failed = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (failed) return false;
    int status = 0;
    struct rusage usage {};
    if (::wait4(pid, &status, 0, &usage) != pid) return false;
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
    best.wall = std::min(best.wall, wall);
    best.cpu = std::min(best.cpu, seconds(usage.ru_utime) + seconds(usage.ru_stime));
    return WIFEXITED(status);
}

void Print(const char* name, const Timing& t, size_t files, const Timing& floor) {
    std::printf("%-16s wall %7.1f ms (%5.2f us/file)  cpu %7.1f ms (%5.2f us/file)", name, t.wall * 1e3,
                t.wall * 1e6 / files, t.cpu * 1e3, t.cpu * 1e6 / files);
    if (&t != &floor) std::printf("  = %.2f of the floor by wall time, %.2f by cpu time", floor.wall / t.wall, floor.cpu / t.cpu);
    std::printf("\n");
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], "--floor") == 0) return Floor(argc - 2, argv + 2);
    const std::string qelinfo = argc > 1 ? argv[1] : QEL_QELINFO;
    const qel::bench::Corpus corpus(kFilesPerFormat);
    std::vector<std::string> files;
    for (const auto& [extension, paths] : corpus.paths) files.insert(files.end(), paths.begin(), paths.end());

    auto command = [&](std::vector<std::string> words) {
        words.insert(words.end(), files.begin(), files.end());
        return words;
    };
    const std::vector<std::string> floorCommand =
        command({std::filesystem::read_symlink("/proc/self/exe").string(), "--floor"});
    const std::vector<std::string> json = command({qelinfo, "--json"});
    const std::vector<std::string> text = command({qelinfo});
    Timing floor, jsonTime, textTime;
    for (int round = 0; round < kRounds; ++round) {
        if (!RunOnce(floorCommand, floor) || !RunOnce(json, jsonTime) || !RunOnce(text, textTime)) {
            std::fprintf(stderr, "cannot run %s\n", qelinfo.c_str());
            return 1;
        }
    }
    std::printf("%s over %zu files, fastest of %d runs each, warm cache\n", qelinfo.c_str(), files.size(), kRounds);
    Print("floor", floor, files.size(), floor);
    Print("qelinfo --json", jsonTime, files.size(), floor);
    Print("qelinfo (text)", textTime, files.size(), floor);
    return 0;
}
