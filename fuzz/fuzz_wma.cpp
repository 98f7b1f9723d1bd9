#include "FuzzInput.h"
#include "readers/WMAfile.h"

// ASF files read as Windows Media Audio: its starting inputs are the header objects of
// real files, so mutations mostly reach the object walk and the descriptors.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    qel::fuzz::RunAnalyser<qel::TWMAfile>(data, size, "in.wma");
    return 0;
}
