#include "FuzzInput.h"
#include "readers/APEtag.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    qel::fuzz::RunAnalyser<qel::TAPEtag>(data, size, "in.ape");
    return 0;
}
