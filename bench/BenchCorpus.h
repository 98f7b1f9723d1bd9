#pragma once
// The benchmarks' corpus: files of every format the dispatch reads, written
// to a temporary folder of their own and removed with the corpus.
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "support/TestFiles.h"

namespace qel::bench {

// One line per format: its extension and where its files come from. Adding a
// format whose reader is in the dispatch table is one more line in the table.
struct CorpusFormat {
    const char* extension;
    std::function<test::Bytes()> make;
};
extern const std::vector<CorpusFormat> kFormats;

struct Corpus {
    explicit Corpus(int filesPerFormat);
    ~Corpus();
    Corpus(const Corpus&) = delete;
    Corpus& operator=(const Corpus&) = delete;

    std::string folder;
    std::map<std::string, std::vector<std::string>> paths;  // by extension
};

}  // namespace qel::bench
