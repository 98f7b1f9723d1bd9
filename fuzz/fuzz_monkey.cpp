#include "FuzzInput.h"
#include "readers/Monkey.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    qel::fuzz::RunAnalyser<qel::TMonkey>(data, size, "in.mac");
    return 0;
}
