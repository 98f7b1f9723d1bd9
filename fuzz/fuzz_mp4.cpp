#include "FuzzInput.h"
#include "readers/AACfile.h"

// MP4 files read as AAC: the seeds are MP4 files, so mutations mostly reach
// the box walk, the sample entries and the item list.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    qel::fuzz::RunAnalyser<qel::TAACfile>(data, size, "in.m4a");
    return 0;
}
