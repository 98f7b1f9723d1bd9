#include "FuzzInput.h"
#include "readers/MPEGplus.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    qel::fuzz::RunAnalyser<qel::TMPEGplus>(data, size, "in.mpc");
    return 0;
}
