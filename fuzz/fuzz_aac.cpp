#include "FuzzInput.h"
#include "readers/AACfile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    qel::fuzz::RunAnalyser<qel::TAACfile>(data, size, "in.aac");
    return 0;
}
