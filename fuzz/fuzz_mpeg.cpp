#include "FuzzInput.h"
#include "readers/MPEGaudio.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    qel::fuzz::RunAnalyser<qel::TMPEGaudio>(data, size, "in.mp3", qel::ReadSequence::ReadInfoFirst);
    return 0;
}
