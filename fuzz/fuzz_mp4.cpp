#include "FuzzInput.h"
#include "readers/AACfile.h"

// The AAC analyser's MP4 path: the seeds are MP4 files, so mutations mostly
// reach the box walk, the sample entries and the item list.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    qel::fuzz::RunAnalyser<qel::TAACfile>(data, size, "in.m4a");
    return 0;
}
