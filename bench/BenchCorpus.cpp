#include "BenchCorpus.h"

#include <unistd.h>

#include <filesystem>

#include "platform/TempFolder.h"
#include "support/ContainerBuilders.h"

namespace qel::bench {
namespace {

using test::Bytes;

// Real encoder output from the test fixtures, and files built in place for
// the formats without an encoder here.
Bytes Fixture(const char* name) { return test::ReadFileBytes(std::string(QEL_TEST_DATA) + "/" + name); }
Bytes Seed(const char* name) { return test::ReadFileBytes(std::string(QEL_FUZZ_CORPUS) + "/" + name); }

Bytes TwinVQFile() {
    Bytes out = test::TwinVQHeader({});
    for (const auto& chunk :
         {test::TwinVQChunk("NAME", "Benchmark title"), test::TwinVQChunk("AUTH", "Benchmark author"),
          test::TwinVQChunk("COMT", "A comment"), test::TwinVQChunk("DATA", std::string(20000, '\x55'))})
        out.insert(out.end(), chunk.begin(), chunk.end());
    return out;
}

}  // namespace

const std::vector<CorpusFormat> kFormats = {
    {".mp3", [] { return Fixture("vbr.mp3"); }},
    {".wav", [] { return Fixture("tone.wav"); }},
    {".ogg", [] { return Fixture("oggenc-sine.ogg"); }},
    {".flac", [] { return Fixture("flac-sine.flac"); }},
    {".ape", [] { return Fixture("tagged.ape"); }},
    {".aac", [] { return Fixture("adts.aac"); }},
    {".m4a", [] { return Fixture("container.m4a"); }},  // AAC in MP4, the movie last
    {".mp4", [] { return Fixture("alac.m4a"); }},       // ALAC in MP4, the movie first
    {".wma", [] { return Fixture("wmav2-ffmpeg.wma"); }},
    {".opus", [] { return Fixture("opusenc-sine.opus"); }},
    {".mpc", [] { return Seed("fuzz_mpegplus/v7-built"); }},
    {".mac", [] { return Seed("fuzz_monkey/v399-built"); }},
    {".vqf", [] { return TwinVQFile(); }},
    {".cda", [] { return test::CdaTrack(3, 0x2B, 150, 16155); }},
};

Corpus::Corpus(int filesPerFormat) {
    folder = TempFolder() + "qelbench" + std::to_string(::getpid()) + "/";
    std::filesystem::create_directories(folder);
    for (const auto& format : kFormats) {
        const Bytes bytes = format.make();
        auto& list = paths[format.extension];
        for (int i = 0; i < filesPerFormat; ++i) {
            list.push_back(folder + "file" + std::to_string(i) + format.extension);
            test::WriteFileBytes(list.back(), bytes);
        }
    }
}

Corpus::~Corpus() { std::filesystem::remove_all(folder); }

}  // namespace qel::bench
