#include "FuzzInput.h"
#include "readers/WAVfile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    qel::fuzz::RunAnalyser<qel::TWAVfile>(data, size, "in.wav", qel::ReadSequence::ReadInfoFirst);
    return 0;
}
