#include "FuzzInput.h"
#include "readers/FLACfile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    try {
        qel::fuzz::RunAnalyser<qel::TFLACfile>(data, size, "in.flac", qel::ReadSequence::OpenOnly);
    } catch (const qel::FlacBlockError&) {  // a block cut short: the file has no information
    }
    return 0;
}
