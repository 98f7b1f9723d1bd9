#include "FuzzInput.h"
#include "readers/TwinVQ.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    qel::fuzz::RunAnalyser<qel::TTwinVQ>(data, size, "in.vqf");
    return 0;
}
