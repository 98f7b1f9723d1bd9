#include "FuzzInput.h"
#include "readers/OggVorbis.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    qel::fuzz::RunAnalyser<qel::TOggVorbis>(data, size, "in.ogg");
    return 0;
}
