#include "FuzzInput.h"
#include "readers/Monkey.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // As ".ape" files are read: the stream and its tags, the APE tag included.
    qel::fuzz::RunAnalyser<qel::TMonkeyApe>(data, size, "in.ape");
    return 0;
}
