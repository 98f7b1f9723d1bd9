#include "FuzzInput.h"
#include "readers/OggOpus.h"

// Ogg Opus files: its starting inputs are real files, so mutations mostly reach the
// identification header, the comment packet over its pages and the search
// for the last page.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    qel::fuzz::RunAnalyser<qel::TOggOpus>(data, size, "in.opus");
    return 0;
}
